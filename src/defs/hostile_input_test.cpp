// Large and malformed command files: each must load without a crash or a
// hang, and keep what it defines properly. (Speed is measured by hand; a
// quadratic walk would make these tests take minutes.)
#include <gtest/gtest.h>

#include <random>

#include "defs/auxiliary_logic.h"
#include "defs/calls.h"
#include "defs/command_blocks.h"
#include "defs/command_store.h"
#include "defs/defs_test_support.h"
#include "defs/loader.h"
#include "defs/mcu_definitions.h"

namespace zav {
namespace {

using testing_support::captureOutput;
using testing_support::freshStores;
using testing_support::kControlHeader;
using testing_support::message;

// The loader's passes over one text, the way loadCommandFile runs them.
std::string loadText(const std::string& fileName, const std::string& text) {
  freshStores();
  return captureOutput([&] {
    parseAuxiliaryLogic(fileName, text);
    scanIncludes(fileName, text);
    parseCommandBlocks(BlockKind::zav, fileName, text);
    parseCommandBlocks(BlockKind::win, fileName, text);
    parseMcus(fileName, text);
    resolveCalls();
  });
}

TEST(HostileInput, TenMegabyteFile) {
  std::string text = kControlHeader;
  size_t blocks = 0;
  while (text.size() < (10u << 20)) {
    std::string n = std::to_string(blocks++);
    text += "L.f" + n + " = -Y frame.number==" + n + "\n";
    text += "ZAV() {\n  // block " + n + "\n  NAME = z" + n + "\n  LOGIC = [INSERT(f" + n +
            ")] [CALL(w" + n + ")]\n  INFO = command " + n + "\n  TAG = t|u\n}\n";
    text += "WIN() -> hide {\n  NAME = w" + n + "\n  LOGIC = echo " + n + "\n  INFO = i\n}\n";
    text += "MCU(m" + n + ") {\n  z" + n + "\n};\n";
  }
  EXPECT_EQ(loadText("CMD.zav", text), "");
  ASSERT_EQ(commandList(kZavExtList).size(), blocks);
  EXPECT_EQ(commandList(kWinExtList).size(), blocks);
  EXPECT_EQ(mcuList().size(), blocks);
  std::string last = std::to_string(blocks - 1);
  EXPECT_EQ(commandList(kZavExtList).back().logic, "-Y frame.number==" + last + " echo " + last);
}

TEST(HostileInput, OneMegabyteLines) {
  const std::string big(1u << 20, 'b');
  std::string text = kControlHeader + "L.big = " + big + "\nZAV() {\nNAME = a\nLOGIC = " + big +
                     "[INSERT(big)]\nINFO = " + big + "\nTAG = " + big + "|x\n}\n" + "MCU(u){\n" +
                     big + "\n};\n";
  EXPECT_EQ(loadText("CMD.zav", text), "");
  ASSERT_EQ(commandList(kZavExtList).size(), 1u);
  EXPECT_EQ(commandList(kZavExtList)[0].logic, big + big);
  EXPECT_EQ(commandList(kZavExtList)[0].tags, big + "|x");
  ASSERT_EQ(mcuList().size(), 1u);
}

TEST(HostileInput, UnclosedUnits) {
  // One unclosed unit before a megabyte, and a megabyte of unclosed units:
  // later definitions still count.
  std::string text = kControlHeader + "MCU(x){\n" + std::string(1u << 20, 'a') + "\n";
  for (int i = 0; i < 200000; ++i) text += "MCU(y){\n";
  text += "}\nMCU(z){ok};\nZAV() {\nNAME = a\nLOGIC = x\nINFO = i\n}\n";
  EXPECT_EQ(loadText("CMD.zav", text), "");
  ASSERT_EQ(mcuList().size(), 1u);
  EXPECT_EQ(mcuList()[0].name, "z");
  EXPECT_EQ(commandList(kZavExtList).size(), 1u);
}

TEST(HostileInput, NulBytesAreOrdinaryCharacters) {
  std::string nul(1, '\0');
  std::string text = kControlHeader + "L.f = a" + nul + "b\nZAV() {\nNAME = a\nLOGIC = x" + nul +
                     "[INSERT(f)]\nINFO = i" + nul + "\n}\n#include <in" + nul + "c.zav>\n" +
                     "MCU(u){" + nul + "};\n";
  EXPECT_EQ(loadText("CMD.zav", text), "");
  ASSERT_EQ(commandList(kZavExtList).size(), 1u);
  EXPECT_EQ(commandList(kZavExtList)[0].logic, "x" + nul + "a" + nul + "b");
  EXPECT_EQ(commandList(kZavExtList)[0].info, "i" + nul);
  EXPECT_EQ(includeList(), std::vector<std::string>{"in" + nul + "c.zav"});
  EXPECT_EQ(mcuList()[0].commands, std::vector<std::string>{nul});
}

TEST(HostileInput, BinaryGarbage) {
  std::mt19937 random(1);
  std::string garbage(4u << 20, '\0');
  for (char& c : garbage) c = static_cast<char>(random());
  loadText("garbage.zav", garbage);
  // Garbage with the grammar's tokens strewn in.
  const char* tokens[] = {"ZAV() {\n", "NAME = a\n", "LOGIC = [CALL(a)]\n", "INFO = i\n",     "}\n",
                          "MCU(m){",   "};",         "L.f = [INSERT(f)]\n", "#include <x>\n", "\n"};
  for (size_t at = 0; at + 32 < garbage.size(); at += 1 + random() % 512) {
    std::string token = tokens[random() % 10];
    garbage.replace(at, std::min(token.size(), garbage.size() - at), token);
  }
  loadText("garbage.zav", garbage);
  SUCCEED();
}

TEST(HostileInput, BlockAfterHundredsOfThousandsOfLinesIsFound) {
  // Enough Auxiliary Logic lines inside one block to exhaust a backtracking
  // engine's stack.
  std::string text = kControlHeader + "ZAV() {\n";
  for (int i = 0; i < 400000; ++i) text += "L.x" + std::to_string(i % 10) + " = y\n";
  text += "NAME = a\nLOGIC = x\nINFO = i\n}\nMCU(after){ok};\n";
  std::string output = loadText("big.zav", text);
  EXPECT_EQ(output.find("could not be searched"), std::string::npos) << output.substr(0, 2000);
  EXPECT_TRUE(hasCommandInList(kZavExtList, "a"));
  EXPECT_EQ(auxiliaryLogicTable.size(), 10u);
  EXPECT_EQ(mcuList().size(), 1u);
}

TEST(HostileInput, DeepCallChain) {
  freshStores();
  const int depth = 1000;
  for (int i = 0; i < depth; ++i) {
    CommandRecord record;
    record.name = "A" + std::to_string(i);
    record.logic = "[[CALL(A" + std::to_string(i + 1) + ")]";
    appendCommand(kZavExtList, record);
  }
  CommandRecord last;
  last.name = "A" + std::to_string(depth);
  last.logic = "end";
  appendCommand(kZavExtList, last);
  EXPECT_EQ(captureOutput(resolveCalls), "");
  EXPECT_EQ(commandList(kZavExtList)[0].logic, std::string(depth, '[') + "end");
}

}  // namespace
}  // namespace zav
