#include "builtins/command_file_loader.h"

#include "config/configuration.h"
#include "core/file_names.h"
#include "core/whole_file.h"
#include "defs/auxiliary_logic.h"
#include "defs/calls.h"
#include "defs/command_blocks.h"
#include "defs/command_file.h"
#include "defs/command_store.h"
#include "defs/insert_and_call_expansion.h"
#include "defs/mcu_definitions.h"
#include "ic/implicit_constructors.h"

namespace zav {

namespace {

void parseBlocksAndUnits(const std::string& fileName, const std::string& text) {
  parseCommandBlocks(BlockKind::zav, fileName, text);
  parseCommandBlocks(BlockKind::win, fileName, text);
  parseMcus(fileName, text);
}

}  // namespace

std::string readCommandFileFromDisk(const std::string& path) { return readWholeFile(path, ""); }

void loadCommandFile(const FileReader& read) {
  resetExpansionBudget();
  // The one copy of the main file's text. Include files are read anew in
  // each pass instead of being kept.
  std::string mainText = read(commandFilePath(config.ZAV_CMD_FILE_PATH));

  // Pass 1: every fragment and include name. The include list grows while
  // it is walked, which makes the walk breadth first; each name is listed
  // once, so include cycles end by themselves.
  parseAuxiliaryLogic(commandFileName, mainText);
  scanIncludes(commandFileName, mainText);
  for (size_t i = 0; i < includeList().size(); ++i) {
    const std::string name = includeList()[i];  // the list may grow below
    const std::string text = read(name);
    parseAuxiliaryLogic(name, text);
    scanIncludes(name, text);
  }

  // Pass 2: commands and units, now that every fragment is known. Include
  // files are read again in each pass, so one that cannot be opened is
  // reported in each.
  parseBlocksAndUnits(commandFileName, mainText);
  for (size_t i = 0; i < includeList().size(); ++i) {
    const std::string& name = includeList()[i];
    parseBlocksAndUnits(name, read(name));
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
    parseImplicitConstructors(read(includeList()[i]));
  applyImplicitConstructors();
}

}  // namespace zav
