#include "defs/block_matcher.h"

#include <algorithm>
#include <vector>

#include "text/line_keyword.h"

namespace zav {

namespace {

bool isLineEndChar(char c) { return c == '\n' || c == '\r'; }

bool isNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

bool isTagChar(char c) { return isNameChar(c) || c == '|'; }

constexpr size_t kMaxNameLength = 64;

}  // namespace

BlockMatcher::BlockMatcher(std::string_view text, std::string_view keyword)
    : text_(text), keyword_(keyword) {}

bool BlockMatcher::next(size_t from, BlockMatch& match) {
  LineKeyword candidate;
  for (; from <= text_.size() &&
         findLineKeyword(text_, keyword_, from, SearchFrom::sameText, candidate);
       from = candidate.keywordAt + 1) {
    // A block reads only lines behind its keyword, and the keywords come in
    // text order.
    forgetLinesUpTo(candidate.keywordAt);
    if (matchAt(candidate.begin, candidate.keywordAt, match)) return true;
  }
  return false;
}

void BlockMatcher::forgetLinesUpTo(size_t position) {
  while (firstLive_ < lines_.size() && lines_[firstLive_].start <= position) ++firstLive_;
  if (firstLive_ == lines_.size()) {
    lines_.clear();
    runs_.clear();
    firstLive_ = 0;
  } else if (firstLive_ > 64 && firstLive_ * 2 > lines_.size()) {
    lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(firstLive_));
    firstLive_ = 0;
  }
}

// The first live entry at or behind `lineStart`. Lines are mostly read at
// the end of what was read before, which the first test answers.
size_t BlockMatcher::findLine(size_t lineStart) const {
  if (lines_.size() == firstLive_ || lines_.back().start < lineStart) return lines_.size();
  auto first = lines_.begin() + static_cast<std::ptrdiff_t>(firstLive_);
  return static_cast<size_t>(
      std::lower_bound(first, lines_.end(), lineStart,
                       [](const LineMemo& line, size_t start) { return line.start < start; }) -
      lines_.begin());
}

size_t BlockMatcher::skipSpace(size_t position) const {
  while (position < text_.size() && isPatternSpace(text_[position])) ++position;
  return position;
}

size_t BlockMatcher::lineEnd(size_t position) const {
  while (position < text_.size() && !isLineEndChar(text_[position])) ++position;
  return position;
}

bool BlockMatcher::startsWith(size_t position, std::string_view literal) const {
  return position <= text_.size() && text_.size() - position >= literal.size() &&
         text_.compare(position, literal.size(), literal) == 0;
}

// The pieces end in "[\r\n]*" and the next keyword line begins with
// "^[\s\t]*": the line ends behind a piece must hold a line feed for "^" to
// hold anywhere in them. Where the split falls does not matter, since the
// next line's white space takes the rest; the last line feed is taken.
BlockMatcher::Cursor BlockMatcher::cursorAfter(size_t position) const {
  Cursor cursor;
  cursor.after = position;
  for (size_t at = position; at < text_.size() && isLineEndChar(text_[at]); ++at)
    if (text_[at] == '\n') cursor.lineStart = at + 1;
  return cursor;
}

// "^[\s\t]*KEY[\s\t]*=": the position behind "=", or npos.
size_t BlockMatcher::keyAndEquals(size_t lineStart, std::string_view key) const {
  size_t at = skipSpace(lineStart);
  if (!startsWith(at, key)) return npos;
  at = skipSpace(at + key.size());
  return at < text_.size() && text_[at] == '=' ? at + 1 : npos;
}

// "\s?([^\r\n]+)": one white-space character is left out when the rest of
// its line is not empty; otherwise the value starts right behind "=".
bool BlockMatcher::lineValue(size_t from, TextSpan& value) const {
  if (from < text_.size() && isPatternSpace(text_[from])) {
    size_t end = lineEnd(from + 1);
    if (end > from + 1) {
      value = {from + 1, end};
      return true;
    }
  }
  if (from >= text_.size() || isLineEndChar(text_[from])) return false;
  value = {from, lineEnd(from)};
  return true;
}

// One Auxiliary Logic or comment line from a line start: the position behind
// its text, or npos. `brace` is set to the last "}" of a comment's text.
size_t BlockMatcher::lineItem(LineKind kind, size_t lineStart, size_t& brace) const {
  size_t at = skipSpace(lineStart);
  if (kind == LineKind::comment) {
    if (!startsWith(at, "//")) return npos;
    size_t end = lineEnd(at + 2);
    size_t last = text_.substr(at + 2, end - (at + 2)).rfind('}');
    brace = last != std::string_view::npos ? at + 2 + last : npos;
    return end;
  }
  if (!startsWith(at, "L.")) return npos;
  at += 2;
  size_t name = at;
  while (at < text_.size() && isNameChar(text_[at])) ++at;
  if (at == name || at - name > kMaxNameLength) return npos;
  at = skipSpace(at);
  if (at >= text_.size() || text_[at] != '=') return npos;
  TextSpan value;
  return lineValue(at + 1, value) ? value.end : npos;
}

// A run of lines of one kind, "(?:^...[\r\n]*)*". Its lines are matched
// greedily and each has one way to match, so the run ends where the first
// line that is not of the kind begins. Runs are remembered by every line they
// passed, so a later block whose header is the value of a line inside the run
// (a fragment "L.x =" followed by "ZAV() {") reuses the run instead of reading
// it again.
BlockMatcher::RunEnd BlockMatcher::run(LineKind kind, Cursor cursor) {
  const int k = static_cast<int>(kind);
  RunEnd result{cursor, npos};
  if (cursor.lineStart == npos) return result;
  size_t at = findLine(cursor.lineStart);
  if (at < lines_.size() && lines_[at].start == cursor.lineStart && lines_[at].run[k] != 0) {
    result = runs_[lines_[at].run[k] - 1];
    if (result.lastBrace != npos && result.lastBrace < cursor.lineStart) result.lastBrace = npos;
    return result;
  }
  members_.clear();
  while (result.end.lineStart != npos) {
    const size_t line = result.end.lineStart;
    while (at < lines_.size() && lines_[at].start < line) ++at;
    const bool listed = at < lines_.size() && lines_[at].start == line;
    if (listed && lines_[at].run[k] != 0) {
      const RunEnd& later = runs_[lines_[at].run[k] - 1];
      if (later.lastBrace != npos && later.lastBrace >= line) result.lastBrace = later.lastBrace;
      result.end = later.end;
      break;
    }
    size_t brace = npos;
    size_t end = lineItem(kind, line, brace);
    if (end == npos) break;
    // Members come in text order, so an entry put in here never moves one
    // taken before it.
    if (!listed) lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), LineMemo{line});
    members_.push_back(at);
    if (brace != npos) result.lastBrace = brace;
    result.end = cursorAfter(end);
  }
  if (members_.empty()) return result;
  runs_.push_back(result);
  const auto id = static_cast<std::uint32_t>(runs_.size());
  for (size_t member : members_) lines_[member].run[k] = id;
  return result;
}

// "COMMENT TAG COMMENT CLOSE". The pattern tries the longest run of comment
// lines, the TAG line, and "[\s\t]*}" behind them; when that fails it gives
// lines back, and a comment line then may end early, right before a "}" in
// its own text (the last one): "// note }" closes the block.
bool BlockMatcher::matchTail(Cursor cursor, Tail& tail) {
  RunEnd comments = run(LineKind::comment, cursor);
  size_t tagEquals =
      comments.end.lineStart == npos ? npos : keyAndEquals(comments.end.lineStart, "TAG");
  if (tagEquals != npos) {
    size_t words = skipSpace(tagEquals);
    size_t wordsEnd = words;
    while (wordsEnd < text_.size() && isTagChar(text_[wordsEnd])) ++wordsEnd;
    if (wordsEnd > words) {
      RunEnd after = run(LineKind::comment, cursorAfter(wordsEnd));
      size_t close = skipSpace(after.end.after);
      if (close < text_.size() && text_[close] == '}') {
        tail = {close + 1, {words, wordsEnd}};
        return true;
      }
      if (after.lastBrace != npos) {
        tail = {after.lastBrace + 1, {words, wordsEnd}};
        return true;
      }
    }
  }
  size_t close = skipSpace(comments.end.after);
  if (close < text_.size() && text_[close] == '}') {
    tail = {close + 1, {}};
    return true;
  }
  if (comments.lastBrace != npos) {
    tail = {comments.lastBrace + 1, {}};
    return true;
  }
  return false;
}

// "^[\s\t]*INFO[\s\t]*=[\s\t]*([^\r\n]+)[\r\n]*" and the tail. The white
// space before the info may cross lines, and when the tail fails behind the
// whole info line the pattern gives characters back, in this order:
//  1. the info is the rest of the line from its first character R;
//  2. the info ends before the last "}" on that line, which closes the block;
//  3. the info is the one blank right before a "}" at R, which closes it;
//  4. the info is the last character of an earlier line of the white space
//     (always a blank, tab, VT or FF), and the tail begins at R: as a plain
//     "[\s\t]*}" when no line feed follows that character, in full otherwise.
// Giving back inside one line never helps otherwise: the tail would begin at
// the same line end.
bool BlockMatcher::matchInfoAndTail(size_t lineStart, BlockMatch& match) {
  size_t equals = keyAndEquals(lineStart, "INFO");
  if (equals == npos) return false;
  size_t first = skipSpace(equals);
  Tail tail;
  if (first < text_.size()) {
    size_t end = lineEnd(first);
    if (matchTail(cursorAfter(end), tail)) {
      match.info = {first, end};
      match.end = tail.end;
      match.tags = tail.tags;
      return true;
    }
    size_t brace = text_.substr(first + 1, end - (first + 1)).rfind('}');
    if (brace != std::string_view::npos) {
      match.info = {first, first + 1 + brace};
      match.end = first + 2 + brace;
      return true;
    }
    if (text_[first] == '}' && first > equals && !isLineEndChar(text_[first - 1])) {
      match.info = {first - 1, first};
      match.end = first + 1;
      return true;
    }
  }
  const bool closesAtFirst = first < text_.size() && text_[first] == '}';
  int fullTail = -1;  // not yet tried; the same for every earlier line
  Tail fullTailResult;
  for (size_t at = first; at > equals + 1; --at) {
    size_t last = at - 2;  // a candidate: the last character of a line
    if (isLineEndChar(text_[last]) || !isLineEndChar(text_[last + 1])) continue;
    Cursor cursor = cursorAfter(last + 1);
    bool matched = false;
    if (cursor.lineStart != npos) {
      if (fullTail < 0) fullTail = matchTail(cursor, fullTailResult) ? 1 : 0;
      if (fullTail == 1) {
        tail = fullTailResult;
        matched = true;
      }
    } else if (closesAtFirst) {
      tail = {first + 1, {}};
      matched = true;
    }
    if (matched) {
      match.info = {last, last + 1};
      match.end = tail.end;
      match.tags = tail.tags;
      return true;
    }
  }
  return false;
}

bool BlockMatcher::matchAt(size_t begin, size_t keywordAt, BlockMatch& match) {
  match = BlockMatch{};
  match.begin = begin;
  size_t at = skipSpace(keywordAt + keyword_.size());
  if (startsWith(at, "->")) {
    size_t word = skipSpace(at + 2);
    if (!startsWith(word, "hide")) return false;
    match.hide = {at, word + 4};
    at = skipSpace(word + 4);
  }
  if (at >= text_.size() || text_[at] != '{') return false;
  // The header's white space runs on to the first line; "^" needs a line
  // feed in it.
  Cursor cursor;
  cursor.after = at + 1;
  size_t bodyStart = skipSpace(at + 1);
  size_t lastLineFeed = text_.substr(at + 1, bodyStart - (at + 1)).rfind('\n');
  if (lastLineFeed == std::string_view::npos) return false;
  cursor.lineStart = at + 2 + lastLineFeed;

  // What follows the first run of Auxiliary Logic lines depends on nothing
  // else, and headers nested in that run's values all end it at the same
  // place: the last answer serves them all.
  cursor = run(LineKind::auxiliary, cursor).end;
  if (cursor.lineStart != npos && cursor.lineStart == afterAuxiliary_) {
    match.name = last_.name;
    match.logic = last_.logic;
    match.info = last_.info;
    match.tags = last_.tags;
    match.end = last_.end;
    return lastFound_;
  }
  afterAuxiliary_ = cursor.lineStart;
  lastFound_ = matchBody(cursor, match);
  last_ = match;
  return lastFound_;
}

// Everything behind the first run of Auxiliary Logic lines.
bool BlockMatcher::matchBody(Cursor cursor, BlockMatch& match) {
  // AUXLINES COMMENT AUXLINES COMMENT: each run is greedy and the kinds of
  // line differ, so the longest split is the only one NAME can follow.
  cursor = run(LineKind::comment, cursor).end;
  cursor = run(LineKind::auxiliary, cursor).end;
  cursor = run(LineKind::comment, cursor).end;

  if (cursor.lineStart == npos) return false;
  size_t equals = keyAndEquals(cursor.lineStart, "NAME");
  if (equals == npos) return false;
  size_t name = skipSpace(equals);
  size_t nameEnd = name;
  while (nameEnd < text_.size() && isNameChar(text_[nameEnd])) ++nameEnd;
  if (nameEnd == name || nameEnd - name > kMaxNameLength) return false;
  match.name = {name, nameEnd};
  cursor = run(LineKind::comment, cursorAfter(nameEnd)).end;

  if (cursor.lineStart == npos) return false;
  equals = keyAndEquals(cursor.lineStart, "LOGIC");
  if (equals == npos || !lineValue(equals, match.logic)) return false;
  cursor = run(LineKind::comment, cursorAfter(match.logic.end)).end;

  if (cursor.lineStart == npos) return false;
  return matchInfoAndTail(cursor.lineStart, match);
}

}  // namespace zav
