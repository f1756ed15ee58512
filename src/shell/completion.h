// What Tab offers at the prompt: the candidates for the word being typed,
// taken from the built-in names and the definition stores. A plain function
// of the line and the stores, so it is tested without a terminal.
#ifndef ZAV_SHELL_COMPLETION_H_
#define ZAV_SHELL_COMPLETION_H_

#include <string>
#include <vector>

#include "platform/line_editor.h"

namespace zav {

// `lineBefore` is the text of the line in front of `word`, the (partial)
// word at the cursor. The first word completes to built-in and command
// names; the argument of info, logic, tag and ulogic to command names, of
// exmcu to Multi Command Unit names, of gic to the twelve store keys, of
// setpcap to the files of the capture directory; every argument of auxl to
// fragment names and of gcwt to tags. Any other word is a file name.
// Hidden commands are never offered by name, as the command listing never
// shows them; their tags are, since gcwt finds hidden commands.
CompletionCandidates completionCandidates(const std::string& lineBefore, const std::string& word);

}  // namespace zav

#endif  // ZAV_SHELL_COMPLETION_H_
