#include "ic/implicit_constructors.h"

#include <gtest/gtest.h>

#include <string>

#include "ic/ic_test_support.h"

namespace zav {
namespace {

using testing_support::addCommand;
using testing_support::captureOutput;

std::string logicOf(const char* listId, const std::string& name) {
  for (const CommandRecord& record : commandList(listId))
    if (record.name == name) return record.logic;
  return "<missing>";
}

void resetWithFragments() {
  clearCommandStore();
  clearImplicitConstructors();
  addAuxiliaryLogic("global_text", "G");
  addAuxiliaryLogic("specific_text", "S");
}

// One row of the rule: which stores of one position name the command, and
// which text that position receives.
struct RuleRow {
  bool specific;
  bool excluded;
  bool global;
  const char* added;
};

TEST(ImplicitConstructorApply, RuleTableForEveryPositionAndType) {
  const RuleRow rows[] = {
      {true, true, true, "S"},   {true, true, false, "S"},  {true, false, true, "S"},
      {true, false, false, "S"}, {false, true, true, ""},   {false, true, false, ""},
      {false, false, true, "G"}, {false, false, false, ""},
  };
  for (IcPosition position : {IcPosition::prefix, IcPosition::suffix}) {
    for (IcType type : {IcType::zav, IcType::win}) {
      for (const RuleRow& row : rows) {
        resetWithFragments();
        addCommand(typeListId(type), "cmd", "-q");
        IcStores stores = icStores(position, type);
        if (row.specific) stores.specific["cmd"] = "specific_text";
        if (row.excluded) stores.exclusion.push_back("cmd");
        if (row.global) stores.global = "global_text";
        applyImplicitConstructors();
        std::string expected = position == IcPosition::prefix ? row.added + std::string("-q")
                                                              : "-q" + std::string(row.added);
        EXPECT_EQ(logicOf(typeListId(type), "cmd"), expected)
            << positionWord(position) << " " << typeWord(type) << " specific=" << row.specific
            << " excluded=" << row.excluded << " global=" << row.global;
      }
    }
  }
}

TEST(ImplicitConstructorApply, PositionsAndTypesAreIndependent) {
  resetWithFragments();
  addCommand(kZavExtList, "z", "-q");
  addCommand(kZavExtList, "hidden_z", "-q", true);
  addCommand(kWinExtList, "w", "dir");
  addCommand(kWinExtList, "z", "dir");  // a WIN command sharing the ZAV name
  IcStores preZav = icStores(IcPosition::prefix, IcType::zav);
  preZav.global = "global_text";
  preZav.exclusion = {"z"};
  icStores(IcPosition::suffix, IcType::zav).global = "global_text";
  icStores(IcPosition::suffix, IcType::win).specific["w"] = "specific_text";
  applyImplicitConstructors();
  // Excluded from the Prefix, still under the Global Suffix.
  EXPECT_EQ(logicOf(kZavExtList, "z"), "-qG");
  // Hidden commands are ordinary commands here.
  EXPECT_EQ(logicOf(kZavExtList, "hidden_z"), "G-qG");
  // ZAV ICs never touch WIN commands, whatever their name.
  EXPECT_EQ(commandList(kWinExtList)[1].logic, "dir");
  EXPECT_EQ(logicOf(kWinExtList, "w"), "dirS");
}

TEST(ImplicitConstructorApply, TextsAreJoinedAsStored) {
  struct {
    const char* fragment;
    const char* logic;
  } cases[] = {
      {"-n ", "-n -q"}, {"-n", "-n-q"}, {"$& $1 $$", "$& $1 $$-q"},  // not a replacement format
  };
  for (const auto& c : cases) {
    resetWithFragments();
    addAuxiliaryLogic("opts", c.fragment);
    CommandRecord record;
    record.name = "cmd";
    record.logic = "-q";
    record.argCount = 1;
    record.hasList = true;
    appendCommand(kZavExtList, record);
    icStores(IcPosition::prefix, IcType::zav).global = "opts";
    applyImplicitConstructors();
    const CommandRecord& applied = commandList(kZavExtList)[0];
    EXPECT_EQ(applied.logic, c.logic);
    EXPECT_EQ(applied.argCount, 1u);
    EXPECT_TRUE(applied.hasList);
  }
}

TEST(ImplicitConstructorApply, EmptyStoresOrListsChangeNothing) {
  resetWithFragments();
  addCommand(kZavExtList, "z", "-q");
  applyImplicitConstructors();
  EXPECT_EQ(logicOf(kZavExtList, "z"), "-q");

  resetWithFragments();
  icStores(IcPosition::prefix, IcType::win).global = "global_text";
  icStores(IcPosition::suffix, IcType::zav).specific["gone"] = "specific_text";
  applyImplicitConstructors();  // nothing to change, nothing to fail
  EXPECT_TRUE(commandList(kZavExtList).empty());
}

TEST(ImplicitConstructorApply, ReloadAddsEachTextOnce) {
  auto load = [] {
    clearCommandStore();
    clearImplicitConstructors();
    addAuxiliaryLogic("opts", "-n ");
    addAuxiliaryLogic("out", " -w x");
    addCommand(kZavExtList, "a", "-q");
    addCommand(kZavExtList, "b", "-V");
    captureOutput([] {
      parseImplicitConstructors("Prefix.ZAV = {*} -> [L.opts]\nSuffix.ZAV = {b} -> [L.out]\n");
      applyImplicitConstructors();
    });
  };
  load();
  load();
  EXPECT_EQ(logicOf(kZavExtList, "a"), "-n -q");
  EXPECT_EQ(logicOf(kZavExtList, "b"), "-n -V -w x");
}

// A load of many commands with large Specific and Exclusion stores: the
// application looks names up instead of scanning lists, so this stays quick.
TEST(ImplicitConstructorApply, ManyCommands) {
  resetWithFragments();
  const size_t count = 100000;
  IcStores stores = icStores(IcPosition::prefix, IcType::zav);
  stores.global = "global_text";
  for (size_t i = 0; i < count; ++i) {
    std::string name = "c" + std::to_string(i);
    addCommand(kZavExtList, name, "-q");
    if (i % 3 == 1) stores.specific[name] = "specific_text";
    if (i % 3 == 2) stores.exclusion.push_back(name);
  }
  applyImplicitConstructors();
  const auto& records = commandList(kZavExtList);
  ASSERT_EQ(records.size(), count);
  const char* expected[] = {"G-q", "S-q", "-q"};
  for (size_t i = 0; i < count; ++i) ASSERT_EQ(records[i].logic, expected[i % 3]) << i;
}

}  // namespace
}  // namespace zav
