#include "builtins/mcu_execution.h"

#include <vector>

#include "builtins/nested_runs.h"
#include "builtins/run_line.h"
#include "core/console_output.h"
#include "defs/command_store.h"
#include "exec/launch.h"

namespace zav {

void runMcu(const std::string& name) {
  if (mcuList().empty()) {
    printMessage("+ No MCU name is defined");
    return;
  }
  const McuRecord* unit = findMcu(name);
  if (unit == nullptr) {
    printMessage("+ MCU name \"" + name + "\" is not valid");
    return;
  }
  RunAllowance allowance;
  NestedRun run("exmcu " + name, "MCU \"" + name + "\"");
  if (!run.started()) return;
  // A copy, made only for a run that starts: a "loadcmdfile" line rebuilds
  // the store under our feet.
  const std::vector<std::string> lines = unit->commands;
  for (const std::string& line : lines) {
    if (runAllowanceSpent() || lineIsAbandoned()) break;
    runLine(line);
  }
}

}  // namespace zav
