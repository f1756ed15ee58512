// The block matcher against the block pattern itself, run by the pattern
// engine, on random texts: a block's lines in grammar order, each kept,
// dropped, doubled or followed by noise at random, joined by white space of
// every kind (lone carriage returns, blank and comment lines, braces in
// comments and early ends included). Most texts hold a block, many hold one
// the pattern rejects late.
#include "defs/block_matcher.h"

#include <gtest/gtest.h>

#include <random>

#include "text/patterns.h"
#include "text/regex.h"

namespace zav {
namespace {

using Spans = std::vector<std::pair<size_t, size_t>>;

TEST(BlockMatcher, FindsWhatTheBlockPatternFinds) {
  // clang-format off
  const std::vector<std::vector<std::string>> lines = {
      {"ZAV() {", "ZAV()->hide{", "ZAV() -> hide\n{", "  ZAV(){", "WIN() {", "ZAV ()", "ZAV()"},
      {"L.f = v", "L.g =", "L.h=x y", "L.f"}, {"// c", "// x}", "//", "// a } b"},
      {"L.f = v", "  L.k =  w"}, {"// d", "// }"},
      {"NAME = n", "NAME=ab_1", "NAME =\nn", "NAME = n ", "NAME = " + std::string(65, 'n')},
      {"// e"}, {"LOGIC = l", "LOGIC =", "LOGIC = ", "LOGIC =  two", "LOGIC=x}"},
      {"// f", "// g }"},
      {"INFO = i", "INFO =", "INFO = ", "INFO = i }", "INFO = a}b }", "INFO = }", "INFO =\t"},
      {"// h", "// }"}, {"TAG = a|b", "TAG = a b", "TAG = |", "TAG =", "TAG = a }", "TAG=x|}"},
      {"// i", "// j}"}, {"}", " }", "};", "", "x"}};
  const std::vector<std::string> spaces = {"\n", "\n", "\n", "\n\n", " \n", "\r", "\r\n", "\n\r",
                                           " ", "\t\n  ", "\n \n", "\v\n", "\f", ""};
  // clang-format on
  const Regex pattern(patterns::commandBlock(patterns::blockHeaderZav));
  std::mt19937 engine(4242);
  auto pick = [&](const std::vector<std::string>& from) { return from[engine() % from.size()]; };
  size_t matches = 0;
  for (int round = 0; round < 30000; ++round) {
    std::string text;
    for (int blocks = 1 + engine() % 3; blocks > 0; --blocks)
      for (size_t line = 0; line < lines.size(); ++line) {
        const bool optional = line != 0 && line != 5 && line != 7 && line != 9 && line != 13;
        const unsigned chance = engine() % 100;
        for (int copies = chance < (optional ? 55u : 4u) ? 0 : 1 + (chance > 94); copies > 0;
             --copies)
          text += pick(lines[line]) +
                  (chance % 11 ? "" : pick(spaces) + pick(lines[engine() % lines.size()])) +
                  pick(spaces);
      }
    BlockMatcher matcher(text, "ZAV()");
    RegexMatch m;
    BlockMatch a;
    for (size_t from = 0; from <= text.size(); from = a.end, ++matches) {
      SearchStatus status = pattern.search(text, m, from);
      ASSERT_EQ(matcher.next(from, a), status == SearchStatus::found) << text << from;
      if (status != SearchStatus::found) break;
      Spans expected;
      for (size_t group : {0, 1, 2, 3, 4, 6})
        expected.push_back(m.matched(group) ? m.groups[group] : Spans::value_type(-1, -1));
      Spans actual = {{a.begin, a.end}};
      for (const TextSpan* span : {&a.hide, &a.name, &a.logic, &a.info, &a.tags})
        actual.push_back({span->begin, span->end});
      ASSERT_EQ(actual, expected) << text << " from " << from;
    }
  }
  EXPECT_GT(matches, 1000u);
}

}  // namespace
}  // namespace zav
