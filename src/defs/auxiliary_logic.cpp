#include "defs/auxiliary_logic.h"

#include "core/console_output.h"
#include "defs/command_file.h"
#include "defs/command_store.h"
#include "defs/insert_and_call_expansion.h"
#include "text/line_keyword.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {

namespace {

// "[INSERT(" + 64 name characters + ")]".
constexpr size_t kLongestInsertMarker = 74;
constexpr const char* kInsertLiteral = "[INSERT(";

const Regex& insertMarkerNamed() {
  static const Regex marker(patterns::insertMarkerNamed);
  return marker;
}

void reportDuplicate(const std::string& name) {
  printMessage("+ The auxiliary logic with the name \"" + name +
               "\" is a duplicate. Please remove duplicate command.");
}

void reportInsertInFragment(const std::string& name) {
  printMessage("+ The auxiliary logic with the name \"" + name +
               " \" is not allowed to use the INSERT command.");
}

void reportInvalidReference(const std::string& ref, const std::string& cmd) {
  printMessage("+ Referenced auxiliary logic \"" + ref + "\" inside the INSERT statement of \"" +
                   cmd + "\" is not valid.",
               "  Please rectify offending reference and try again.");
}

void reportEndlessInsert(const std::string& ref, const std::string& cmd) {
  printMessage("+ The auxiliary logic \"" + ref + "\" inside the INSERT statement of \"" + cmd +
                   "\" re-creates an INSERT statement of itself.",
               "  Its INSERT statements are left in place. Please rectify offending auxiliary "
               "logic and try again.");
}

void reportOversizedInserts(const std::string& cmd) {
  printMessage("+ The INSERT statements of \"" + cmd + "\" grow beyond the size limit.",
               "  Its INSERT statements are left in place. Please rectify offending command and "
               "try again.");
}

}  // namespace

namespace {

// Fragments may not use INSERT: each marker in a stored fragment is reported
// and the fragment keeps only the text behind its last marker.
void checkFragmentInserts() {
  static const Regex marker(patterns::insertMarker);
  for (auto& [name, fragment] : auxiliaryLogicTable) {
    // Nearly every fragment is clean; a plain substring test spares them
    // the pattern.
    if (fragment.find(kInsertLiteral) == std::string::npos) continue;
    // Markers do not overlap, so walking them in place and cutting once
    // behind the last gives what cutting after each one would.
    size_t cut = 0;
    RegexMatch match;
    while (marker.search(fragment, match, cut) == SearchStatus::found) {
      reportInsertInFragment(name);
      cut = match.end();
    }
    fragment.erase(0, cut);
  }
}

}  // namespace

void parseAuxiliaryLogic(const std::string& fileName, const std::string& text) {
  static const Regex line(patterns::auxiliaryLogicLine, RegexAnchor::atStart);
  checkFileText(fileName, text);
  RegexMatch match;
  for (size_t position = 0; position <= text.size(); position = match.end()) {
    SearchStatus status = searchLineKeyword(line, "L.", text, match, position);
    if (status == SearchStatus::error) {
      reportSearchGaveUp(fileName, "auxiliary logic lines");
      continue;
    }
    if (status != SearchStatus::found) break;
    std::string name = match.group(text, 1);
    if (!addAuxiliaryLogic(name, match.group(text, 2))) reportDuplicate(name);
  }
  checkFragmentInserts();
}

namespace {

// True when every INSERT marker of `text` names a stored fragment; `count`
// grows by the number of markers checked. Reports the first bad reference.
bool validateInserts(const std::string& cmd, const std::string& text, std::uint32_t& count) {
  static RegexMatch match;  // kept: a load checks every command's logic
  // Every marker begins with the literal; the pattern starts where it stands.
  for (size_t position = text.find(kInsertLiteral);
       position != std::string::npos &&
       insertMarkerNamed().search(text, match, position) == SearchStatus::found;
       position = text.find(kInsertLiteral, match.end())) {
    std::string ref = match.group(text, 1);
    if (findAuxiliaryLogic(ref) == nullptr) {
      reportInvalidReference(ref, cmd);
      return false;
    }
    ++count;
  }
  return true;
}

}  // namespace

void expandInserts(const std::string& cmd, std::string& logic) {
  std::uint32_t count = 0;
  if (!validateInserts(cmd, logic, count) || count == 0) return;
  static const MarkerKind kind{insertMarkerNamed(), kInsertLiteral, kLongestInsertMarker,
                               findAuxiliaryLogic};
  ExpansionOutcome outcome = expandMarkers(logic, kind, "");
  switch (outcome.stop) {
    case ExpansionStop::none:
      break;
    case ExpansionStop::unknownName:  // a marker that pasting put together
      reportInvalidReference(outcome.name, cmd);
      break;
    case ExpansionStop::cycle:
      reportEndlessInsert(outcome.name, cmd);
      break;
    case ExpansionStop::sizeLimit:
      reportOversizedInserts(cmd);
      break;
  }
}

}  // namespace zav
