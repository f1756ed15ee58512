// The wrapper against the standard library's ECMAScript engine, the
// behaviour the definition language was written for, on every pattern the
// shell uses. std::regex is the oracle only on small inputs (it overflows
// its stack on long matches) and only without carriage returns: libstdc++
// takes a lone CR for a line end, which the shell's grammar does not.
#include "text/regex.h"

#include <gtest/gtest.h>

#include <random>
#include <regex>

#include "text/line_keyword.h"
#include "text/patterns.h"

namespace zav {
namespace {

// Every pattern, with the keyword of those that the shell runs anchored at
// their keyword lines (text/line_keyword.h).
std::vector<std::pair<std::string, std::string>> allPatterns() {
  using namespace patterns;
  std::vector<std::pair<std::string, std::string>> all = {
      {configSetting("TSHARK_EXE_PATH"), "TSHARK_EXE_PATH"},
      {includeLine, "#include"},
      {auxiliaryLogicLine, "L."},
      {mcu, "MCU("},
      {commandBlock(blockHeaderZav), ""},
      {commandBlock(blockHeaderWin), ""},
      {tagWord, ""},
      {insertMarkerNamed, ""},
      {insertMarker, ""},
      {callMarkerNamed, ""},
      {callMarker, ""},
      {listMarker, ""},
      {listMarkerNamed, ""},
      {listFileLine, ""},
      {icNameSplitter, ""}};
  for (const char* position : {"Prefix", "Suffix"})
    for (const char* type : {"ZAV", "WIN"}) {
      std::string keyword = std::string(position) + "." + type;
      all.push_back({icGlobal(position, type), keyword});
      all.push_back({icSpecific(position, type), keyword});
      all.push_back({icExclusion(position, type), keyword});
    }
  return all;
}

// Pieces the random inputs are made of: the grammar's own tokens plus
// white space of every kind but CR.
const std::vector<std::string> kTokens = {
    "ZAV()", "WIN()", "->", "hide", "{", "}", "};", "NAME", "LOGIC", "INFO", "TAG", "=", " = ",
    "\n\n\n", "  \n", "\n\t\n ", "// c\n// d\n", "\n// c\n\n",
    "L.", "L.f", "abc", "x_1", "a|b", "||", " ", "  ", "\t", "\n", "\n", "\v", "\f", "//", "// c\n",
    "MCU(", "MCU(u)", ")", "(", "#include", "<", ">", "<a.zav>", "[INSERT(", "[INSERT(f)]", ")]",
    "[CALL(A)]", "[CALL(", "[%_LIST<", "l.txt", ">_%]", "[%_PRINT<", "[%_PRINT<h>_%]", "[%_ARG_%]",
    "Prefix", "Suffix", ".ZAV", ".WIN", "Prefix.ZAV", "Suffix.WIN", "{*}", "*", "!", "!a", ",",
    ", ", "[", "]", "[L.f]", "%", ";", "$", "TSHARK_EXE_PATH", "x\x01y", std::string(1, '\0')};

const std::vector<std::string> kHandWritten = {
    "",
    "\n",
    "ZAV() {\n NAME = dns\n LOGIC = -Y dns\n INFO = DNS\n TAG = net|web|net||dns\n}\n",
    "WIN()->hide{\nL.f = x\n// c\nNAME=w\nLOGIC=dir\n// c2\nINFO= i }",
    "ZAV() {\nNAME = a b\nLOGIC = x\nINFO = y\n}",
    "ZAV() {\nNAME = x\nLOGIC =\ny\nINFO = z\n}\nZAV(){\nNAME=y\nLOGIC=q\nINFO=r\n}",
    "MCU( daily ){a1};\nMCU(x) {\n  a\n // b\n c  \n};",
    "  #include<x.zav>\n#include <y.zav> \n// #include <z.zav>\n#include <w.zav>",
    "L.flt = abc def\nL.g =abc\nL.h =  abc\n  L.i =\nnext",
    "Prefix.ZAV={*}->[L.a]\nPrefix.ZAV = { * } -> [ L.a ] Prefix.ZAV = {*} -> [L.b]",
    "Suffix.WIN = {dir_all,\n list_tmp,\n x} -> [L.to_file]\nPrefix.ZAV = {!raw, !stats}",
    "Prefix.ZAV = {a, !b} -> [L.x]\nPrefix.ZAV = {!a} -> [L.x]\nprefix.zav = {*} -> [L.x]",
    "<ZAV CONFIGURATION FILE>\n TSHARK_EXE_PATH = /usr/bin/tshark;\nTSHARK_EXE_PATH=  ;",
    "x TSHARK_EXE_PATH = a;\nTSHARK_EXE_PATH = multi\nline;",
    "   [%_PRINT<Transport>_%]tcp\n[%_PRINT<x>_%]\n   \n[%_LIST<a>b>_%] [%_LIST<p.txt>_%]",
    "[INSERT(a)] and [INSERT(nope)] [INSERT( a)] [CALL(B)][CALL(B)]",
};

struct Outcome {
  bool found = false;
  std::vector<std::pair<size_t, size_t>> groups;
  bool operator==(const Outcome& other) const {
    return found == other.found && groups == other.groups;
  }
};

Outcome oracleSearch(const std::regex& re, const std::string& text, size_t start, bool restAsNew) {
  Outcome outcome;
  std::smatch match;
  auto flags = std::regex_constants::match_default;
  if (start > 0 && !restAsNew) flags |= std::regex_constants::match_prev_avail;
  if (!std::regex_search(text.begin() + start, text.end(), match, re, flags)) return outcome;
  outcome.found = true;
  for (size_t i = 0; i < match.size(); ++i) {
    if (!match[i].matched) {
      outcome.groups.push_back({RegexMatch::npos, RegexMatch::npos});
      continue;
    }
    size_t begin = static_cast<size_t>(match[i].first - text.begin());
    outcome.groups.push_back({begin, begin + static_cast<size_t>(match[i].length())});
  }
  return outcome;
}

Outcome wrapperSearch(const Regex& re, const std::string& text, size_t start, bool restAsNew) {
  Outcome outcome;
  RegexMatch match;
  SearchStatus status =
      re.search(text, match, start, restAsNew ? SearchFrom::restAsNewText : SearchFrom::sameText);
  EXPECT_NE(status, SearchStatus::error);
  if (status != SearchStatus::found) return outcome;
  outcome.found = true;
  outcome.groups = match.groups;
  return outcome;
}

std::vector<std::string> oracleInputs() {
  std::vector<std::string> inputs = kHandWritten;
  std::mt19937 engine(20261206);
  std::uniform_int_distribution<size_t> pick(0, kTokens.size() - 1);
  std::uniform_int_distribution<int> length(1, 14);
  for (int i = 0; i < 400; ++i) {
    std::string text;
    for (int n = length(engine); n > 0; --n) text += kTokens[pick(engine)];
    inputs.push_back(text);
  }
  return inputs;
}

TEST(RegexOracle, EveryPatternMatchesLikeEcmaScriptMultiline) {
  const auto inputs = oracleInputs();
  size_t comparisons = 0, foundCount = 0;
  for (const auto& [pattern, keyword] : allPatterns()) {
    Regex wrapper(pattern);
    Regex anchored(pattern, RegexAnchor::atStart);
    ASSERT_TRUE(wrapper.valid()) << pattern;
    std::regex oracle(pattern, std::regex::ECMAScript | std::regex::multiline);
    for (const std::string& text : inputs) {
      ASSERT_EQ(text.find('\r'), std::string::npos);
      for (size_t start = 0; start <= text.size(); ++start) {
        for (bool restAsNew : {false, true}) {
          Outcome expected = oracleSearch(oracle, text, start, restAsNew);
          Outcome actual = wrapperSearch(wrapper, text, start, restAsNew);
          ++comparisons;
          if (expected.found) ++foundCount;
          ASSERT_TRUE(expected == actual)
              << "pattern: " << pattern << "\ninput: [" << text << "] start " << start
              << (restAsNew ? " as new text" : " in same text");
          if (keyword.empty()) continue;
          RegexMatch match;
          SearchStatus status =
              searchLineKeyword(anchored, keyword, text, match, start,
                                restAsNew ? SearchFrom::restAsNewText : SearchFrom::sameText);
          ASSERT_TRUE(expected.found == (status == SearchStatus::found) &&
                      (!expected.found || expected.groups == match.groups))
              << "at its keyword lines: " << pattern << "\ninput: [" << text << "] start "
              << start << (restAsNew ? " as new text" : " in same text");
        }
      }
    }
  }
  // The inputs must exercise the patterns, not only miss them.
  EXPECT_GT(foundCount, comparisons / 20);
}

TEST(RegexOracle, ReplacementFormatsFollowEcmaScript) {
  const std::vector<std::string> formats = {
      "x", "$$", "$&", "$`", "$'", "$1", "$2", "$12", "$0", "$9", "$x", "$", "a$$b$&c", "$$$", "$01",
      "[$&]"};
  const std::vector<std::string> texts = {"a [%_LIST<p.txt>_%] b [%_LIST<q>_%] c",
                                          "[%_LIST<only>_%]", "none here", ""};
  Regex wrapper(patterns::listMarkerNamed);
  std::regex oracle(patterns::listMarkerNamed, std::regex::ECMAScript | std::regex::multiline);
  for (const auto& format : formats) {
    for (const auto& text : texts) {
      std::string all = text;
      replaceAll(all, wrapper, format);
      EXPECT_EQ(all, std::regex_replace(text, oracle, format)) << format << " on " << text;
      std::string first = text;
      replaceFirst(first, wrapper, format);
      EXPECT_EQ(first, std::regex_replace(text, oracle, format,
                                          std::regex_constants::format_first_only))
          << format << " on " << text;
    }
  }
}

// The shell's own rules where the oracle cannot speak: only LF ends a line,
// in both engines, while "\s" and "[^\n]" still take a CR as a character.
TEST(Regex, LoneCarriageReturnIsNoLineEnd) {
  struct Case {
    const char* pattern;
    const char* text;
    size_t start;
    bool found;
  };
  const Case cases[] = {
      {"^x", "a\rx", 0, false},      {"^x", "a\nx", 0, true},   {"^x", "a\rx", 2, false},
      {"^x", "a\nx", 2, true},       {"a$", "a\rb", 0, false},  {"a$", "a\nb", 0, true},
      {"a$", "a\r\nb", 0, false},    {"^b", "a\r\nb", 0, true}, {"a\\sb", "a\rb", 0, true},
      {"a[^\\n]b", "a\rb", 0, true},
  };
  for (const Case& c : cases) {
    RegexMatch match;
    SearchStatus expected = c.found ? SearchStatus::found : SearchStatus::notFound;
    EXPECT_EQ(Regex(c.pattern).search(c.text, match, c.start), expected)
        << c.pattern << " at " << c.start;
  }
}

TEST(Regex, TextsMayHoldNulBytes) {
  std::string text("L.a = x\0y\nL.b = z", 17);
  Regex fragment(patterns::auxiliaryLogicLine);
  RegexMatch match;
  ASSERT_EQ(fragment.search(text, match), SearchStatus::found);
  EXPECT_EQ(match.group(text, 2), std::string("x\0y", 3));
  ASSERT_EQ(fragment.search(text, match, match.end()), SearchStatus::found);
  EXPECT_EQ(match.group(text, 1), "b");
}

TEST(Regex, LongMatchesDoNotOverflow) {
  if (regexEngine() != RegexEngine::pcre2) GTEST_SKIP() << "std::regex recurses per character";
  // A match spanning megabytes, which the standard library's recursive
  // matcher cannot survive.
  std::string body(4 * 1024 * 1024, 'a');
  std::string text = "MCU(x){" + body + "};";
  Regex unit(patterns::mcu);
  RegexMatch match;
  ASSERT_EQ(unit.search(text, match), SearchStatus::found);
  EXPECT_EQ(match.group(text, 2).size(), body.size());
  std::string unclosed = "MCU(x){" + body;
  EXPECT_EQ(unit.search(unclosed, match), SearchStatus::notFound);
}

TEST(Regex, ResourceLimitIsAnErrorNotAMiss) {
  if (regexEngine() != RegexEngine::pcre2) GTEST_SKIP() << "std::regex has no resource limit";
  // Nested unbounded repetition backtracks exponentially on a near miss.
  Regex explosive("^(a+)+$");
  std::string text(40, 'a');
  text += 'b';
  RegexMatch match;
  EXPECT_EQ(explosive.search(text, match), SearchStatus::error);
}

}  // namespace
}  // namespace zav
