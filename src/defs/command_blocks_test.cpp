#include "defs/command_blocks.h"

#include <gtest/gtest.h>

#include "defs/auxiliary_logic.h"
#include "defs/command_store.h"
#include "defs/defs_test_support.h"

namespace zav {
namespace {

using testing_support::captureOutput;
using testing_support::freshStores;
using testing_support::kControlHeader;
using testing_support::message;

// Parses one ZAV text (header added) silently and gives the records.
CommandList parseZav(const std::string& blocks) {
  freshStores();
  std::string output = captureOutput(
      [&] { parseCommandBlocks(BlockKind::zav, "CMD.zav", kControlHeader + blocks); });
  EXPECT_EQ(output, "") << blocks;
  return commandList(kZavExtList);
}

const std::string kName64(64, 'n');

TEST(CommandBlocks, AcceptedForms) {
  struct Case {
    std::string text;
    std::string name, logic, info;
    std::vector<std::string> tags;
    bool hidden;
  } cases[] = {
      {"ZAV() {\nNAME = dns\nLOGIC = -Y dns\nINFO = DNS\n}", "dns", "-Y dns", "DNS", {}, false},
      {"ZAV()->hide{\nNAME=a\nLOGIC=x\nINFO=y\n}", "a", "x", "y", {}, true},
      {"ZAV() -> hide\n{\nNAME = a\nLOGIC = x\nINFO = y\n}", "a", "x", "y", {}, true},
      {"ZAV()\t->\thide {\nNAME = a\nLOGIC = x\nINFO = y\n}", "a", "x", "y", {}, true},
      {"  ZAV()\n\n{\n  NAME = a\n  LOGIC = x\n  INFO = y\n  }", "a", "x", "y", {}, false},
      // Tags: order of first appearance, no empty words.
      {"ZAV() {\nNAME = a\nLOGIC = x\nINFO = y\nTAG = net|web|net||dns\n}",
       "a",
       "x",
       "y",
       {"net", "web", "dns"},
       false},
      {"ZAV() {\nNAME = a\nLOGIC = x\nINFO = y\nTAG = |a_1||\n}", "a", "x", "y", {"a_1"}, false},
      // "=" and the white space around it.
      {"ZAV() {\nNAME\t=\ta\nLOGIC =x\nINFO =y\n}", "a", "x", "y", {}, false},
      {"ZAV() {\nNAME=a\nLOGIC =  x \nINFO =   y \n}", "a", " x ", "y ", {}, false},
      {"ZAV() {\nNAME\n=\na\nLOGIC\n= x\nINFO\n=\ny\n}", "a", "x", "y", {}, false},
      // "LOGIC =" at its line end takes the whole next line.
      {"ZAV() {\nNAME = a\nLOGIC =\n  next line\nINFO = y\n}", "a", "  next line", "y", {}, false},
      // The brace may end the INFO or TAG line.
      {"ZAV() {\nNAME = a\nLOGIC = x\nINFO = text }", "a", "x", "text ", {}, false},
      {"ZAV() {\nNAME = a\nLOGIC = x\nINFO = y\nTAG = t }", "a", "x", "y", {"t"}, false},
      // Comment lines between every line; Auxiliary Logic and comment runs
      // before NAME.
      {"ZAV() {\n// c\nNAME = a\n  // c\nLOGIC = x\n//c\n// d\nINFO = y\n// e\nTAG = t\n// f\n}",
       "a",
       "x",
       "y",
       {"t"},
       false},
      {"ZAV() {\nL.f = 1\nL.g = 2\n// c\nL.h = 3\n// d\nNAME = a\nLOGIC = x\nINFO = y\n}",
       "a",
       "x",
       "y",
       {},
       false},
      {"ZAV() {\nNAME = " + kName64 + "\nLOGIC = x\nINFO = y\n}", kName64, "x", "y", {}, false},
  };
  for (const Case& c : cases) {
    CommandList records = parseZav(c.text);
    ASSERT_EQ(records.size(), 1u) << c.text;
    EXPECT_EQ(records[0].name, c.name) << c.text;
    EXPECT_EQ(records[0].logic, c.logic) << c.text;
    EXPECT_EQ(records[0].info, c.info) << c.text;
    std::vector<std::string_view> tags = tagWords(records[0].tags);
    EXPECT_EQ(std::vector<std::string>(tags.begin(), tags.end()), c.tags) << c.text;
    EXPECT_EQ(records[0].hidden, c.hidden) << c.text;
  }
}

TEST(CommandBlocks, SilentlyRejectedForms) {
  const std::string rest = "LOGIC = x\nINFO = y\n}";
  const std::string rejected[] = {
      "ZAV() {\nNAME = " + kName64 + "n\n" + rest,  // 65 characters
      "ZAV() {\nNAME = top_talkers \n" + rest,      // blank after the name
      "ZAV() {\nNAME = a\nLOGIC = x\nINFO = y\nTAG = a b\n}",
      "ZAV() {\nNAME = a\nLOGIC = x\nL.f = 1\nINFO = y\n}",  // Auxiliary Logic after NAME
      "ZAV() {\nNAME = a\nL.f = 1\nLOGIC = x\nINFO = y\n}",
      "ZAV() { NAME = abc\n" + rest,  // NAME on the header's line
      "ZAV () {\nNAME = a\n" + rest,
      "zav() {\nNAME = a\n" + rest,
      "ZAV() {\nname = a\n" + rest,
      "ZAV() {\nNAME = a\nLOGIC = x\n}",  // no INFO
      "ZAV() {\nNAME = a\nLOGIC = x\nTAG = t\nINFO = y\n}",
      "ZAV() {\nNAME = a\nLOGIC = x\nINFO = y\n",        // no closing brace
      "ZAV() {\nNAME = a\nLOGIC = x\nINFO = y\n/ c\n}",  // not a comment
      "ZAV() -> Hide {\nNAME = a\n" + rest,
      "// ZAV() {\nNAME = a\n" + rest,
      "x ZAV() {\nNAME = a\n" + rest,
      "WIN() {\nNAME = a\n" + rest,  // the other kind
  };
  for (const std::string& text : rejected) EXPECT_TRUE(parseZav(text).empty()) << text;
}

TEST(CommandBlocks, BlocksAroundARejectedOneAreStoredInTextOrder) {
  CommandList records = parseZav(
      "ZAV() {\nNAME = a\nLOGIC = 1\nINFO = i\n}\n"
      "ZAV() {\nNAME = b c\nLOGIC = 2\nINFO = i\n}\n"
      "text nothing recognises\n"
      "ZAV() {\nNAME = d\nLOGIC = 3\nINFO = i\n}");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].name, "a");
  EXPECT_EQ(records[1].name, "d");
}

TEST(CommandBlocks, DuplicatesWithinAKindOnly) {
  freshStores();
  const std::string text = kControlHeader +
                           "ZAV() {\nNAME = x\nLOGIC = first\nINFO = i\n}\n"
                           "WIN() {\nNAME = x\nLOGIC = win\nINFO = i\n}\n"
                           "ZAV() {\nNAME = x\nLOGIC = second [INSERT(nope)]\nINFO = i\n}\n";
  std::string output = captureOutput([&] {
    parseCommandBlocks(BlockKind::zav, "CMD.zav", text);
    parseCommandBlocks(BlockKind::win, "CMD.zav", text);
  });
  // The dropped block's INSERT check does not run.
  EXPECT_EQ(output, message("+ The ZAV CMD with the name \"x\" is a duplicate. Please remove "
                            "duplicate command."));
  ASSERT_EQ(commandList(kZavExtList).size(), 1u);
  EXPECT_EQ(commandList(kZavExtList)[0].logic, "first");
  ASSERT_EQ(commandList(kWinExtList).size(), 1u);
  EXPECT_EQ(commandList(kWinExtList)[0].logic, "win");
  CommandLocation location;
  ASSERT_TRUE(findCommand("x", location));
  EXPECT_EQ(location.listId, kZavExtList);

  std::string again =
      captureOutput([&] { parseCommandBlocks(BlockKind::win, "inc.zav", kControlHeader + text); });
  EXPECT_EQ(again, message("+ The WIN CMD with the name \"x\" is a duplicate. Please remove "
                           "duplicate command."));
}

TEST(CommandBlocks, ArgumentCountAndListMarkerAfterInserts) {
  freshStores();
  std::string output = captureOutput([] {
    parseAuxiliaryLogic("CMD.zav", kControlHeader + "L.port = -Y tcp.port==[%_ARG_%]\n");
    parseCommandBlocks(BlockKind::zav, "CMD.zav",
                       kControlHeader +
                           "ZAV() {\nNAME = a\nLOGIC = [%_ARG_%] [INSERT(port)]\nINFO = i\n}\n"
                           "ZAV() {\nNAME = l\nLOGIC = -Y [%_LIST<p.txt>_%]\nINFO = i\n}\n"
                           "ZAV() {\nNAME = ll\nLOGIC = [%_LIST<a>_%][%_LIST<b>_%]\nINFO = i\n}");
  });
  EXPECT_EQ(output, message("+ Only one LIST object is allowed"));
  const CommandList& records = commandList(kZavExtList);
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].logic, "[%_ARG_%] -Y tcp.port==[%_ARG_%]");
  EXPECT_EQ(records[0].argCount, 2u);
  EXPECT_FALSE(records[0].hasList);
  EXPECT_TRUE(records[1].hasList);
  EXPECT_FALSE(records[2].hasList);
}

TEST(CommandBlocks, CheckFileTextRunsForEachKind) {
  freshStores();
  std::string output = captureOutput([] {
    parseCommandBlocks(BlockKind::zav, "x.zav", "WIN() {\nNAME = w\nLOGIC = dir\nINFO = i\n}");
    parseCommandBlocks(BlockKind::win, "x.zav", "WIN() {\nNAME = w\nLOGIC = dir\nINFO = i\n}");
  });
  const std::string warning = message("+ ZAV CMD file x.zav is not conformant.");
  EXPECT_EQ(output, warning + warning);
  EXPECT_EQ(commandList(kWinExtList).size(), 1u);
}

}  // namespace
}  // namespace zav
