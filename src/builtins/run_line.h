// Running one line: the built-in commands first, then the defined commands
// and the command processor. Shared by the prompt loop, `exh` and `exmcu`.
#ifndef ZAV_BUILTINS_RUN_LINE_H_
#define ZAV_BUILTINS_RUN_LINE_H_

#include <string>

namespace zav {

// Offers a line to the built-in commands and, when none takes it, to the
// command dispatcher. A line holding a NUL character is reported and not
// run.
void runLine(const std::string& line);

}  // namespace zav

#endif  // ZAV_BUILTINS_RUN_LINE_H_
