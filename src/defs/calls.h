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

// True when every CALL marker in the list's logic names another command;
// `counter` grows by the number of markers checked. Reports the first
// problem.
bool validateCalls(const std::string& listId, std::uint32_t& counter);

// Replaces the CALL markers of the list's records, nested calls included.
// A call that comes back to a command being pasted (the record itself or a
// command inside its calls) is reported and ends the expansion of the list.
void expandCalls(const std::string& listId);

}  // namespace zav

#endif  // ZAV_DEFS_CALLS_H_
