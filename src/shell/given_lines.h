// The lines of -c and FILE (or "-"), run as a script: without prompt, and
// with an exit status that tells how they went.
#ifndef ZAV_SHELL_GIVEN_LINES_H_
#define ZAV_SHELL_GIVEN_LINES_H_

#include <string>

namespace zav {

struct CommandLineOptions;

// Checks FILE before anything starts. False, with a message on standard
// error and the exit status, when it cannot run: 1 for a directory or a
// file that cannot be read, 2 for a capture (pcap or pcapng), which belongs
// to -r. Standard input ("-"), FIFOs and devices are read as they come.
bool checkLineFile(const std::string& fileName, int& status);

// Whether these bytes begin a pcap or pcapng file.
bool startsLikeCapture(const std::string& firstBytes);

// Runs the lines of -c, then those of FILE, as if typed; a CR before the
// line end of FILE is dropped. Each accepted line is recorded in the
// history list (so `exh` reaches it) but not in the history file. Returns
// the exit status: 0, 1 when FILE could not be read, 130 after Ctrl-C.
int runGivenLines(const CommandLineOptions& options);

}  // namespace zav

#endif  // ZAV_SHELL_GIVEN_LINES_H_
