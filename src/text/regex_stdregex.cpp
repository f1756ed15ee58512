// The standard library's std::regex behind the Regex interface, for builds
// where PCRE2 is not available (the MinGW cross build). ECMAScript with
// multiline is the grammar the shell's patterns were written for; two
// things differ from the PCRE2 engine and are the reason PCRE2 is preferred:
// the matcher recurses once per character of a match, so a very long match
// can exhaust the stack (the Windows executable reserves a large stack for
// it), and it has no resource limit, so a runaway pattern runs on instead of
// reporting an error.
#include "text/regex.h"

#include <locale>
#include <regex>

namespace zav {

namespace {

// ECMAScript counts a carriage return as a line end, so libstdc++ lets "^"
// and "$" hold next to a lone CR; the shell's grammar knows only LF. The
// matcher decides what ends a line by narrowing the character through the
// pattern's locale, so a locale in which CR narrows to nothing gives "^" and
// "$" the LF-only meaning while "\s", "\r" and "." keep treating CR as CR.
class LineFeedOnlyCtype : public std::ctype<char> {
 protected:
  using std::ctype<char>::do_narrow;
  char do_narrow(char c, char fallback) const override {
    return c == '\r' ? fallback : std::ctype<char>::do_narrow(c, fallback);
  }
};

const std::locale& lineFeedOnlyLocale() {
  static const std::locale locale(std::locale::classic(), new LineFeedOnlyCtype);
  return locale;
}

}  // namespace

struct Regex::Impl {
  std::regex compiled;
  bool valid = false;
  bool anchored = false;
};

Regex::Regex(std::string_view pattern, RegexAnchor anchor) : pattern_(pattern), impl_(new Impl) {
  impl_->anchored = anchor == RegexAnchor::atStart;
  // std::regex reports a pattern that does not compile only by throwing;
  // here that becomes an invalid object, as with the other engine.
  try {
    impl_->compiled.imbue(lineFeedOnlyLocale());
    impl_->compiled.assign(pattern_, std::regex::ECMAScript | std::regex::multiline);
    impl_->valid = true;
  } catch (const std::regex_error&) {
    impl_->valid = false;
  }
}

Regex::~Regex() = default;

RegexEngine regexEngine() { return RegexEngine::standardLibrary; }

bool Regex::valid() const { return impl_->valid; }

size_t Regex::groupCount() const { return impl_->valid ? impl_->compiled.mark_count() : 0; }

SearchStatus Regex::search(std::string_view text, RegexMatch& match, size_t start,
                           SearchFrom from) const {
  if (!valid() || start > text.size()) return SearchStatus::error;
  static const char kEmpty[] = "";
  const char* const textBegin = text.data() ? text.data() : kEmpty;
  // In the same text the character before the start decides "^"; a rest
  // searched as a new text has nothing before it.
  auto flags = std::regex_constants::match_default;
  if (start > 0 && from == SearchFrom::sameText) flags |= std::regex_constants::match_prev_avail;
  if (impl_->anchored) flags |= std::regex_constants::match_continuous;
  std::cmatch found;
  try {
    if (!std::regex_search(textBegin + start, textBegin + text.size(), found, impl_->compiled,
                           flags))
      return SearchStatus::notFound;
  } catch (const std::regex_error&) {
    // error_complexity / error_stack: the engine gave up.
    return SearchStatus::error;
  }
  match.groups.assign(found.size(), {RegexMatch::npos, RegexMatch::npos});
  for (size_t i = 0; i < found.size(); ++i) {
    if (!found[i].matched) continue;
    const size_t begin = static_cast<size_t>(found[i].first - textBegin);
    match.groups[i] = {begin, begin + static_cast<size_t>(found[i].length())};
  }
  return SearchStatus::found;
}

}  // namespace zav
