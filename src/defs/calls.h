// Calls between commands: "[CALL(name)]" in a command's logic is replaced,
// once per load, by the logic of the command of that name.
#ifndef ZAV_DEFS_CALLS_H_
#define ZAV_DEFS_CALLS_H_

#include <cstdint>
#include <string>

namespace zav {

// Checks every CALL marker of the four lists and, when all are valid and
// there is at least one, replaces them. All or nothing: after a bad marker
// no logic changes.
void resolveCalls();

}  // namespace zav

#endif  // ZAV_DEFS_CALLS_H_
