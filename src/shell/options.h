// The command line: getopt-style options, as TShark and the usual shells
// take them. Without any, the shell starts at its prompt as always.
#ifndef ZAV_SHELL_OPTIONS_H_
#define ZAV_SHELL_OPTIONS_H_

#include <string>
#include <vector>

namespace zav {

struct CommandLineOptions {
  bool showHelp = false;
  bool showVersion = false;
  std::string directory;           // -C: changed to before ZAV.cfg is read
  std::vector<std::string> lines;  // -c, in the order given
  bool hasLineFile = false;        // a FILE operand was given
  std::string lineFile;            // its name; "-" is standard input
  unsigned parallelRuns = 1;       // -j: TShark runs of one line at once; 0: one per processor
  std::string captureFile;         // -r: selected before anything runs; empty: none given
  std::string initDirectory;       // --init: where to lay out a workspace; empty: none given
  std::string sshLogins;           // -S, comma-joined when repeated
  std::string sshLoginFile;        // --sshloginfile
  bool transferCaptures = false;   // --transfer
};

// Exit statuses besides 0.
inline constexpr int kExitFailure = 1;        // a run, ZAV.cfg, a command file or FILE failed
inline constexpr int kExitUsage = 2;          // a wrong option, or a capture given as FILE
inline constexpr int kExitInterrupted = 130;  // Ctrl-C stopped command-line lines

// Reads the arguments after the program name. On a wrong one returns false
// with a one-line `message` naming it ("zav: unknown option -x").
bool parseOptions(const std::vector<std::string>& arguments, CommandLineOptions& options,
                  std::string& message);

// Lines come from -c or FILE: they run without prompt, banner, title or
// colours, and the shell then leaves.
bool runsWithoutPrompt(const CommandLineOptions& options);

// "Usage: zav ..." (one line), and the whole --help text.
std::string usageLine();
std::string helpText();
// "ZAV (Vorrindal) v1.1" and the pattern engine the build uses.
std::string versionLine();

// NO_COLOR set and not empty (as no-color.org has it), or TERM=dumb.
bool coloursUnwantedByEnvironment();

}  // namespace zav

#endif  // ZAV_SHELL_OPTIONS_H_
