// Reading lines from standard input, at the prompt and for `ulogic`. When
// standard input and output are terminals on POSIX, lines go through the
// line editor (platform/line_editor.h); otherwise they are read plainly.
#ifndef ZAV_CORE_LINE_READER_H_
#define ZAV_CORE_LINE_READER_H_

#include <string>

#include "platform/line_editor.h"

namespace zav {

// Writes the prompt ("ZAV" in the current colour, "> " in bright green,
// after a line feed) and reads one line.
ReadStatus readPromptedLine(std::string& line);

// Reads one line with no prompt of its own: the caller has written
// `shownPrompt` from the start of the current line. With line editing the
// line starts out holding `initialText` for the user to edit, and the editor
// draws `shownPrompt` again over itself so that its redraws stay in place;
// without it both are unused and nothing is written.
ReadStatus readInputLine(std::string& line, const std::string& initialText = std::string(),
                         const std::string& shownPrompt = std::string());

// Whether lines go through the line editor. Only then does readInputLine
// offer `initialText`, so only then does a line equal to it mean that the
// user accepted the text untouched (`ulogic` keeps the logic in that case);
// read plainly, such a line was typed in full.
bool lineEditingIsOn();

}  // namespace zav

#endif  // ZAV_CORE_LINE_READER_H_
