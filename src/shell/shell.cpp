#include "shell/shell.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <thread>

#include "builtins/capture_commands.h"
#include "builtins/command_file_loader.h"
#include "builtins/dispatcher.h"
#include "builtins/history.h"
#include "builtins/run_line.h"
#include "config/configuration.h"
#include "core/console_output.h"
#include "core/file_names.h"
#include "core/line_reader.h"
#include "core/product.h"
#include "core/run_outcome.h"
#include "core/shell_state.h"
#include "core/whole_file.h"
#include "exec/dispatch.h"
#include "exec/remote_runs.h"
#include "platform/console.h"
#include "platform/line_editor.h"
#include "shell/completion.h"
#include "shell/given_lines.h"
#include "shell/options.h"
#include "shell/workspace_init.h"

namespace zav {

namespace {

// On a terminal, end of input (Ctrl-D) gives a new prompt; this many in a
// row mean the terminal has gone away.
constexpr int kEndsOfInputBeforeLeaving = 10;

constexpr const char* kInterrupted = "+ Interrupted.";

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
  if (!options.initDirectory.empty()) {
    status = initWorkspace(options.initDirectory);
    return false;
  }
  return !options.hasLineFile || checkLineFile(options.lineFile, status);
}

// -r: the capture's directory, with its separator, becomes the capture
// path and its name the capture, as setpcappath and setpcap would make them.
void selectCaptureFile(const std::string& path) {
  const std::filesystem::path given(path);
  std::string directory = given.parent_path().string();
  if (directory.empty()) directory = ".";
  if (directory.back() != '/' && directory.back() != std::filesystem::path::preferred_separator)
    directory += static_cast<char>(std::filesystem::path::preferred_separator);
  config.PCAP_DIR_PATH = directory;
  currentCapture = given.filename().string();
}

// Without ZAV.cfg every line would go to the command processor; the
// messages above say what is missing, this says what to do.
constexpr const char* kNoWorkspaceHint =
    "zav: no ZAV.cfg here; make a workspace with \"zav --init DIR\", or start in one with "
    "\"zav -C DIR\"";

}  // namespace

bool runTypedLine(const std::string& line, bool typedAtPrompt) {
  history.push_back(line);
  rememberAcceptedLine(line);
  // Script lines are this run's only, as in other shells.
  if (typedAtPrompt && switchIsOn(config.LOAD_HISTORY_FILE)) appendToHistoryFile(line);
  platform::takeInterrupt();  // one that arrived at the prompt is not this line's
  runLine(line);
  if (!platform::takeInterrupt()) return true;
  printMessage(kInterrupted);
  return false;
}

bool isAcceptedLine(const std::string& line) {
  return !line.empty() && line.find('\t') == std::string::npos && line[0] != ' ';
}

namespace {

// The prompt loop; returns after the line "exit" or a lasting end of input.
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
    runTypedLine(line, true);
  }
}

}  // namespace

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
  const std::string configText = readWholeFile(configFileName, "");
  const bool configured = parseConfiguration(configText);
  if (configText == kFileNotFound) std::cerr << kNoWorkspaceHint << std::endl;
  if (!options.captureFile.empty()) selectCaptureFile(options.captureFile);
  exportCaptureEnvironment();
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
  if (!withPrompt && status == 0 && (!configured || anyRunFailed())) status = kExitFailure;
  return status;
}

}  // namespace zav
