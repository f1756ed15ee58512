#include "defs/mcu_definitions.h"

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

using Lines = std::vector<std::string>;

TEST(McuDefinitions, Forms) {
  struct Case {
    std::string text;
    std::string name;  // empty: nothing defined
    Lines lines;
  } cases[] = {
      {"MCU(daily) {\n    a1\n    // b1 disabled\n    c1 -x  \n};", "daily", {"a1", "c1 -x  "}},
      {"MCU( daily ){a1};", "daily", {"a1"}},
      {"MCU(\tu\t)\n\n{\n\ta\n};", "u", {"a"}},
      {"MCU(u){\n  a1 // note\n  b1\n};", "u", {"b1"}},  // "//" anywhere drops the line
      {"MCU(u){\n  \n\t\n  // only a comment\n};", "u", {}},
      {"MCU(u){a\n\n b\n\n};", "u", {"a", "b"}},
      {"  MCU(u){x};", "u", {"x"}},
      {"MCU(u){ \v x};", "u", {"\v x"}},  // only blanks and tabs go
      {"MCU(" + std::string(64, 'm') + "){x};", std::string(64, 'm'), {"x"}},
      {"MCU(x){a1}", "", {}},  // "}" without ";"
      {"MCU(x){a1} ;", "", {}},
      {"MCU (x){a1};", "", {}},
      {"MCU(" + std::string(65, 'm') + "){x};", "", {}},
      {"mcu(x){a1};", "", {}},
      {"// MCU(x){a1};", "", {}},
      {"MCU(a b){x};", "", {}},
  };
  for (const Case& c : cases) {
    freshStores();
    EXPECT_EQ(captureOutput([&] { parseMcus("CMD.zav", kControlHeader + c.text); }), "") << c.text;
    if (c.name.empty()) {
      EXPECT_TRUE(mcuList().empty()) << c.text;
      continue;
    }
    ASSERT_EQ(mcuList().size(), 1u) << c.text;
    EXPECT_EQ(mcuList()[0].name, c.name) << c.text;
    EXPECT_EQ(mcuList()[0].commands, c.lines) << c.text;
  }
}

TEST(McuDefinitions, FirstUnitOfANameWins) {
  freshStores();
  std::string output = captureOutput([] {
    parseMcus("CMD.zav", kControlHeader + "MCU(daily){a};\nMCU(other){o};\n");
    parseMcus("inc.zav", kControlHeader + "MCU(daily){b};\n");
  });
  EXPECT_EQ(output, message("+ The MCU with the name \"daily\" is a duplicate. Please remove "
                            "duplicate MCU name."));
  ASSERT_EQ(mcuList().size(), 2u);
  EXPECT_EQ(mcuList()[0].commands, Lines{"a"});
  EXPECT_EQ(mcuList()[1].name, "other");
}

// The parser runs the pattern on a shortened text to stay linear; it must
// find exactly the units a plain walk over the whole text finds.
TEST(McuDefinitions, SameUnitsAsAPlainWalk) {
  const std::vector<std::string> pieces = {"MCU(a)", "MCU(b)", "{", "}",    ";", "};",
                                           "\n",     " ",      "x", "MCU(", ")", "//"};
  const Regex unit(patterns::mcu);
  std::mt19937 random(42);
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    int count = static_cast<int>(random() % 16);
    for (int i = 0; i < count; ++i) text += pieces[random() % pieces.size()];
    std::vector<std::pair<std::string, Lines>> expected;
    RegexMatch match;
    for (size_t position = 0; unit.search(text, match, position) == SearchStatus::found;
         position = match.end())
      expected.emplace_back(match.group(text, 1), mcuBodyLines(match.group(text, 2)));
    freshStores();
    captureOutput([&] { parseMcus("CMD.zav", text); });
    std::vector<std::pair<std::string, Lines>> found;
    for (const McuRecord& record : mcuList()) found.emplace_back(record.name, record.commands);
    // Duplicates are dropped by the parser, not by the walk.
    std::vector<std::pair<std::string, Lines>> firstOfEach;
    for (const auto& unitFound : expected) {
      bool seen = false;
      for (const auto& kept : firstOfEach) seen = seen || kept.first == unitFound.first;
      if (!seen) firstOfEach.push_back(unitFound);
    }
    EXPECT_EQ(found, firstOfEach) << text;
  }
}

}  // namespace
}  // namespace zav
