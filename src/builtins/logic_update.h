// "ulogic": replaces one command's logic for the rest of the run, with the
// old logic on the clipboard while the new one is typed.
#ifndef ZAV_BUILTINS_LOGIC_UPDATE_H_
#define ZAV_BUILTINS_LOGIC_UPDATE_H_

#include <string>

namespace zav {

// Reads the new logic with the prompt's line reader, which offers the old
// logic for editing where it can. An empty line, the end of input, or the
// offered logic accepted untouched keeps the old logic. `argCount` and
// `hasList` keep their load-time values, and `loadcmdfile` brings back the
// file's logic.
void updateLogic(const std::string& name);

}  // namespace zav

#endif  // ZAV_BUILTINS_LOGIC_UPDATE_H_
