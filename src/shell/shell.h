// Start-up and the prompt loop.
#ifndef ZAV_SHELL_SHELL_H_
#define ZAV_SHELL_SHELL_H_

#include <string>
#include <vector>

namespace zav {

// The whole program: the command-line options (shell/options.h), start-up,
// the prompt loop or the lines given, shutdown. Returns the exit status:
// always 0 at the prompt
// (SIGTERM and SIGHUP end the process elsewhere, see
// platform::installControlHandler).
int runProgram(const std::vector<std::string>& arguments);

// Records an accepted line in the history list (and, when typed at the
// prompt and the switch is on, in the history file) and runs it. False
// when Ctrl-C abandoned it; the user has been told.
bool runTypedLine(const std::string& line, bool typedAtPrompt);

// Whether the prompt accepts a line: not empty, no tab anywhere, not
// starting with a blank. Refused lines are neither recorded nor run.
bool isAcceptedLine(const std::string& line);

}  // namespace zav

#endif  // ZAV_SHELL_SHELL_H_
