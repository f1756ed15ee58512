#include "exec/launch.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <utility>

#include "config/configuration.h"
#include "core/console_output.h"
#include "core/run_outcome.h"
#include "core/shell_state.h"
#include "exec/child_processes.h"
#include "platform/console.h"
#include "platform/directory_order.h"
#include "platform/process.h"

namespace zav {

namespace {

constexpr const char* kNoCaptureSelected =
    "+ No PCAP file is specified. Please issue the command \"setpcap <pcapfilename>\"";

void printNotAValidPath(const std::string& path) {
  printMessage("+ " + path + " is not a valid path.");
  noteFailedRun();
}

// Nothing starts, so nothing else would say why.
void printCommandLineTooLong(size_t length) {
  printMessage("+ The command line is " + std::to_string(length) +
               " bytes long, more than the system passes on, and is not run.");
}

// Each capture of the all-files mode is introduced by its path, as plain
// text (streaming a std::filesystem::path would quote it).
void announceCaptureFile(const std::string& path) {
  std::cout << "\n[ Working with file: " << path << " ]\n\n";
}

void runTsharkOn(const std::string& capturePath, const std::string& text) {
  runInCommandProcessor(platform::tsharkCommandLine(config.TSHARK_EXE_PATH, capturePath, text));
}

// A line feed, then the text itself through the command processor.
void runWindowsCommand(const std::string& text) {
  std::cout << '\n';
  runInCommandProcessor(text);
}

}  // namespace

Launchers realLaunchers() {
  Launchers real;
  real.tshark = runTsharkCommand;
  real.windows = runWindowsCommand;
  real.commandProcessor = [](const std::string& commandLine) {
    platform::StartFailure failure = platform::StartFailure::none;
    const int status = platform::runCommandLine(commandLine, failure);
    reportEndedRun(commandLine, failure, status);
  };
  real.children = &platformChildProcesses();
  return real;
}

Launchers& launchers() {
  static Launchers inUse = realLaunchers();
  return inUse;
}

ReplacedCommandProcessor::ReplacedCommandProcessor(TextRunner replacement)
    : saved_(std::move(launchers().commandProcessor)) {
  launchers().commandProcessor = std::move(replacement);
}

ReplacedCommandProcessor::~ReplacedCommandProcessor() {
  launchers().commandProcessor = std::move(saved_);
}

void reportEndedRun(const std::string& commandLine, platform::StartFailure failure, int status) {
  if (failure == platform::StartFailure::tooLong) printCommandLineTooLong(commandLine.size());
  if (failure != platform::StartFailure::none || !platform::runSucceeded(status)) noteFailedRun();
}

bool lineIsAbandoned() { return platform::interruptPending(); }

void runInCommandProcessor(const std::string& commandLine) {
  std::cout.flush();
  if (lineIsAbandoned()) return;
  launchers().commandProcessor(commandLine);
}

void runTsharkCommand(const std::string& text) {
  if (currentCapture.empty()) {
    printMessage(kNoCaptureSelected);
    noteFailedRun();
    return;
  }
  if (currentCapture == kAllFilesCapture) {
    std::vector<std::string> paths;
    listCaptureFiles(paths);
    for (const std::string& path : paths) {
      if (lineIsAbandoned()) break;
      announceCaptureFile(path);
      runTsharkOn(path, text);
    }
    return;
  }
  std::cout << '\n';
  // The directory value is meant to end with a separator; nothing is put in
  // between, so "D:\caps" and "a.pcap" give "D:\capsa.pcap".
  runTsharkOn(config.PCAP_DIR_PATH + currentCapture, text);
}

void listCaptureFiles(std::vector<std::string>& paths) {
  // error_code overloads throughout: a directory that vanishes or cannot be
  // read must not end the shell.
  std::error_code error;
  const std::filesystem::path directory(config.PCAP_DIR_PATH);
  if (!std::filesystem::is_directory(directory, error)) {
    printNotAValidPath(config.PCAP_DIR_PATH);
    return;
  }
  std::vector<std::string> names;
  std::filesystem::directory_iterator entry(directory, error);
  for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
    std::error_code statusError;
    // is_regular_file on an entry follows links, so a link to a capture
    // counts and a link to a directory does not.
    if (entry->is_regular_file(statusError)) names.push_back(entry->path().filename().string());
  }
  platform::orderDirectoryNames(names);
  for (const std::string& name : names) paths.push_back((directory / name).string());
}

}  // namespace zav
