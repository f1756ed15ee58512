#include "defs/mcu_definitions.h"

#include <string_view>

#include "core/console_output.h"
#include "defs/command_file.h"
#include "defs/command_store.h"
#include "text/line_keyword.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {

namespace {

// The next match of the unit pattern at or after `position`, searched so
// that the work stays linear in the text. A body runs from "{" to the first
// "}" and that "}" must be followed by ";"; no header character is a "}". So
// no unit begins before a "}" that lacks its ";", and every unit that begins
// before the first "};" ends with it. The pattern is therefore run only on
// the text up to that "};": otherwise each of many unclosed "MCU(x){" would
// have its body scanned to the end of the file.
SearchStatus nextUnit(const Regex& unit, const std::string& text, size_t position,
                      RegexMatch& match) {
  while (position < text.size()) {
    size_t close = text.find('}', position);
    if (close == std::string::npos) return SearchStatus::notFound;
    if (close + 1 < text.size() && text[close + 1] == ';') {
      std::string_view upToClose(text.data(), close + 2);
      SearchStatus status = searchLineKeyword(unit, "MCU(", upToClose, match, position);
      if (status != SearchStatus::notFound) return status;
    }
    position = close + 1;
  }
  return SearchStatus::notFound;
}

// The lines a unit body keeps: each without its leading blanks and tabs,
// empty lines and lines holding "//" anywhere left out.
std::vector<std::string> mcuBodyLines(const std::string& body) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start <= body.size()) {
    size_t end = body.find('\n', start);
    if (end == std::string::npos) end = body.size();
    size_t first = body.find_first_not_of(" \t", start);
    if (first != std::string::npos && first < end) {
      std::string_view line(body.data() + first, end - first);
      if (line.find("//") == std::string_view::npos) lines.emplace_back(line);
    }
    start = end + 1;
  }
  return lines;
}

}  // namespace

void parseMcus(const std::string& fileName, const std::string& text) {
  static const Regex unit(patterns::mcu, RegexAnchor::atStart);
  checkFileText(fileName, text);
  RegexMatch match;
  for (size_t position = 0; position <= text.size(); position = match.end()) {
    SearchStatus status = nextUnit(unit, text, position, match);
    if (status == SearchStatus::error) {
      reportSearchGaveUp(fileName, "MCU definitions");
      continue;
    }
    if (status != SearchStatus::found) break;
    std::string name = match.group(text, 1);
    if (findMcu(name) != nullptr) {
      printMessage("+ The MCU with the name \"" + name +
                   "\" is a duplicate. Please remove duplicate MCU name.");
      continue;
    }
    appendMcu(McuRecord{name, mcuBodyLines(match.group(text, 2))});
  }
}

}  // namespace zav
