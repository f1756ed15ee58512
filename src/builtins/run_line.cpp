#include "builtins/run_line.h"

#include "builtins/dispatcher.h"
#include "core/console_output.h"
#include "core/run_outcome.h"
#include "exec/dispatch.h"

namespace zav {

void runLine(const std::string& line) {
  // The command processor, and every C interface on the way to it, ends a
  // line at a NUL: "echo a\0b" would run "echo a", a command nobody typed.
  if (line.find('\0') != std::string::npos) {
    printMessage("+ The line holds a NUL character and is not run.");
    noteFailedRun();
    return;
  }
  if (!dispatchBuiltin(line)) dispatchCommand(line);
}

}  // namespace zav
