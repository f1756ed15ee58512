#include "defs/calls.h"

#include "core/console_output.h"
#include "defs/command_store.h"
#include "defs/insert_and_call_expansion.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {

namespace {

// "[CALL(" + 64 name characters + ")]".
constexpr size_t kLongestCallMarker = 72;
constexpr const char* kCallLiteral = "[CALL(";

const Regex& callMarkerNamed() {
  static const Regex marker(patterns::callMarkerNamed);
  return marker;
}

const std::string* calledLogic(const std::string& name) {
  CommandLocation location;
  return findCommand(name, location) ? &recordAt(location).logic : nullptr;
}

void reportInvalidCall(const std::string& ref, const std::string& cmd) {
  printMessage("+ Referenced ZAV/WIN CMD \"" + ref + "\" inside the function CALL of \"" + cmd +
                   "\" is not valid.",
               "  Please rectify offending command and try again.");
}

void reportSelfCall(const std::string& ref, const std::string& cmd) {
  printMessage("+ Referenced ZAV/WIN CMD \"" + ref + "\" inside the function CALL of \"" + cmd +
                   "\" is calling itself.",
               "  Self-referencing is not allowed. Please rectify offending command and try "
               "again.");
}

void reportCallCycle(const std::string& ref, const std::string& cmd) {
  printMessage("+ Referenced ZAV/WIN CMD \"" + ref + "\" inside the function CALL of \"" + cmd +
                   "\" leads into a call cycle.",
               "  Cyclic calls are not allowed. Please rectify offending command and try again.");
}

void reportOversizedCalls(const std::string& cmd) {
  printMessage("+ The function CALLs of \"" + cmd + "\" grow beyond the size limit.",
               "  Its CALL statements are left in place. Please rectify offending command and "
               "try again.");
}

// True when every CALL marker in the list's logic names another command;
// `counter` grows by the number of markers checked. Reports the first
// problem.
bool validateCalls(const std::string& listId, std::uint32_t& counter) {
  for (const CommandRecord& record : commandList(listId)) {
    RegexMatch match;
    // Every marker begins with the literal; the pattern starts where it
    // stands, and most logic holds none.
    const std::string& logic = record.logic;
    for (size_t position = logic.find(kCallLiteral);
         position != std::string::npos &&
         callMarkerNamed().search(logic, match, position) == SearchStatus::found;
         position = logic.find(kCallLiteral, match.end())) {
      std::string ref = match.group(record.logic, 1);
      CommandLocation location;
      if (!findCommand(ref, location)) {
        reportInvalidCall(ref, record.name);
        return false;
      }
      if (ref == record.name) {
        reportSelfCall(ref, record.name);
        return false;
      }
      ++counter;
    }
  }
  return true;
}

// Replaces the CALL markers of the list's records, nested calls included.
// A call that comes back to a command being pasted (the record itself or a
// command inside its calls) is reported and ends the expansion of the list.
void expandCalls(const std::string& listId) {
  static const MarkerKind kind{callMarkerNamed(), kCallLiteral, kLongestCallMarker, calledLogic};
  for (CommandRecord& record : mutableCommandList(listId)) {
    if (record.logic.find(kCallLiteral) == std::string::npos) continue;
    ExpansionOutcome outcome = expandMarkers(record.logic, kind, record.name);
    switch (outcome.stop) {
      case ExpansionStop::none:
        continue;
      case ExpansionStop::cycle:
        // The record keeps its logic as far as it was expanded, the rest of
        // the list its markers.
        if (outcome.name == record.name)
          reportSelfCall(outcome.name, record.name);
        else
          reportCallCycle(outcome.name, record.name);
        record.logic = std::move(outcome.partial);
        return;
      case ExpansionStop::unknownName:  // a marker that pasting put together
        reportInvalidCall(outcome.name, record.name);
        record.logic = std::move(outcome.partial);
        return;
      case ExpansionStop::sizeLimit:
        reportOversizedCalls(record.name);
        return;
    }
  }
}

}  // namespace

void resolveCalls() {
  std::uint32_t counter = 0;
  for (const char* listId : kCommandListIds)
    if (!validateCalls(listId, counter)) return;
  if (counter == 0) return;
  for (const char* listId : kCommandListIds) expandCalls(listId);
}

}  // namespace zav
