#include "defs/loader.h"

#include "config/whole_file.h"
#include "core/console_output.h"
#include "core/shell_state.h"
#include "defs/auxiliary_logic.h"
#include "defs/calls.h"
#include "defs/command_blocks.h"
#include "defs/command_store.h"
#include "defs/insert_and_call_expansion.h"
#include "defs/mcu_definitions.h"
#include "ic/implicit_constructors.h"
#include "text/line_keyword.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {

namespace {

constexpr const char* kControlHeader = "<ZAV CONTROL COMMANDS>";

void parseBlocksAndUnits(const std::string& fileName, const std::string& text) {
  parseCommandBlocks(BlockKind::zav, fileName, text);
  parseCommandBlocks(BlockKind::win, fileName, text);
  parseMcus(fileName, text);
}

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

void loadCommandFile() {
  resetExpansionBudget();
  // The one copy of the main file's text. Include files are read anew in
  // each pass instead of being kept.
  std::string mainText = readWholeFile(commandFilePath(config.ZAV_CMD_FILE_PATH), "");

  // Pass 1: every fragment and include name. The include list grows while
  // it is walked, which makes the walk breadth first; each name is listed
  // once, so include cycles end by themselves.
  parseAuxiliaryLogic(commandFileName, mainText);
  scanIncludes(commandFileName, mainText);
  for (size_t i = 0; i < includeList().size(); ++i) {
    const std::string name = includeList()[i];  // the list may grow below
    const std::string text = readWholeFile(name, "");
    parseAuxiliaryLogic(name, text);
    scanIncludes(name, text);
  }

  // Pass 2: commands and units, now that every fragment is known. Include
  // files are read again in each pass, so one that cannot be opened is
  // reported in each.
  parseBlocksAndUnits(commandFileName, mainText);
  for (size_t i = 0; i < includeList().size(); ++i) {
    const std::string& name = includeList()[i];
    parseBlocksAndUnits(name, readWholeFile(name, ""));
  }

  // Pass 3 reads only the main file's Implicit Constructor lines: the rest
  // of its text goes before the calls make the logic grow, so that the file
  // and the finished records are never in memory together.
  const std::string mainIcLines = implicitConstructorLines(mainText);
  std::string().swap(mainText);

  resolveCalls();

  // Pass 3: Implicit Constructors, applied to the resolved logic.
  parseImplicitConstructors(mainIcLines);
  for (size_t i = 0; i < includeList().size(); ++i)
    parseImplicitConstructors(readWholeFile(includeList()[i], ""));
  applyImplicitConstructors();
}

}  // namespace zav
