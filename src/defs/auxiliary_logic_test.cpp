#include "defs/auxiliary_logic.h"

#include <gtest/gtest.h>

#include <random>

#include "defs/command_store.h"
#include "defs/defs_test_support.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {
namespace {

using testing_support::captureOutput;
using testing_support::freshStores;
using testing_support::kControlHeader;
using testing_support::message;

std::string invalidReference(const std::string& ref, const std::string& cmd) {
  return "\n+ Referenced auxiliary logic \"" + ref + "\" inside the INSERT statement of \"" + cmd +
         "\" is not valid.\n  Please rectify offending reference and try again.\n";
}

std::string endlessInsert(const std::string& ref, const std::string& cmd) {
  return "\n+ The auxiliary logic \"" + ref + "\" inside the INSERT statement of \"" + cmd +
         "\" re-creates an INSERT statement of itself.\n  Its INSERT statements are left in "
         "place. Please rectify offending auxiliary logic and try again.\n";
}

TEST(AuxiliaryLogic, FragmentLineForms) {
  struct Case {
    std::string line;
    std::string name;  // empty: no fragment
    std::string text;
  } cases[] = {
      {"L.flt = abc def", "flt", "abc def"},
      {"L.flt =abc", "flt", "abc"},
      {"L.flt =  abc", "flt", " abc"},
      {"L.flt\t=\tabc ", "flt", "abc "},
      {"  \tL.f_1 = x", "f_1", "x"},
      {"L.flt = \n", "flt", " "},  // the optional white space gives a blank back
      {"L.flt =\n", "", ""},       // nothing behind "=" but the line end
      {"L.flt =\nnext line", "flt", "next line"},
      {"L.flt\n= x", "flt", "x"},
      {"L." + std::string(64, 'a') + " = x", std::string(64, 'a'), "x"},
      {"L." + std::string(65, 'a') + " = x", "", ""},
      {"// L.flt = x", "", ""},
      {"x L.flt = x", "", ""},
      {"l.flt = x", "", ""},
      {"L. flt = x", "", ""},
      {"L.flt : x", "", ""},
  };
  for (const Case& c : cases) {
    freshStores();
    EXPECT_EQ(captureOutput([&] { parseAuxiliaryLogic("CMD.zav", kControlHeader + c.line); }), "")
        << c.line;
    if (c.name.empty()) {
      EXPECT_TRUE(auxiliaryLogicTable.empty()) << c.line;
    } else {
      const std::string* text = findAuxiliaryLogic(c.name);
      ASSERT_NE(text, nullptr) << c.line;
      EXPECT_EQ(*text, c.text) << c.line;
    }
  }
}

TEST(AuxiliaryLogic, FirstDefinitionWinsAcrossFiles) {
  freshStores();
  std::string output = captureOutput([] {
    parseAuxiliaryLogic("CMD.zav", kControlHeader + "L.f = main\nL.g = 1\n");
    parseAuxiliaryLogic("inc.zav", kControlHeader + "L.f = include\n");
  });
  EXPECT_EQ(output, message("+ The auxiliary logic with the name \"f\" is a duplicate. Please "
                            "remove duplicate command."));
  EXPECT_EQ(*findAuxiliaryLogic("f"), "main");
}

TEST(AuxiliaryLogic, FragmentsMayNotUseInsert) {
  freshStores();
  std::string output = captureOutput([] {
    parseAuxiliaryLogic("CMD.zav", kControlHeader +
                                       "L.g = one\nL.f = pre [INSERT(g)] post\n"
                                       "L.b = [INSERT(x)][INSERT(y)] tail\nL.a = clean\n");
  });
  const std::string b = message(
      "+ The auxiliary logic with the name \"b \" is not allowed to use "
      "the INSERT command.");
  const std::string f = message(
      "+ The auxiliary logic with the name \"f \" is not allowed to use "
      "the INSERT command.");
  EXPECT_EQ(output, b + b + f);  // table order, one message per marker
  EXPECT_EQ(*findAuxiliaryLogic("f"), " post");
  EXPECT_EQ(*findAuxiliaryLogic("b"), " tail");
  // A cleaned fragment gives no message in later checks.
  EXPECT_EQ(captureOutput(checkFragmentInserts), "");
}

TEST(AuxiliaryLogic, ValidateInsertsCountsAndStopsAtTheFirstBadReference) {
  freshStores();
  addAuxiliaryLogic("a", "x");
  std::uint32_t count = 0;
  EXPECT_TRUE(validateInserts("c", "[INSERT(a)] [INSERT(a)] [INSERT( a)]", count));
  EXPECT_EQ(count, 2u);
  std::string output;
  output = captureOutput(
      [&] { EXPECT_FALSE(validateInserts("c", "[INSERT(a)][INSERT(n1)][INSERT(n2)]", count)); });
  EXPECT_EQ(output, invalidReference("n1", "c"));
  EXPECT_EQ(count, 3u);
}

// Each case: fragments (name, text), a logic, the logic after expandInserts
// and what it prints.
TEST(AuxiliaryLogic, ExpandInserts) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> fragments;
    std::string logic, expected, output;
  } cases[] = {
      {{{"a", "x"}}, "[INSERT(a)] and [INSERT(a)]", "x and x", ""},
      {{{"a", "x"}}, "no markers [INSERT( a)]", "no markers [INSERT( a)]", ""},
      {{{"a", "x"}},
       "[INSERT(a)] [INSERT(nope)]",
       "[INSERT(a)] [INSERT(nope)]",
       invalidReference("nope", "cmd")},
      // Replacement formats.
      {{{"d", "cost $$5"}}, "[INSERT(d)]", "cost $5", ""},
      {{{"d", "$1|$9|$"}}, "[INSERT(d)]", "||$", ""},
      {{{"p", "<$`>"}}, "ab[INSERT(p)]cd", "ab<ab>cd", ""},
      {{{"s", "<$'>"}}, "ab[INSERT(s)]cd", "ab<cd>cd", ""},
      // The text behind may hold markers of other fragments: each is
      // replaced in its turn.
      {{{"s", "<$'>"}, {"t", "T"}}, "[INSERT(s)]-[INSERT(t)]", "<-T>-T", ""},
      // A fragment that would bring its own marker back.
      {{{"r", "again $&"}}, "x [INSERT(r)] y", "x [INSERT(r)] y", endlessInsert("r", "cmd")},
      {{{"s", "$'"}},
       "[INSERT(s)][INSERT(s)]",
       "[INSERT(s)][INSERT(s)]",
       endlessInsert("s", "cmd")},
      {{{"s", "$'"}, {"t", "$&"}},
       "[INSERT(s)][INSERT(t)]",
       "[INSERT(s)][INSERT(t)]",
       endlessInsert("t", "cmd")},
      // Pasting can complete a marker that stands half in the fragment and
      // half in the logic; it is replaced like any other.
      {{{"open", "[INSERT("}, {"b", "B"}}, "[INSERT(open)]b)] end", "B end", ""},
      {{{"open", "[INSERT("}, {"b", "B"}}, "<[INSERT(open)]b)]>", "<B>", ""},
      {{{"e", ""}, {"b", "B"}}, "[INSERT([INSERT(e)]b)]", "B", ""},
      {{{"open", "[INSERT("}},
       "[INSERT(open)]zz)]",
       "[INSERT(open)]zz)]",
       invalidReference("zz", "cmd")},
  };
  for (const Case& c : cases) {
    freshStores();
    for (const auto& [name, text] : c.fragments) addAuxiliaryLogic(name, text);
    std::string logic = c.logic;
    EXPECT_EQ(captureOutput([&] { expandInserts("cmd", logic); }), c.output) << c.logic;
    EXPECT_EQ(logic, c.expected) << c.logic;
  }
}

// What the definition says, done literally: replace the leftmost marker and
// search again from the start. Gives false when it has not ended after
// `rounds` replacements or has grown past any sensible size ("$'" doubles).
bool literalInsertLoop(std::string& logic, int rounds) {
  static const Regex named(patterns::insertMarkerNamed);
  static const Regex plain(patterns::insertMarker);
  RegexMatch match;
  for (int i = 0; i < rounds && logic.size() < 100000; ++i) {
    if (named.search(logic, match) != SearchStatus::found) return true;
    const std::string* text = findAuxiliaryLogic(match.group(logic, 1));
    if (text == nullptr) return false;
    replaceFirst(logic, plain, *text);
  }
  return false;
}

TEST(AuxiliaryLogic, ExpansionMatchesTheLiteralLoopOnRandomTexts) {
  const std::vector<std::string> pieces = {
      "[INSERT(a)]", "[INSERT(b)]", "[INSERT(", "a)]", "b)]", ")]", "[",  "x",
      " ",           "$",           "$$",       "$&",  "$`",  "$'", "$1", "[INSERT(c)]"};
  std::mt19937 random(20171105);
  auto randomText = [&](int maxPieces) {
    std::string text;
    int count = static_cast<int>(random() % (maxPieces + 1));
    for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    return text;
  };
  int compared = 0;
  for (int round = 0; round < 3000; ++round) {
    freshStores();
    for (const char* name : {"a", "b", "c"}) {
      std::string text = randomText(3);
      // Stored fragments never hold a complete marker.
      if (!Regex(patterns::insertMarker).contains(text)) addAuxiliaryLogic(name, text);
    }
    std::string logic = randomText(6);
    std::uint32_t count = 0;
    bool valid = false;
    captureOutput([&] { valid = validateInserts("cmd", logic, count); });
    if (!valid || count == 0) continue;
    std::string expanded = logic;
    std::string output = captureOutput([&] { expandInserts("cmd", expanded); });
    std::string literal = logic;
    bool ended = literalInsertLoop(literal, 200);
    if (output.empty()) {
      // Whenever the engine finishes, the literal loop finishes with the
      // same text.
      ASSERT_TRUE(ended) << logic;
      EXPECT_EQ(expanded, literal) << logic;
      ++compared;
    } else {
      EXPECT_EQ(expanded, logic) << logic;  // any stop leaves the logic alone
    }
  }
  EXPECT_GT(compared, 500);
}

}  // namespace
}  // namespace zav
