#include "defs/command_file.h"

#include "core/console_output.h"
#include "core/file_names.h"
#include "defs/command_store.h"
#include "text/line_keyword.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {

namespace {

constexpr const char* kControlHeader = "<ZAV CONTROL COMMANDS>";

}  // namespace

std::string commandFilePath(const std::string& directoryValue) {
  return directoryValue == "LOCAL" ? commandFileName : directoryValue + commandFileName;
}

void checkFileText(const std::string& fileName, const std::string& text) {
  if (text.empty()) printMessage("+ ZAV CMD file " + fileName + " is empty.");
  if (text.find(kControlHeader) == std::string::npos)
    printMessage("+ ZAV CMD file " + fileName + " is not conformant.");
}

void reportSearchGaveUp(const std::string& fileName, const std::string& construct) {
  printMessage(
      "+ ZAV CMD file " + fileName + " could not be searched to its end for " + construct + ".",
      "  The pattern ran into its resource limits at one of them; it is skipped.");
}

void scanIncludes(const std::string& fileName, const std::string& text) {
  static const Regex includeLine(patterns::includeLine, RegexAnchor::atStart);
  checkFileText(fileName, text);
  RegexMatch match;
  for (size_t position = 0; position <= text.size(); position = match.end()) {
    // Each search sees the rest behind the previous include line as a text
    // of its own; the rest is searched in place, never copied.
    SearchStatus status = searchLineKeyword(includeLine, "#include", text, match, position,
                                            SearchFrom::restAsNewText);
    if (status == SearchStatus::error) {
      reportSearchGaveUp(fileName, "include lines");
      continue;
    }
    if (status != SearchStatus::found) break;
    std::string inc = match.group(text, 1);
    if (!hasInclude(inc) && inc != commandFileName) {
      appendInclude(inc);
    } else if (inc == commandFileName) {
      printMessage("+ \"" + commandFileName + "\" is self-included.");
    } else {
      printMessage("+ Include file with the name \"" + inc + "\" in \"" + fileName +
                   "\" is a duplicate. Please remove duplicate.");
    }
  }
}

}  // namespace zav
