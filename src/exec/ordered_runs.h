// Running the TShark runs of one typed line side by side (`zav -j N`) while
// the output reads exactly as if they had run one after another.
#ifndef ZAV_EXEC_ORDERED_RUNS_H_
#define ZAV_EXEC_ORDERED_RUNS_H_

#include <functional>

namespace zav {

// Calls `plan`, which runs command lines through launchers().commandProcessor
// and writes to std::cout as a one-after-another run would, but starts
// nothing yet: each command line is noted with what was written before it.
// Then runs the noted lines, up to `atOnce` at a time, in their order. The
// first unfinished one writes straight to the shell's outputs; each later
// one writes into temporary files that are copied out, preceded by its own
// text, once every run before it has been released. So standard output and
// standard error each get the same bytes as one after another. (When both
// go to one terminal or file, a run's two streams are captured together and
// keep their mutual order; TShark buffers a file more than a terminal, so
// within one captured run its messages and its output may interleave
// differently from a run on the terminal.)
//
// Ctrl-C stops every run: no further one starts, the running ones are
// stopped, and what the started ones wrote is released in order.
void runSideBySide(const std::function<void()>& plan, unsigned atOnce);

}  // namespace zav

#endif  // ZAV_EXEC_ORDERED_RUNS_H_
