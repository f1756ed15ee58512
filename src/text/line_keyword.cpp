#include "text/line_keyword.h"

namespace zav {

bool findLineKeyword(std::string_view text, std::string_view keyword, size_t from, SearchFrom mode,
                     LineKeyword& found) {
  for (size_t at = text.find(keyword, from); at != std::string_view::npos;
       at = text.find(keyword, at + 1)) {
    size_t space = at;
    while (space > from && isPatternSpace(text[space - 1])) --space;
    size_t begin = std::string_view::npos;
    bool lineStartAtSpace = space == 0 || text[space - 1] == '\n' ||
                            (space == from && mode == SearchFrom::restAsNewText);
    if (lineStartAtSpace) {
      begin = space;
    } else {
      size_t lineFeed = text.substr(0, at).find('\n', space);
      if (lineFeed != std::string_view::npos) begin = lineFeed + 1;
    }
    if (begin == std::string_view::npos) continue;
    found.begin = begin;
    found.keywordAt = at;
    return true;
  }
  return false;
}

SearchStatus searchLineKeyword(const Regex& anchoredPattern, std::string_view keyword,
                               std::string_view text, RegexMatch& match, size_t start,
                               SearchFrom mode) {
  LineKeyword candidate;
  for (size_t from = start;
       from <= text.size() && findLineKeyword(text, keyword, from, mode, candidate);
       from = candidate.keywordAt + 1) {
    // The candidate is a line start in both views of the text, so searching
    // from it as a new text or in the same text sees "^" alike.
    SearchStatus status = anchoredPattern.search(text, match, candidate.begin, mode);
    if (status == SearchStatus::error) {
      // Tell the caller where, so that a walk can go on behind this keyword.
      match.groups.assign(1, {candidate.begin, candidate.keywordAt + keyword.size()});
    }
    if (status != SearchStatus::notFound) return status;
  }
  return SearchStatus::notFound;
}

}  // namespace zav
