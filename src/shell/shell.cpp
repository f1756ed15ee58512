#include "shell/shell.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>
#include <thread>

#include "builtins/command_file_loader.h"
#include "builtins/dispatcher.h"
#include "builtins/history.h"
#include "builtins/run_line.h"
#include "config/configuration.h"
#include "config/whole_file.h"
#include "core/console_output.h"
#include "core/line_reader.h"
#include "core/shell_state.h"
#include "exec/dispatch.h"
#include "exec/remote_runs.h"
#include "platform/console.h"
#include "platform/line_editor.h"
#include "shell/completion.h"
#include "shell/options.h"

namespace zav {

namespace {

// On a terminal, end of input (Ctrl-D) gives a new prompt; this many in a
// row mean the terminal has gone away.
constexpr int kEndsOfInputBeforeLeaving = 10;

constexpr const char* kInterrupted = "+ Interrupted.";

// Records an accepted line in the history and runs it. False when Ctrl-C
// abandoned it; the user has been told.
bool runTypedLine(const std::string& line) {
  history.push_back(line);
  rememberAcceptedLine(line);
  if (switchIsOn(config.LOAD_HISTORY_FILE)) appendToHistoryFile(line);
  platform::takeInterrupt();  // one that arrived at the prompt is not this line's
  runLine(line);
  if (!platform::takeInterrupt()) return true;
  printMessage(kInterrupted);
  return false;
}

enum class GivenLine { goOn, leave, interrupted };

GivenLine runGivenLine(const std::string& line) {
  if (isAcceptedLine(line) && !runTypedLine(line)) return GivenLine::interrupted;
  return line == "exit" ? GivenLine::leave : GivenLine::goOn;
}

// The lines of -c, then those of FILE, as if typed; returns the exit
// status so far (0, or 1 when FILE cannot be opened, or 130 after Ctrl-C).
int runGivenLines(const CommandLineOptions& options) {
  for (const std::string& line : options.lines) {
    const GivenLine outcome = runGivenLine(line);
    if (outcome == GivenLine::interrupted) return kExitInterrupted;
    if (outcome == GivenLine::leave) return 0;
  }
  if (!options.hasLineFile) return 0;
  std::ifstream file;
  if (options.lineFile != "-") {
    file.open(options.lineFile);
    if (!file.is_open()) {
      printCouldNotOpen(options.lineFile);
      return kExitFailure;
    }
  }
  std::istream& input = options.lineFile == "-" ? std::cin : file;
  std::string line;
  while (std::getline(input, line)) {
    const GivenLine outcome = runGivenLine(line);
    if (outcome == GivenLine::interrupted) return kExitInterrupted;
    if (outcome == GivenLine::leave) break;
  }
  return 0;
}

// Settles the options that end before start-up; false with the exit status
// when the program ends here.
bool settleOptions(const std::vector<std::string>& arguments, CommandLineOptions& options,
                   int& status) {
  std::string message;
  status = 0;
  if (!parseOptions(arguments, options, message)) {
    std::cerr << message << '\n' << usageLine() << '\n';
    status = kExitUsage;
    return false;
  }
  if (options.showHelp || options.showVersion) {
    std::cout << (options.showHelp ? helpText() : versionLine() + "\n");
    return false;
  }
  parallelRuns = options.parallelRuns != 0 ? options.parallelRuns
                                           : std::max(1u, std::thread::hardware_concurrency());
  // Before -C: a login file is named from where zav was started.
  if (!useRemoteHosts(
          RemoteHosts{options.sshLogins, options.sshLoginFile, options.transferCaptures},
          message)) {
    std::cerr << message << '\n';
    status = kExitUsage;
    return false;
  }
  std::error_code error;
  if (!options.directory.empty()) std::filesystem::current_path(options.directory, error);
  if (error) {
    std::cerr << "zav: cannot change to directory " << options.directory << ": " << error.message()
              << '\n';
    status = kExitFailure;
    return false;
  }
  return true;
}

}  // namespace

bool isAcceptedLine(const std::string& line) {
  return !line.empty() && line.find('\t') == std::string::npos && line[0] != ' ';
}

void runShell() {
  std::string line;
  int endsInARow = 0;
  const bool interactive = platform::standardInputIsTerminal();
  setCompletionProvider(completionCandidates);
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
    runTypedLine(line);
  }
}

int runProgram(const std::vector<std::string>& arguments) {
  platform::openMissingStandardStreams();
  CommandLineOptions options;
  int status = 0;
  if (!settleOptions(arguments, options, status)) return status;
  // Lines given on the command line run as in a script: no banner, title,
  // colours or prompt.
  const bool withPrompt = !runsWithoutPrompt(options);
  platform::installControlHandler();
  if (!withPrompt || coloursUnwantedByEnvironment()) platform::setColoursEnabled(false);
  platform::setTextAttribute(kNormalColour);
  if (withPrompt) {
    showBanner();
    platform::setConsoleTitle(consoleTitle);
    platform::setThinCursor();
  }
  const bool configured = parseConfiguration(readWholeFile(configFileName, ""));
  if (switchIsOn(config.LOAD_CMD_ZAV_FILE)) loadCommandFile();
  if (switchIsOn(config.LOAD_HISTORY_FILE)) loadHistory(config.HISTORY_DIR_PATH);
  if (withPrompt)
    runShell();
  else
    status = runGivenLines(options);
  if (switchIsOn(config.LOAD_HISTORY_FILE)) closeHistoryFile();
  std::cout.flush();
  if (withPrompt) platform::restoreConsoleAtExit();
  // At the prompt the program always ends with 0, as it always has.
  if (!withPrompt && status == 0 && (!configured || remoteRunsWereLost())) status = kExitFailure;
  return status;
}

}  // namespace zav
