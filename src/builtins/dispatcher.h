// The built-in commands, offered every line before the command dispatcher.
#ifndef ZAV_BUILTINS_DISPATCHER_H_
#define ZAV_BUILTINS_DISPATCHER_H_

#include <string>

namespace zav {

// True when the line was a built-in command (it has run); false otherwise,
// with nothing done or printed.
bool dispatchBuiltin(std::string line);

}  // namespace zav

#endif  // ZAV_BUILTINS_DISPATCHER_H_
