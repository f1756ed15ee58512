// Running the TShark runs of one typed line side by side (`zav -j N`) while
// the output reads exactly as if they had run one after another.
#ifndef ZAV_EXEC_ORDERED_RUNS_H_
#define ZAV_EXEC_ORDERED_RUNS_H_

#include <functional>
#include <string>
#include <vector>

namespace zav {

// The command lines one typed line would run, each with what the shell
// writes before it, and what it writes after the last.
struct PlannedCommand {
  std::string textBefore;
  std::string commandLine;
};
struct PlannedLine {
  std::vector<PlannedCommand> commands;
  std::string textAfter;
};

// Runs `plan` with the command processor noting command lines instead of
// running them and with the shell's output kept, so that every heading,
// message and PRINT line reads exactly as in a one-after-another run.
PlannedLine planLine(const std::function<void()>& plan);

// Calls `plan`, which runs command lines through launchers().commandProcessor
// and writes to std::cout as a one-after-another run would, but starts
// nothing yet: each command line is noted with what was written before it.
// Then runs the noted lines through launchers().children, up to `atOnce` at
// a time, in their order. The first unfinished one writes straight to the
// shell's outputs; each later one is read into memory (bounded: a run that
// has filled its share waits, blocked, for its turn) and written out,
// preceded by its own text, once every run before it has been. So standard
// output and standard error each get the same bytes as one after another.
// A run whose output could not be written out is named on standard error.
//
// Ctrl-C stops every run and starts no further one; the line ends with the
// run at the head, as it would one after another. The interrupt is left
// pending for the line runner, which reports it.
void runSideBySide(const std::function<void()>& plan, unsigned atOnce);

}  // namespace zav

#endif  // ZAV_EXEC_ORDERED_RUNS_H_
