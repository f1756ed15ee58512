// Where a line-keyword construct can begin. Most patterns of the definition
// language and of ZAV.cfg begin with "^" and white space in front of a fixed
// keyword ("^[\s\t]*L\.", "^\s*TSHARK_EXE_PATH"). A search engine tries such a
// pattern at every line start, and inside a long run of white space every
// line start reads the rest of the run again: quadratic. The keyword, found
// as plain text, names the only places where a match can begin.
#ifndef ZAV_TEXT_LINE_KEYWORD_H_
#define ZAV_TEXT_LINE_KEYWORD_H_

#include <cstddef>
#include <string_view>

#include "text/regex.h"

namespace zav {

// The characters "\s" stands for: blank, tab, LF, CR, VT and FF.
inline bool isPatternSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

struct LineKeyword {
  size_t begin = 0;      // where "^" holds: the match's start
  size_t keywordAt = 0;  // where the keyword stands
};

// The first occurrence of `keyword` at or after `from` that has only white
// space between it and an earlier line start, with the earliest such line
// start at or after `from` ("^" holds at the start of the text and behind
// every line feed; for a rest searched as a new text also at `from`). Every
// character is read a bounded number of times over a walk of successive
// calls, as each call reads backwards only over the white space in front of
// one keyword.
bool findLineKeyword(std::string_view text, std::string_view keyword, size_t from, SearchFrom mode,
                     LineKeyword& found);

// Leftmost match of `anchoredPattern` (a Regex compiled with
// RegexAnchor::atStart from a pattern "^<white space>*<keyword>...") at or
// after `start`, tried only where findLineKeyword finds the keyword. Gives
// the same match as the unanchored pattern's search would, provided that
// the pattern's leading white space is followed by the keyword. On `error`
// (the engine gave up on one candidate) group 0 of `match` spans that
// candidate's start and keyword, so a walk can go on behind it.
SearchStatus searchLineKeyword(const Regex& anchoredPattern, std::string_view keyword,
                               std::string_view text, RegexMatch& match, size_t start = 0,
                               SearchFrom mode = SearchFrom::sameText);

}  // namespace zav

#endif  // ZAV_TEXT_LINE_KEYWORD_H_
