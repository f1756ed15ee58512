// PCRE2 behind the Regex interface. PCRE2's own flags are chosen so that the
// shell's ECMAScript-style patterns match as documented in regex.h:
// MULTILINE with LF as the only newline gives "^"/"$" at line feeds and never
// at a lone carriage return; ALT_CIRCUMFLEX lets "^" hold after a line feed
// that ends the text, as ECMAScript's multiline mode does.
#include "text/regex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

namespace zav {

namespace {

// One JIT stack for the whole process (the shell is single-threaded). Long
// matches over large command files need more than PCRE2's 32 KiB default.
pcre2_jit_stack* sharedJitStack() {
  static pcre2_jit_stack* stack = pcre2_jit_stack_create(64 * 1024, 16 * 1024 * 1024, nullptr);
  return stack;
}

pcre2_match_context* sharedMatchContext() {
  static pcre2_match_context* context = [] {
    pcre2_match_context* created = pcre2_match_context_create(nullptr);
    if (created && sharedJitStack()) pcre2_jit_stack_assign(created, nullptr, sharedJitStack());
    // The interpreter's backtracking memory; the default of 20 MB is too
    // small for a pattern that runs across a 10 MB text.
    if (created) pcre2_set_heap_limit(created, 256 * 1024);  // KiB
    return created;
  }();
  return context;
}

}  // namespace

struct Regex::Impl {
  pcre2_code* code = nullptr;
  pcre2_match_data* matchData = nullptr;
  size_t groupCount = 0;

  ~Impl() {
    if (matchData) pcre2_match_data_free(matchData);
    if (code) pcre2_code_free(code);
  }
};

Regex::Regex(std::string_view pattern, RegexAnchor anchor) : pattern_(pattern), impl_(new Impl) {
  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  pcre2_set_newline(context, PCRE2_NEWLINE_LF);
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  // Anchoring is compiled in rather than asked for per search: the JIT does
  // not run searches anchored at match time.
  uint32_t options = PCRE2_MULTILINE | PCRE2_ALT_CIRCUMFLEX;
  if (anchor == RegexAnchor::atStart) options |= PCRE2_ANCHORED;
  impl_->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern_.data()), pattern_.size(),
                              options, &errorCode, &errorOffset, context);
  pcre2_compile_context_free(context);
  if (!impl_->code) return;
  pcre2_jit_compile(impl_->code, PCRE2_JIT_COMPLETE);  // falls back to the interpreter
  uint32_t captures = 0;
  pcre2_pattern_info(impl_->code, PCRE2_INFO_CAPTURECOUNT, &captures);
  impl_->groupCount = captures;
  impl_->matchData = pcre2_match_data_create_from_pattern(impl_->code, nullptr);
}

Regex::~Regex() = default;

RegexEngine regexEngine() { return RegexEngine::pcre2; }

bool Regex::valid() const { return impl_->code != nullptr && impl_->matchData != nullptr; }

size_t Regex::groupCount() const { return impl_->groupCount; }

SearchStatus Regex::search(std::string_view text, RegexMatch& match, size_t start,
                           SearchFrom from) const {
  if (!valid() || start > text.size()) return SearchStatus::error;
  // A rest searched as a new text is handed over as its own subject, so the
  // engine cannot look behind its start.
  size_t base = from == SearchFrom::restAsNewText ? start : 0;
  size_t offset = start - base;
  int rc = pcre2_match(impl_->code, reinterpret_cast<PCRE2_SPTR>(text.data() + base),
                       text.size() - base, offset, 0, impl_->matchData, sharedMatchContext());
  if (rc == PCRE2_ERROR_NOMATCH) return SearchStatus::notFound;
  if (rc < 0) return SearchStatus::error;
  PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(impl_->matchData);
  size_t groups = impl_->groupCount + 1;
  match.groups.assign(groups, {RegexMatch::npos, RegexMatch::npos});
  for (size_t i = 0; i < groups && i < static_cast<size_t>(rc); ++i) {
    if (ovector[2 * i] == PCRE2_UNSET) continue;
    match.groups[i] = {ovector[2 * i] + base, ovector[2 * i + 1] + base};
  }
  return SearchStatus::found;
}

}  // namespace zav
