// "exmcu": running the lines of a Multi Command Unit.
#ifndef ZAV_BUILTINS_MCU_EXECUTION_H_
#define ZAV_BUILTINS_MCU_EXECUTION_H_

#include <string>

namespace zav {

// Runs each line of the unit named exactly `name` through the dispatchers,
// as if typed, without recording it; a failing line does not stop the
// unit. A unit that is already running is not started again.
void runMcu(const std::string& name);

}  // namespace zav

#endif  // ZAV_BUILTINS_MCU_EXECUTION_H_
