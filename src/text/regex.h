// The shell's one pattern engine. Every definition-language pattern goes
// through this wrapper, which gives ECMAScript matching semantics for the
// patterns the shell uses: "^" holds at the start of the searched text and
// after every line feed, "$" at the end and before every line feed (never
// before a lone carriage return), "\s" is blank, tab, LF, CR, VT and FF.
// Texts are byte strings and may hold NUL bytes.
#ifndef ZAV_TEXT_REGEX_H_
#define ZAV_TEXT_REGEX_H_

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zav {

// One successful match. Offsets are relative to the text handed to the
// search, whatever the start position.
struct RegexMatch {
  static constexpr size_t npos = static_cast<size_t>(-1);
  // begin/end per group; group 0 is the whole match. A group that took no
  // part in the match has begin == npos.
  std::vector<std::pair<size_t, size_t>> groups;

  size_t begin() const { return groups[0].first; }
  size_t end() const { return groups[0].second; }
  bool matched(size_t group) const { return group < groups.size() && groups[group].first != npos; }
  // The group's text, or the empty text when it took no part.
  std::string group(std::string_view text, size_t group) const;
};

enum class SearchStatus { found, notFound, error };

// How a search that starts inside a text sees that start position.
enum class SearchFrom {
  // Continue in the same text: "^" holds at the start position only when it
  // is the start of the text or follows a line feed.
  sameText,
  // Treat the rest of the text as a new text: "^" holds at its start.
  restAsNewText,
};

// Where a search may find its match: anywhere from the start position on,
// or only exactly at it (for a caller that already knows where a match can
// begin, see text/line_keyword.h).
enum class RegexAnchor { anywhere, atStart };

class Regex {
 public:
  // Compiles the pattern once (JIT when the library has it). A pattern that
  // does not compile leaves the object invalid; every search then reports
  // an error. The shell's own patterns all compile.
  explicit Regex(std::string_view pattern, RegexAnchor anchor = RegexAnchor::anywhere);
  ~Regex();
  Regex(const Regex&) = delete;
  Regex& operator=(const Regex&) = delete;

  bool valid() const;
  const std::string& pattern() const { return pattern_; }
  size_t groupCount() const;  // capture groups, not counting group 0

  // Leftmost match at or after `start`. On `found`, `match` holds offsets
  // into `text`. `error` means the engine gave up (a resource limit): the
  // caller must not take it for "no match".
  SearchStatus search(std::string_view text, RegexMatch& match, size_t start = 0,
                      SearchFrom from = SearchFrom::sameText) const;

  // Convenience: true when a match exists; an engine error counts as none.
  bool contains(std::string_view text) const;

 private:
  struct Impl;
  std::string pattern_;
  std::unique_ptr<Impl> impl_;
};

// The engine behind Regex, chosen when the shell is built: PCRE2, or the
// standard library's std::regex where PCRE2 is not available. std::regex has
// no resource limit (a runaway pattern runs on instead of reporting an
// error) and its recursive matcher can exhaust the stack on long matches.
enum class RegexEngine { pcre2, standardLibrary };
RegexEngine regexEngine();

// Expands an ECMAScript replacement format for one match:
//   $$ -> "$", $& -> the match, $` -> `prefix`, $' -> the text after the
//   match, $n / $nn -> that group (two digits when two follow; a group that
//   does not exist or took no part gives nothing); any other "$" is kept.
// `prefixBegin` is where the text that $` stands for begins (the end of the
// previous match when replacing every match).
void appendFormatted(std::string& out, std::string_view text, const RegexMatch& match,
                     std::string_view format, size_t prefixBegin = 0);

// Replaces the first match of `regex` in `text` by `format` (ECMAScript
// format rules). Returns `found` when a replacement was made.
SearchStatus replaceFirst(std::string& text, const Regex& regex, std::string_view format);

// Replaces every match, walking as the standard library's regex_replace
// does (each search continues in the same text). On an engine error the
// text is left unchanged.
SearchStatus replaceAll(std::string& text, const Regex& regex, std::string_view format);

}  // namespace zav

#endif  // ZAV_TEXT_REGEX_H_
