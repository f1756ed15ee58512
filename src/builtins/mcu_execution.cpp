#include "builtins/mcu_execution.h"

#include <vector>

#include "builtins/nested_runs.h"
#include "core/console_output.h"
#include "core/shell.h"
#include "defs/command_store.h"

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
  // A copy: a "loadcmdfile" line rebuilds the store under our feet.
  const std::vector<std::string> lines = unit->commands;
  NestedRun run("exmcu " + name, "MCU \"" + name + "\"");
  if (!run.started()) return;
  for (const std::string& line : lines) runLine(line);
}

}  // namespace zav
