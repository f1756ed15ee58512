#include "defs/command_store.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

CommandRecord named(const std::string& name, const std::string& logic) {
  CommandRecord record;
  record.name = name;
  record.logic = logic;
  return record;
}

class CommandStoreTest : public ::testing::Test {
 protected:
  void SetUp() override { clearCommandStore(); }
  void TearDown() override { clearCommandStore(); }
};

// The lookups behind dispatch, calls and the Implicit Constructors: the
// first record of a name wins within a list, and across lists the ZAV list
// is searched first.
TEST_F(CommandStoreTest, LookupsFindTheFirstRecordOfAName) {
  appendCommand(kWinExtList, named("run", "win"));
  appendCommand(kZavExtList, named("a", "zav a"));
  appendCommand(kZavExtList, named("run", "zav run"));
  appendCommand(kZavExtList, named("a", "second a"));

  CommandLocation location;
  ASSERT_TRUE(findCommand("run", location));
  EXPECT_EQ(location.listId, kZavExtList);
  EXPECT_EQ(recordAt(location).logic, "zav run");
  ASSERT_TRUE(findCommand("a", location));
  EXPECT_EQ(recordAt(location).logic, "zav a");

  size_t index = 99;
  EXPECT_TRUE(findCommandInList(kWinExtList, "run", index));
  EXPECT_EQ(index, 0u);
  EXPECT_TRUE(findCommandInList(kZavExtList, "a", index));
  EXPECT_EQ(index, 0u);
  index = 99;
  EXPECT_FALSE(findCommandInList(kWinExtList, "a", index));
  EXPECT_FALSE(findCommandInList("NoSuchList", "a", index));
  EXPECT_EQ(index, 99u);
  EXPECT_FALSE(findCommand("Run", location));  // case counts
  EXPECT_TRUE(hasCommandInList(kZavExtList, "a"));
  EXPECT_FALSE(hasCommandInList(kZavIntList, "a"));
}

TEST_F(CommandStoreTest, ClearingForgetsEveryName) {
  appendCommand(kZavExtList, named("x", "1"));
  appendCommand(kWinExtList, named("y", "2"));
  clearCommandStore();
  CommandLocation location;
  EXPECT_FALSE(findCommand("x", location));
  EXPECT_FALSE(findCommand("y", location));
  EXPECT_TRUE(commandList(kZavExtList).empty());
  appendCommand(kZavExtList, named("y", "3"));
  ASSERT_TRUE(findCommand("y", location));
  EXPECT_EQ(location.index, 0u);
}

}  // namespace
}  // namespace zav
