// Splitting a typed line into words.
#ifndef ZAV_TEXT_WORDS_H_
#define ZAV_TEXT_WORDS_H_

#include <string>
#include <string_view>
#include <vector>

namespace zav {

// Blank, tab, line feed, carriage return, vertical tab, form feed.
inline bool isWordSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The maximal runs of non-whitespace characters, in order. Quotes have no
// meaning; case is kept.
inline std::vector<std::string> splitWords(std::string_view line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isWordSeparator(line[i])) ++i;
    size_t start = i;
    while (i < line.size() && !isWordSeparator(line[i])) ++i;
    if (i > start) words.emplace_back(line.substr(start, i - start));
  }
  return words;
}

}  // namespace zav

#endif  // ZAV_TEXT_WORDS_H_
