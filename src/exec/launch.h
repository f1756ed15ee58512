// Turning an expanded text into command lines and running them: TShark
// against the selected capture (or every file of the capture directory),
// or the text itself through the command processor.
#ifndef ZAV_EXEC_LAUNCH_H_
#define ZAV_EXEC_LAUNCH_H_

#include <functional>
#include <string>
#include <vector>

#include "platform/process.h"

namespace zav {

class ChildProcesses;

// The capture name that stands for every file of the capture directory.
inline constexpr const char* kAllFilesCapture = "*AF*";

using TextRunner = std::function<void(const std::string&)>;

// Everything command execution hands to the outside world. Dispatch calls
// the two launchers; the launchers (and dispatch, for a line that names no
// command) hand finished command lines to `commandProcessor`. Tests put
// recorders in their place so that no process starts.
struct Launchers {
  TextRunner tshark;            // runTsharkCommand
  TextRunner windows;           // runWindowsCommand
  TextRunner commandProcessor;  // the platform's command processor, waited for
  ChildProcesses* children;     // side-by-side runs (ordered_runs.h)
};

// The real ones.
Launchers realLaunchers();
// The ones in use, process-wide; the real ones unless a test replaced them.
Launchers& launchers();

// Puts another command processor in place while it lives.
class ReplacedCommandProcessor {
 public:
  explicit ReplacedCommandProcessor(TextRunner replacement);
  ~ReplacedCommandProcessor();
  ReplacedCommandProcessor(const ReplacedCommandProcessor&) = delete;
  ReplacedCommandProcessor& operator=(const ReplacedCommandProcessor&) = delete;

 private:
  TextRunner saved_;
};

// What every run of a command line ends with, whichever way it ran: the
// user is told when it could not start.
void reportEndedRun(const std::string& commandLine, platform::StartFailure failure, int status);

// True once Ctrl-C has reached the shell while a typed line runs: from then
// on nothing more of that line starts (no command line, no further capture,
// LIST item, unit line or history entry) until the prompt takes the
// interrupt back.
bool lineIsAbandoned();

// Flushes what the shell has written, so the child's output follows it, and
// runs the command line through `launchers().commandProcessor`, unless the
// line is abandoned.
void runInCommandProcessor(const std::string& commandLine);

// Runs the text against the selected capture: reports when none is
// selected; with "*AF*" runs it once per file of the capture directory,
// announcing each; otherwise once against PCAP_DIR_PATH + currentCapture.
void runTsharkCommand(const std::string& text);

// The full paths of the regular files (links followed) directly inside
// PCAP_DIR_PATH, in the platform's listing order. Reports a path that is
// not a directory and leaves the list empty.
void listCaptureFiles(std::vector<std::string>& paths);

}  // namespace zav

#endif  // ZAV_EXEC_LAUNCH_H_
