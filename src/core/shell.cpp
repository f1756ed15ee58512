#include "core/shell.h"

#include <iostream>

#include "builtins/dispatcher.h"
#include "builtins/history.h"
#include "config/configuration.h"
#include "config/whole_file.h"
#include "core/console_output.h"
#include "core/line_editor.h"
#include "core/line_reader.h"
#include "core/shell_state.h"
#include "defs/loader.h"
#include "exec/dispatch.h"
#include "platform/console.h"

namespace zav {

namespace {

// On a terminal, end of input (Ctrl-D) gives a new prompt; this many in a
// row mean the terminal has gone away.
constexpr int kEndsOfInputBeforeLeaving = 10;

}  // namespace

bool isAcceptedLine(const std::string& line) {
  return !line.empty() && line.find('\t') == std::string::npos && line[0] != ' ';
}

void runLine(const std::string& line) {
  if (!dispatchBuiltin(line)) dispatchCommand(line);
}

void runShell() {
  std::string line;
  int endsInARow = 0;
  const bool interactive = platform::standardInputIsTerminal();
  // `history` holds the history file's lines now: the editor recalls them
  // after this run's own.
  for (size_t i = 0; i < history.size(); ++i) rememberAcceptedLine(std::string(history[i]));
  while (line != "exit") {
    ReadStatus status = readPromptedLine(line);
    if (status == ReadStatus::ended) {
      // A used-up file or pipe would prompt without end: leave as "exit"
      // does, without recording anything.
      if (!interactive || ++endsInARow >= kEndsOfInputBeforeLeaving) break;
      continue;
    }
    endsInARow = 0;
    if (status != ReadStatus::line || !isAcceptedLine(line)) continue;
    history.push_back(line);
    rememberAcceptedLine(line);
    if (switchIsOn(config.LOAD_HISTORY_FILE)) appendToHistoryFile(line);
    runLine(line);
  }
}

int runProgram() {
  platform::installControlHandler();
  platform::setTextAttribute(kNormalColour);
  showBanner();
  platform::setConsoleTitle(consoleTitle);
  platform::setThinCursor();
  parseConfiguration(readWholeFile(configFileName, ""));
  if (switchIsOn(config.LOAD_CMD_ZAV_FILE)) loadCommandFile();
  if (switchIsOn(config.LOAD_HISTORY_FILE)) loadHistory(config.HISTORY_DIR_PATH);
  runShell();
  if (switchIsOn(config.LOAD_HISTORY_FILE)) closeHistoryFile();
  std::cout.flush();
  platform::restoreConsoleAtExit();
  return 0;
}

}  // namespace zav
