// Reading lines from standard input, at the prompt and for `ulogic`.
#ifndef ZAV_CORE_LINE_READER_H_
#define ZAV_CORE_LINE_READER_H_

#include <string>

namespace zav {

enum class ReadStatus {
  line,         // a whole line, without its line feed
  interrupted,  // the read failed (Ctrl-C at the prompt); input goes on
  ended,        // end of input; `line` keeps any text read before it
};

// Writes the prompt ("ZAV" in the current colour, "> " in bright green,
// after a line feed) and reads one line.
ReadStatus readPromptedLine(std::string& line);

// Reads one line with no prompt of its own (the caller has written one).
// On a terminal with line editing, the line starts out holding
// `initialText` for the user to edit; elsewhere `initialText` is unused.
ReadStatus readInputLine(std::string& line, const std::string& initialText = std::string());

}  // namespace zav

#endif  // ZAV_CORE_LINE_READER_H_
