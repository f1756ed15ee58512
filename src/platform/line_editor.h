// Line editing, recall and completion for lines typed at a terminal. Used
// only when standard input and standard output are both terminals on POSIX
// and TERM is not "dumb"; everywhere else lines are read plainly
// (line_reader.cpp), and the Windows console edits and recalls lines
// itself. The editor draws the prompt, so that its redraws of a long or
// edited line know where the line starts.
#ifndef ZAV_PLATFORM_LINE_EDITOR_H_
#define ZAV_PLATFORM_LINE_EDITOR_H_

#include <string>
#include <vector>

#include "platform/console.h"

namespace zav {

enum class ReadStatus {
  line,         // a whole line, without its line feed
  interrupted,  // the read failed (Ctrl-C at the prompt); input goes on
  ended,        // end of input; `line` keeps any text read before it
};

// What Tab may complete a word to.
struct CompletionCandidates {
  // True when the word takes file names, which the line editor completes
  // itself; `names` is then empty.
  bool fileNames = false;
  // The candidates that begin with the word, sorted byte-wise, no doubles.
  std::vector<std::string> names;
};
// The shell says what a word may become (the command store lives above this
// layer); `lineBefore` is the line up to the word.
using CompletionProvider = CompletionCandidates (*)(const std::string& lineBefore,
                                                    const std::string& word);
void setCompletionProvider(CompletionProvider provider);

// Whether lines are read through the editor. Decided once.
bool lineEditorIsActive();

// Draws the prompt (`name` in the current colour, "> " in `promptColour`)
// and reads one line. The caller has written the line feed in front of it.
// Ctrl-C discards the line (interrupted); Ctrl-D on an empty line, or the
// terminal going away, is the end of input. `line` is empty unless a line
// was read.
ReadStatus editPromptedLine(std::string& line, const std::string& name,
                            platform::TextAttribute promptColour);

// Reads one line that starts out holding `initialText`. `shownPrompt` is the
// text the caller has just written from the start of the current line; the
// editor draws it again over itself so that its redraws stay in place.
ReadStatus editInputLine(std::string& line, const std::string& initialText,
                         const std::string& shownPrompt);

// Adds a line to the editor's recall list (Up and Down). The shell's own
// history file is the only one: the editor keeps no file of its own.
void rememberAcceptedLine(const std::string& line);

}  // namespace zav

#endif  // ZAV_PLATFORM_LINE_EDITOR_H_
