// No line editor: the Windows console gives every line read arrow-key
// editing and recall by itself, and a POSIX build without libedit reads
// lines plainly.
#include "platform/line_editor.h"

namespace zav {

bool lineEditorIsActive() { return false; }

void setCompletionProvider(CompletionProvider) {}

ReadStatus editPromptedLine(std::string& line, const std::string&, platform::TextAttribute) {
  line.clear();
  return ReadStatus::ended;
}

ReadStatus editInputLine(std::string& line, const std::string&, const std::string&) {
  line.clear();
  return ReadStatus::ended;
}

void rememberAcceptedLine(const std::string&) {}

}  // namespace zav
