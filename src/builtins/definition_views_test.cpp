#include "builtins/definition_views.h"

#include <gtest/gtest.h>

#include "builtins/dispatcher.h"
#include "core/output_capture_test_support.h"
#include "defs/command_store.h"

namespace zav {
namespace {

CommandRecord command(const std::string& name, std::vector<std::string> tags = {},
                      bool hidden = false) {
  CommandRecord record;
  record.name = name;
  record.logic = "-Y " + name;
  record.info = "about " + name;
  record.tags = joinTags({tags.begin(), tags.end()});
  record.hidden = hidden;
  return record;
}

std::string run(const std::string& line) {
  testing_support::CapturedStreams output;
  EXPECT_TRUE(dispatchBuiltin(line)) << line;
  return output.out();
}

class DefinitionViewsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clearCommandStore();
    appendCommand(kZavExtList, command("dns", {"net", "udp"}));
    appendCommand(kZavExtList, command("secret", {"hush"}, true));
    appendCommand(kZavExtList, command("http", {"net", "tcp"}));
    appendCommand(kWinExtList, command("dns", {"net"}));  // shadowed by the ZAV one
    appendCommand(kWinExtList, command("dir"));
  }
  void TearDown() override { clearCommandStore(); }
};

TEST_F(DefinitionViewsTest, SingleCommandViews) {
  struct Case {
    const char* line;
    const char* output;
  } cases[] = {
      {"info dns", "\n  dns: about dns\n"},          {"logic dns", "\n  dns: -Y dns\n"},
      {"tag dns", "\n  dns: | net | udp | \n"},      {"tag dir", "\n  dir:  TAG list is empty\n"},
      {"info secret", "\n  secret: about secret\n"},  // hidden commands are seen
      {"logic secret", "\n  secret: -Y secret\n"},   {"tag secret", "\n  secret: | hush | \n"},
      {"info DNS", "\n+ cmd DNS is not valid.\n"},  // full stop only here
      {"logic DNS", "\n+ cmd DNS is not valid\n"},   {"tag nope", "\n+ cmd nope is not valid\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(run(c.line), c.output) << c.line;
}

TEST_F(DefinitionViewsTest, CommandsWithTags) {
  struct Case {
    const char* line;
    const char* output;
  } cases[] = {
      {"gcwt net", "\n [ List of CMDs that match requested tag ]\n\n  - dns\n  - http\n  - dns\n"},
      {"gcwt hush", "\n [ List of CMDs that match requested tag ]\n\n  - secret\n"},
      {"gcwt Net", "\n+ No matches were found\n"},
      {"gcwt ne", "\n+ No matches were found\n"},  // whole tags only
      // Several tags narrow the list: every one of them must be carried.
      {"gcwt net tcp", "\n [ List of CMDs that match requested tag ]\n\n  - http\n"},
      {"gcwt tcp udp", "\n+ No matches were found\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(run(c.line), c.output) << c.line;
}

TEST_F(DefinitionViewsTest, InternalListsComeFirstInTagSearch) {
  appendCommand(kZavIntList, command("inner", {"net"}));
  EXPECT_EQ(run("gcwt net"),
            "\n [ List of CMDs that match requested tag ]\n\n  - inner\n  - dns\n  - http\n"
            "  - dns\n");
}

TEST_F(DefinitionViewsTest, AuxiliaryLogic) {
  EXPECT_EQ(run("auxl"), "\n+ No Auxiliary logic was found\n");
  EXPECT_EQ(run("auxl x"), "\n+ Entered Auxiliary Logic name \"x\" is not valid\n");
  addAuxiliaryLogic("zeta", "-c 1");
  addAuxiliaryLogic("Alpha", "-n");
  addAuxiliaryLogic("beta", "");
  EXPECT_EQ(run("auxl"), "\n  Alpha: -n\n\n  beta: \n\n  zeta: -c 1\n");  // byte order
  EXPECT_EQ(run("auxl zeta nope alpha Alpha"),
            "\n  zeta: -c 1\n"
            "\n+ Entered Auxiliary Logic name \"nope\" is not valid\n"
            "\n+ Entered Auxiliary Logic name \"alpha\" is not valid\n"
            "\n  Alpha: -n\n");
}

const char* const kBuiltinListing =
    "\n [ Internal ZAV Helper CMD List ]\n\n"
    "  1. setpcap\n  2. getpcap\n  3. setpcappath\n  4. getpcappath\n  5. loadcmdfile\n"
    "  6. getallcmds\n  7. getinclist\n  8. info\n  9. logic\n  10. auxl\n  11. ulogic\n"
    "  12. tag\n  13. gcwt\n  14. gic\n  15. history\n  16. chistory\n  17. exh\n"
    "  18. getmculist\n  19. exmcu\n  20. about\n  21. version\n  22. helper\n  23. exit\n";

TEST_F(DefinitionViewsTest, AllCommandsSkipHiddenOnes) {
  appendCommand(kWinIntList, command("only_hidden", {}, true));
  EXPECT_EQ(run("getallcmds"),
            std::string("\n [ External ZAV CMD List ]\n\n  1. dns\n  2. http\n"
                        "\n [ Internal ZAV CMD List ]\n\n - Internal ZAV CMD List is empty.\n"
                        "\n [ External WIN CMD List ]\n\n  1. dns\n  2. dir\n"
                        "\n [ Internal WIN CMD List ]\n\n") +
                kBuiltinListing);
}

TEST_F(DefinitionViewsTest, AllCommandsOfAnEmptyStore) {
  clearCommandStore();
  EXPECT_EQ(run("getallcmds"),
            std::string("\n [ External ZAV CMD List ]\n\n - External ZAV CMD List is empty.\n"
                        "\n [ Internal ZAV CMD List ]\n\n - Internal ZAV CMD List is empty.\n"
                        "\n [ External WIN CMD List ]\n\n - External WIN CMD List is empty.\n"
                        "\n [ Internal WIN CMD List ]\n\n - Internal WIN CMD List is empty.\n") +
                kBuiltinListing);
}

TEST_F(DefinitionViewsTest, IncludesAndUnits) {
  EXPECT_EQ(run("getinclist"), "\n+ List of include file(s) is empty\n");
  EXPECT_EQ(run("getmculist"), "\n+ List of MCU(s) is empty\n");
  appendInclude("more.zav");
  appendInclude("sub/other.zav");
  appendMcu({"daily", {"getpcap"}});
  appendMcu({"empty", {}});
  EXPECT_EQ(run("getinclist"),
            "\n [ List of include file(s) ]\n\n  1. more.zav\n  2. sub/other.zav\n");
  EXPECT_EQ(run("getmculist"), "\n [ List of MCUs ]\n\n  1. daily\n  2. empty\n");
}

}  // namespace
}  // namespace zav
