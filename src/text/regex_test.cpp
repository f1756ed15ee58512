// The wrapper against the standard library's ECMAScript engine, the
// behaviour the definition language was written for, on every pattern the
// shell uses: searched plainly and at its keyword lines, and replaced.
// std::regex is the oracle only on small inputs (it overflows its stack on
// long matches) and only without carriage returns: libstdc++ takes a lone
// CR for a line end, which the shell's grammar does not.
#include "text/regex.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "text/line_keyword.h"
#include "text/patterns.h"

namespace zav {
namespace {

using Groups = std::vector<std::pair<size_t, size_t>>;  // empty: no match

Groups oracleSearch(const std::regex& re, const std::string& text, size_t start, bool asNew) {
  std::smatch m;
  Groups groups;
  if (std::regex_search(text.begin() + start, text.end(), m, re,
                        start > 0 && !asNew ? std::regex_constants::match_prev_avail
                                            : std::regex_constants::match_default))
    for (size_t i = 0; i < m.size(); ++i)
      groups.push_back(
          m[i].matched ? Groups::value_type(m[i].first - text.begin(), m[i].second - text.begin())
                       : Groups::value_type(RegexMatch::npos, RegexMatch::npos));
  return groups;
}

Groups groupsOf(SearchStatus status, const RegexMatch& match) {
  return status == SearchStatus::found ? match.groups : Groups();
}

TEST(RegexOracle, EveryPatternLikeEcmaScriptMultiline) {
  using namespace patterns;
  // Each pattern with the keyword of those the shell runs at keyword lines.
  // clang-format off
  std::vector<std::pair<std::string, std::string>> all = {
      {configSetting("TSHARK_EXE_PATH"), "TSHARK_EXE_PATH"}, {includeLine, "#include"},
      {auxiliaryLogicLine, "L."}, {mcu, "MCU("}, {commandBlock(blockHeaderZav), ""},
      {commandBlock(blockHeaderWin), ""}, {tagWord, ""}, {insertMarkerNamed, ""},
      {insertMarker, ""}, {callMarkerNamed, ""}, {callMarker, ""}, {listMarker, ""},
      {listMarkerNamed, ""}, {listFileLine, ""}, {icNameSplitter, ""}};
  // clang-format on
  for (const char* position : {"Prefix", "Suffix"})
    for (const char* type : {"ZAV", "WIN"})
      for (const std::string& p :
           {icGlobal(position, type), icSpecific(position, type), icExclusion(position, type)})
        all.push_back({p, std::string(position) + "." + type});
  // The grammar's tokens, white space of every kind but CR, and whole constructs.
  // clang-format off
  const std::vector<std::string> tokens = {
      "ZAV()", "WIN()", "->", "hide", "{", "}", "};", "NAME", "LOGIC", "INFO", "TAG", "=", " = ",
      "\n\n\n", "  \n", "\n\t\n ", "// c\n// d\n", "\n// c\n\n", "L.", "L.f", "abc", "x_1", "a|b",
      "||", " ", "\t", "\n", "\n", "\v", "\f", "//", "MCU(", "MCU(u)", ")", "(", "#include", "<",
      ">", "<a.zav>", "[INSERT(", "[INSERT(f)]", ")]", "[CALL(A)]", "[CALL(", "[%_LIST<", ">_%]",
      "[%_PRINT<h>_%]", "Prefix", "Suffix", ".ZAV", ".WIN", "Prefix.ZAV", "Suffix.WIN", "{*}", "*",
      "!a", "!", ",", ", ", "// c\n", "[%_PRINT<", "[", "]", "[L.f]", ";", "TSHARK_EXE_PATH",
      "x\x01y", std::string(1, '\0')};
  std::vector<std::string> inputs = {
      "ZAV() {\n NAME = dns\n LOGIC = -Y dns\n INFO = DNS\n TAG = net|web|net||dns\n}\n",
      "WIN()->hide{\nL.f = x\n// c\nNAME=w\nLOGIC=dir\n// c2\nINFO= i }",
      "Prefix.ZAV = { * } -> [ L.a ] Prefix.ZAV = {*} -> [L.b]\nSuffix.WIN = {d,\n l} -> [L.t]",
      "Prefix.ZAV = {!raw, !b}\n   [%_PRINT<T>_%]tcp\n[%_LIST<a>b>_%] [INSERT( a)][CALL(B)]"};
  // clang-format on
  std::mt19937 engine(20261206);
  for (int i = 0; i < 400; ++i) {
    std::string text;
    for (size_t n = 1 + engine() % 14; n > 0; --n) text += tokens[engine() % tokens.size()];
    inputs.push_back(text);
  }
  const char* format = "<$&|$1$2$12$0$01|$`|$'|$$$x$";
  size_t comparisons = 0, found = 0;
  for (const auto& [pattern, keyword] : all) {
    Regex wrapper(pattern), anchored(pattern, RegexAnchor::atStart);
    std::regex oracle(pattern, std::regex::ECMAScript | std::regex::multiline);
    for (const std::string& text : inputs) {
      std::string each = text, first = text;
      replaceAll(each, wrapper, format);
      replaceFirst(first, wrapper, format);
      ASSERT_EQ(each, std::regex_replace(text, oracle, format)) << pattern << " on " << text;
      ASSERT_EQ(first,
                std::regex_replace(text, oracle, format, std::regex_constants::format_first_only));
      for (size_t start = 0; start <= text.size(); ++start)
        for (SearchFrom from : {SearchFrom::sameText, SearchFrom::restAsNewText}) {
          const Groups expected =
              oracleSearch(oracle, text, start, from == SearchFrom::restAsNewText);
          RegexMatch match;
          found += !expected.empty();
          ++comparisons;
          ASSERT_EQ(groupsOf(wrapper.search(text, match, start, from), match), expected)
              << pattern << "\non [" << text << "] from " << start;
          if (keyword.empty()) continue;
          ASSERT_EQ(groupsOf(searchLineKeyword(anchored, keyword, text, match, start, from), match),
                    expected)
              << "at keyword lines: " << pattern << "\non [" << text << "] from " << start;
        }
    }
  }
  EXPECT_GT(found, comparisons / 20);  // the inputs exercise the patterns
}

// Where the oracle cannot speak: only LF ends a line, in both engines,
// while "\s" and "[^\n]" still take a CR; an engine that gives up reports
// an error, not a miss.
TEST(Regex, LoneCarriageReturnIsNoLineEndAndGivingUpIsAnError) {
  using S = SearchStatus;
  // clang-format off
  const std::tuple<const char*, const char*, S> rows[] = {
      {"^x", "a\rx", S::notFound}, {"^b", "a\r\nb", S::found}, {"a$", "a\rb", S::notFound},
      {"a$", "a\r\nb", S::notFound}, {"a\\s[^\\n]b", "a\r\rb", S::found},
      {"^(a+)+$", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", S::error}};
  // clang-format on
  for (const auto& [pattern, text, status] : rows) {
    RegexMatch match;
    if (status != S::error || regexEngine() == RegexEngine::pcre2) {
      EXPECT_EQ(Regex(pattern).search(text, match), status) << pattern;
    }
  }
}

}  // namespace
}  // namespace zav
