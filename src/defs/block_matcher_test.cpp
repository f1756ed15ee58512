// The block matcher against the block pattern itself, run by the pattern
// engine, on random texts made of the grammar's pieces: lone carriage
// returns, blank and comment lines, braces in comments and early ends
// included.
#include "defs/block_matcher.h"

#include <gtest/gtest.h>

#include <random>

#include "text/patterns.h"
#include "text/regex.h"

namespace zav {
namespace {

// A block's lines in grammar order, each one kept, dropped, doubled or
// followed by noise at random, joined by white space of every kind: most
// texts hold a block, many hold one the pattern rejects late.
const std::vector<std::vector<std::string>> kLines = {
    {"ZAV() {", "ZAV()->hide{", "ZAV() -> hide\n{", "  ZAV(){", "WIN() {", "ZAV ()"},
    {"L.f = v", "L.g =", "L.h=x y", "L.f"},
    {"// c", "// x}", "//", "// a } b"},
    {"L.f = v", "  L.k =  w"},
    {"// d", "// }"},
    {"NAME = n", "NAME=ab_1", "NAME =\nn", "NAME = n ", "NAME = " + std::string(65, 'n')},
    {"// e"},
    {"LOGIC = l", "LOGIC =", "LOGIC = ", "LOGIC =  two", "LOGIC=x}"},
    {"// f", "// g }"},
    {"INFO = i", "INFO =", "INFO = ", "INFO = i }", "INFO = a}b }", "INFO = }", "INFO =\t"},
    {"// h", "// }"},
    {"TAG = a|b", "TAG = a b", "TAG = |", "TAG =", "TAG = a }", "TAG=x|}"},
    {"// i", "// j}"},
    {"}", " }", "};", "", "x"}};
const std::vector<std::string> kSpaces = {"\n", "\n", "\n", "\n\n", " \n", "\r", "\r\n", "\n\r",
                                          " ", "\t\n  ", "\n \n", "\v\n", "\f", ""};

std::string randomText(std::mt19937& engine) {
  auto pick = [&](const std::vector<std::string>& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(engine)];
  };
  std::uniform_int_distribution<int> percent(0, 99);
  std::string text;
  for (int blocks = 1 + percent(engine) % 3; blocks > 0; --blocks) {
    for (size_t line = 0; line < kLines.size(); ++line) {
      const bool optional = line != 0 && line != 5 && line != 7 && line != 9 && line != 13;
      int chance = percent(engine);
      if (chance < (optional ? 55 : 4)) continue;
      for (int copies = chance > 94 ? 2 : 1; copies > 0; --copies) {
        text += pick(kLines[line]);
        if (chance % 11 == 0) text += pick(kSpaces) + pick(kLines[percent(engine) % kLines.size()]);
        text += pick(kSpaces);
      }
    }
  }
  return text;
}

std::string describe(const std::string& text) {
  std::string shown;
  for (char c : text) {
    if (c == '\n') shown += "\\n";
    else if (c == '\r') shown += "\\r";
    else if (c == '\t') shown += "\\t";
    else if (c == '\v') shown += "\\v";
    else if (c == '\f') shown += "\\f";
    else shown += c;
  }
  return shown;
}

std::pair<size_t, size_t> groupOf(const RegexMatch& match, size_t group) {
  return match.matched(group) ? match.groups[group]
                              : std::make_pair(RegexMatch::npos, RegexMatch::npos);
}

std::pair<size_t, size_t> spanOf(const TextSpan& span) { return {span.begin, span.end}; }

TEST(BlockMatcher, FindsWhatTheBlockPatternFinds) {
  const Regex pattern(patterns::commandBlock(patterns::blockHeaderZav));
  std::mt19937 engine(4242);
  size_t matches = 0;
  for (int round = 0; round < 30000; ++round) {
    const std::string text = randomText(engine);
    BlockMatcher matcher(text, "ZAV()");
    RegexMatch expected;
    BlockMatch actual;
    for (size_t position = 0; position <= text.size();) {
      SearchStatus status = pattern.search(text, expected, position);
      ASSERT_NE(status, SearchStatus::error);
      bool found = matcher.next(position, actual);
      ASSERT_EQ(found, status == SearchStatus::found) << describe(text) << " from " << position;
      if (!found) break;
      ++matches;
      const auto context = describe(text) + " from " + std::to_string(position);
      ASSERT_EQ(actual.begin, expected.begin()) << context;
      ASSERT_EQ(actual.end, expected.end()) << context;
      EXPECT_EQ(spanOf(actual.hide), groupOf(expected, 1)) << context;
      EXPECT_EQ(spanOf(actual.name), groupOf(expected, 2)) << context;
      EXPECT_EQ(spanOf(actual.logic), groupOf(expected, 3)) << context;
      EXPECT_EQ(spanOf(actual.info), groupOf(expected, 4)) << context;
      EXPECT_EQ(spanOf(actual.tags), groupOf(expected, 6)) << context;
      position = actual.end;
    }
  }
  EXPECT_GT(matches, 1000u);
}

}  // namespace
}  // namespace zav
