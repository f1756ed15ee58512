#include "ic/implicit_constructors.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "ic/ic_test_support.h"
#include "text/line_keyword.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {
namespace {

using testing_support::captureOutput;
using testing_support::describeStores;
using testing_support::fillStandardStore;

const std::string kRectifyReference = "  Please rectify offending reference and try again.\n";
const std::string kRectifyCommand = "  Please rectify offending command and try again.\n";

std::string g1(const std::string& positionAndType) {
  return "\n+ Only one Global " + positionAndType +
         " Implicit Constructor is allowed. Only the first will be parsed.\n";
}
std::string g2(const std::string& al, const std::string& positionAndType) {
  return "\n+ Referenced auxiliary logic \"" + al + "\" in the first Global " + positionAndType +
         " Implicit Constructor is not valid.\n" + kRectifyReference;
}
std::string s1(const std::string& al, const std::string& typeAndPosition) {
  return "\n+ Referenced auxiliary logic \"" + al + "\" in the Local " + typeAndPosition +
         " Implicit Constructor is not valid.\n" + kRectifyReference;
}
std::string named(const std::string& name, const std::string& typeAndPosition) {
  return "\n+ Referenced construct name \"" + name + "\" in the Local " + typeAndPosition +
         " Implicit Constructor";
}
std::string s2(const std::string& name, const std::string& typeAndPosition) {
  return named(name, typeAndPosition) + " is not valid.\n" + kRectifyCommand;
}
std::string s3(const std::string& name, const std::string& typeAndPosition,
               const std::string& articleAndType) {
  return named(name, typeAndPosition) + " is not " + articleAndType + " construct.\n" +
         kRectifyCommand;
}
std::string s4(const std::string& name, const std::string& typeAndPosition) {
  return named(name, typeAndPosition) +
         " is already assigned an AL value.\n  Only the first instance is taken.\n";
}
std::string e1(const std::string& name, const std::string& typeAndPosition) {
  return named(name, typeAndPosition) + " (exclude) is not valid.\n" + kRectifyCommand;
}
std::string e2(const std::string& name, const std::string& typeAndPosition,
               const std::string& articleAndType) {
  return named(name, typeAndPosition) + " (exclude) is not " + articleAndType + " construct.\n" +
         kRectifyCommand;
}
std::string e3(const std::string& name, const std::string& typeAndPosition) {
  return named(name, typeAndPosition) + " is already excluded.\n";
}

struct ParseCase {
  std::string text;
  std::string output;
  const char* stores;
};

TEST(ImplicitConstructorParse, OneFile) {
  const std::string longName(65, 'n');
  const ParseCase cases[] = {
      // Global spacing variants.
      {"Prefix.ZAV={*}->[L.x]", "", "pre.zav.g=x"},
      {"Prefix.ZAV = { * } -> [ L.x ]", "", "pre.zav.g=x"},
      {"  \n\t Suffix.WIN\t=\n{\n*\n}\n->\n[\tL.y\t]\n", "", "suf.win.g=y"},
      {"Suffix.ZAV = {*} -> [L.common_opts]", "", "suf.zav.g=common_opts"},
      // Not ICs at all, silently.
      {"prefix.zav = {*} -> [L.x]", "", ""},
      {"// Prefix.ZAV = {*} -> [L.x]", "", ""},
      {"Prefix.ZAV = {*} -> L.x", "", ""},
      {"Prefix.ZAV = {a, !b} -> [L.x]", "", ""},
      {"Prefix.ZAV = {!a, b}", "", ""},
      {"Prefix.ZAV = {a,,b} -> [L.x]", "", ""},
      {"Prefix.ZAV = {a} -> [L.x-y]", "", ""},
      // Three Global lines: G1 once, only the first AL looked up.
      {"Prefix.ZAV = {*} -> [L.x]\nPrefix.ZAV = {*} -> [L.y]\nPrefix.ZAV = {*} -> [L.nope]",
       g1("Prefix ZAV"), "pre.zav.g=x"},
      {"Prefix.ZAV = {*} -> [L.nope]\nPrefix.ZAV = {*} -> [L.x]\nPrefix.ZAV = {*} -> [L.y]",
       g1("Prefix ZAV") + g2("nope", "Prefix ZAV"), ""},
      {"Suffix.WIN = {*} -> [L.nope]", g2("nope", "Suffix WIN"), ""},
      // Two of one key on a line are both found; of different keys only the first.
      {"Prefix.ZAV = {*} -> [L.x] Prefix.ZAV = {*} -> [L.y]", g1("Prefix ZAV"), "pre.zav.g=x"},
      {"Prefix.ZAV = {*} -> [L.x] Prefix.WIN = {*} -> [L.y]", "", "pre.zav.g=x"},
      {"Prefix.ZAV = {a} -> [L.x] Prefix.ZAV = {b} -> [L.y]", "", "pre.zav.s={a:x,b:y}"},
      // Specific lists.
      {"Prefix.ZAV = {c,\n  a,\n  b} -> [L.x]", "", "pre.zav.s={a:x,b:x,c:x}"},
      {"Suffix.WIN = {dir_all , list_tmp}->[L.to_file] trailing text", "",
       "suf.win.s={dir_all:to_file,list_tmp:to_file}"},
      {"Prefix.ZAV = {a, a} -> [L.x]", s4("a", "ZAV Prefix"), "pre.zav.s={a:x}"},
      {"Prefix.ZAV = {a} -> [L.x]\nPrefix.ZAV = {a} -> [L.y]", s4("a", "ZAV Prefix"),
       "pre.zav.s={a:x}"},
      {"Suffix.ZAV = {nope, b} -> [L.y]", s2("nope", "ZAV Suffix"), "suf.zav.s={b:y}"},
      {"Prefix.ZAV = {nope1, nope2} -> [L.undefinedAl]", s1("undefinedAl", "ZAV Prefix"), ""},
      {"Prefix.ZAV = {a} -> [L.x]\nPrefix.ZAV = {b} -> [L.nope]\nPrefix.ZAV = {c} -> [L.y]",
       s1("nope", "ZAV Prefix"), "pre.zav.s={a:x,c:y}"},
      {"Prefix.WIN = {a} -> [L.x]", s3("a", "WIN Prefix", "a WIN"), ""},
      {"Suffix.ZAV = {dir_all} -> [L.x]", s3("dir_all", "ZAV Suffix", "an ZAV"), ""},
      {"Prefix.ZAV = {hid} -> [L.x]", "", "pre.zav.s={hid:x}"},
      {"Prefix.ZAV = {" + longName + "} -> [L.x]", "", ""},
      // Exclusions.
      {"Prefix.ZAV = {!a} -> [L.x]", "", "pre.zav.e=[a]"},
      {"Suffix.ZAV = {!c,\n!a, !hid}", "", "suf.zav.e=[c,a,hid]"},
      {"Prefix.ZAV = {!nope, !b}", e1("nope", "ZAV Prefix"), "pre.zav.e=[b]"},
      {"Prefix.ZAV = {!a, !a}", e3("a", "ZAV Prefix"), "pre.zav.e=[a]"},
      {"Prefix.WIN = {!a}", e2("a", "WIN Prefix", "a WIN"), ""},
      {"Suffix.ZAV = {!list_tmp}", e2("list_tmp", "ZAV Suffix", "an ZAV"), ""},
      {"Prefix.ZAV = {a} -> [L.x]\nPrefix.ZAV = {!a}", "", "pre.zav.s={a:x} pre.zav.e=[a]"},
      // A name shared by a ZAV and a WIN command is the ZAV one.
      {"Prefix.ZAV = {run} -> [L.x]", "", "pre.zav.s={run:x}"},
      {"Prefix.WIN = {run} -> [L.x]\nSuffix.WIN = {!run}",
       s3("run", "WIN Prefix", "a WIN") + e2("run", "WIN Suffix", "a WIN"), ""},
      // Messages come in pass order, not text order.
      {"Suffix.WIN = {!e4}\nSuffix.ZAV = {!e3}\nPrefix.WIN = {!e2}\nPrefix.ZAV = {!e1}\n"
       "Suffix.WIN = {s4} -> [L.x]\nSuffix.ZAV = {s3} -> [L.x]\n"
       "Prefix.WIN = {s2} -> [L.x]\nPrefix.ZAV = {s1} -> [L.x]\n"
       "Suffix.WIN = {*} -> [L.g4]\nPrefix.WIN = {*} -> [L.g3]\n"
       "Suffix.ZAV = {*} -> [L.g2]\nPrefix.ZAV = {*} -> [L.g1]",
       g2("g1", "Prefix ZAV") + g2("g2", "Suffix ZAV") + g2("g3", "Prefix WIN") +
           g2("g4", "Suffix WIN") + s2("s1", "ZAV Prefix") + s2("s2", "WIN Prefix") +
           s2("s3", "ZAV Suffix") + s2("s4", "WIN Suffix") + e1("e1", "ZAV Prefix") +
           e1("e2", "WIN Prefix") + e1("e3", "ZAV Suffix") + e1("e4", "WIN Suffix"),
       ""},
  };
  for (const ParseCase& c : cases) {
    fillStandardStore();
    std::string output = captureOutput([&] { parseImplicitConstructors(c.text); });
    EXPECT_EQ(output, c.output) << "text: " << c.text;
    EXPECT_EQ(describeStores(), c.stores) << "text: " << c.text;
  }
}

// The loader parses the main file, then each include, into the same stores.
TEST(ImplicitConstructorParse, AcrossFiles) {
  struct FilesCase {
    const char* main;
    const char* include;
    std::string output;
    const char* stores;
  };
  const FilesCase cases[] = {
      // The main file's Global IC holds, silently.
      {"Prefix.ZAV = {*} -> [L.x]", "Prefix.ZAV = {*} -> [L.y]", "", "pre.zav.g=x"},
      // ... but an undefined AL in a later file is still reported.
      {"Prefix.ZAV = {*} -> [L.x]", "Prefix.ZAV = {*} -> [L.nope]", g2("nope", "Prefix ZAV"),
       "pre.zav.g=x"},
      // An undefined first AL leaves the store to the next file.
      {"Prefix.ZAV = {*} -> [L.nope]", "Prefix.ZAV = {*} -> [L.y]", g2("nope", "Prefix ZAV"),
       "pre.zav.g=y"},
      // "Only one global" counts within one file only.
      {"Suffix.WIN = {*} -> [L.x]", "Suffix.WIN = {*} -> [L.y]", "", "suf.win.g=x"},
      {"Prefix.ZAV = {b, a} -> [L.x]", "Prefix.ZAV = {a, c} -> [L.y]", s4("a", "ZAV Prefix"),
       "pre.zav.s={a:x,b:x,c:y}"},
      {"Suffix.ZAV = {!b, !a}", "Suffix.ZAV = {!c, !b}", e3("b", "ZAV Suffix"),
       "suf.zav.e=[b,a,c]"},
  };
  for (const FilesCase& c : cases) {
    fillStandardStore();
    std::string output = captureOutput([&] {
      parseImplicitConstructors(c.main);
      parseImplicitConstructors(c.include);
    });
    EXPECT_EQ(output, c.output) << "main: " << c.main << "\ninclude: " << c.include;
    EXPECT_EQ(describeStores(), c.stores) << "main: " << c.main << "\ninclude: " << c.include;
  }
}

TEST(ImplicitConstructorParse, ClearEmptiesEveryStore) {
  fillStandardStore();
  captureOutput([] {
    parseImplicitConstructors(
        "Prefix.ZAV = {*} -> [L.x]\nSuffix.WIN = {dir_all} -> [L.y]\nPrefix.WIN = {!list_tmp}");
  });
  ASSERT_NE(describeStores(), "");
  clearImplicitConstructors();
  EXPECT_EQ(describeStores(), "");
  // An excluded name is accepted again after a clear.
  std::string output = captureOutput([] { parseImplicitConstructors("Prefix.WIN = {!list_tmp}"); });
  EXPECT_EQ(output, "");
  EXPECT_EQ(describeStores(), "pre.win.e=[list_tmp]");
}

// Each pattern's walk over a text, as the passes walk it: every match's
// groups, searched from the previous match's end as a new text.
std::string walk(const std::string& pattern, const std::string& keyword, const std::string& text) {
  Regex regex(pattern, RegexAnchor::atStart);
  std::string found;
  RegexMatch match;
  for (size_t start = 0;
       start <= text.size() && searchLineKeyword(regex, keyword, text, match, start,
                                                 SearchFrom::restAsNewText) == SearchStatus::found;
       start = std::max(match.end(), start + 1))
    for (size_t group = 0; group < match.groups.size(); ++group)
      found += "[" + match.group(text, group) + "]";
  return found;
}

// The Implicit Constructor lines give every pattern the matches of the whole
// text, on random texts of the patterns' pieces and the characters around.
TEST(ImplicitConstructorParse, LinesHoldEveryMatch) {
  const std::vector<std::string> pieces = {"Prefix.ZAV = {*} -> [L.x]",
                                           "Suffix.WIN={a, b}->[ L.y ]",
                                           "Prefix.WIN = {!a,\n !b}",
                                           "Suffix.ZAV",
                                           "Prefix.",
                                           "fix.",
                                           " = ",
                                           "{",
                                           "}",
                                           "*",
                                           "a",
                                           "!b",
                                           ",\n",
                                           "->",
                                           "[L.x]",
                                           " ",
                                           "\n",
                                           "\t",
                                           "\r",
                                           "\"",
                                           ";",
                                           "\n  ",
                                           "x"};
  std::mt19937 engine(15);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    for (int n = std::uniform_int_distribution<int>(0, 40)(engine); n > 0; --n)
      text += pieces[std::uniform_int_distribution<size_t>(0, pieces.size() - 1)(engine)];
    const std::string lines = implicitConstructorLines(text);
    for (const char* position : {"Prefix", "Suffix"}) {
      for (const char* type : {"ZAV", "WIN"}) {
        const std::string keyword = std::string(position) + "." + type;
        for (const std::string& pattern :
             {patterns::icGlobal(position, type), patterns::icSpecific(position, type),
              patterns::icExclusion(position, type)})
          ASSERT_EQ(walk(pattern, keyword, lines), walk(pattern, keyword, text)) << text;
      }
    }
  }
}

}  // namespace
}  // namespace zav
