// The Implicit Constructor lines against the whole text: on random texts of
// the patterns' pieces and the characters around them, every pattern walks
// over the lines to the matches it finds in the whole text. The messages and
// `gic` listings are rows of builtins/command_file_loader_test.cpp.
#include "ic/implicit_constructors.h"

#include <gtest/gtest.h>

#include <random>

#include "text/line_keyword.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {
namespace {

// Every match's groups, each search starting behind the previous match as
// a new text, as the passes walk.
std::string walk(const std::string& pattern, const std::string& keyword, const std::string& text) {
  Regex regex(pattern, RegexAnchor::atStart);
  std::string found;
  RegexMatch m;
  for (size_t at = 0;
       at <= text.size() && searchLineKeyword(regex, keyword, text, m, at,
                                              SearchFrom::restAsNewText) == SearchStatus::found;
       at = std::max(m.end(), at + 1))
    for (size_t group = 0; group < m.groups.size(); ++group) found += "[" + m.group(text, group);
  return found;
}

TEST(ImplicitConstructors, LinesHoldEveryMatchOfTheWholeText) {
  // clang-format off
  const std::vector<std::string> pieces = {
      "Prefix.ZAV = {*} -> [L.x]", "Suffix.WIN={a, b}->[ L.y ]", "Prefix.WIN = {!a,\n !b}",
      "Suffix.ZAV", "Prefix.", "fix.", " = ", "{", "}", "*", "a", "!b", ",\n", "->", "[L.x]", " ",
      "\n", "\t", "\r", "\"", ";", "\n  ", "x"};
  // clang-format on
  std::mt19937 engine(15);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int n = engine() % 41; n > 0; --n) text += pieces[engine() % pieces.size()];
    const std::string lines = implicitConstructorLines(text);
    for (const char* position : {"Prefix", "Suffix"})
      for (const char* type : {"ZAV", "WIN"})
        for (const std::string& pattern :
             {patterns::icGlobal(position, type), patterns::icSpecific(position, type),
              patterns::icExclusion(position, type)}) {
          const std::string keyword = std::string(position) + "." + type;
          ASSERT_EQ(walk(pattern, keyword, lines), walk(pattern, keyword, text)) << text;
        }
  }
}

}  // namespace
}  // namespace zav
