#include "builtins/mcu_execution.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "builtins/dispatcher.h"
#include "builtins/nested_runs.h"
#include "core/output_capture_test_support.h"
#include "core/shell_state.h"
#include "defs/command_store.h"
#include "exec/launch.h"

namespace zav {
namespace {

class McuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clearCommandStore();
    history.clear();
    currentCapture.clear();
  }
  void TearDown() override {
    clearCommandStore();
    history.clear();
  }
};

const char* const kAlreadyRunning = "\n+ MCU \"%s\" is already running and is not started again\n";

std::string alreadyRunning(const std::string& name) {
  char text[200];
  std::snprintf(text, sizeof text, kAlreadyRunning, name.c_str());
  return text;
}

TEST_F(McuTest, NoUnitsAndUnknownNames) {
  testing_support::CapturedStreams output;
  runMcu("daily");
  appendMcu({"daily", {}});
  runMcu("Daily");
  runMcu("daily");  // empty: found, does nothing
  EXPECT_EQ(output.out(),
            "\n+ No MCU name is defined\n"
            "\n+ MCU name \"Daily\" is not valid\n");
}

TEST_F(McuTest, LinesRunInOrderWithoutBeingRecorded) {
  appendMcu({"switch", {"getpcap", "setpcap b.pcap", "getpcap", "history"}});
  history = {"exmcu switch"};
  testing_support::CapturedStreams output;
  dispatchBuiltin("exmcu switch");
  EXPECT_EQ(output.out(),
            "\n+ Pcap file name is not set yet\n"
            "\n+ Current pcap file name is: b.pcap\n"
            "\n0: exmcu switch\n");
  EXPECT_EQ(currentCapture, "b.pcap");  // stays selected
  EXPECT_EQ(history.size(), 1u);
}

// Units mix built-ins, commands of the command file and plain lines; each
// line is handled as if typed, with the capture that the unit selected.
TEST_F(McuTest, UnitsRunBuiltinsCommandsAndPlainLines) {
  CommandRecord dns;
  dns.name = "dns";
  dns.logic = "-Y dns";
  appendCommand(kZavExtList, dns);
  appendMcu({"mixed", {"dns", "setpcap b.pcap", "dns", "nocommand --x", "getpcap"}});
  config.TSHARK_EXE_PATH = "tshark";
  config.PCAP_DIR_PATH = "/caps/";
  currentCapture = "a.pcap";
  const Launchers saved = launchers();
  std::vector<std::string> ran;
  launchers().commandProcessor = [&ran](const std::string& line) { ran.push_back(line); };
  {
    testing_support::CapturedStreams output;
    runMcu("mixed");
    EXPECT_EQ(output.out(), "\n\n\n\n+ Current pcap file name is: b.pcap\n");
  }
  launchers() = saved;
  config = ConfigRecord();
  ASSERT_EQ(ran.size(), 3u);
  EXPECT_NE(ran[0].find("/caps/a.pcap"), std::string::npos) << ran[0];
  EXPECT_NE(ran[1].find("/caps/b.pcap"), std::string::npos) << ran[1];
  EXPECT_EQ(ran[2], "nocommand --x");
}

TEST_F(McuTest, UnitRunningItselfIsRefused) {
  appendMcu({"self", {"getpcap", "exmcu self", "getpcap"}});
  testing_support::CapturedStreams output;
  runMcu("self");
  EXPECT_EQ(output.out(), "\n+ Pcap file name is not set yet\n" + alreadyRunning("self") +
                              "\n+ Pcap file name is not set yet\n");
}

TEST_F(McuTest, CycleThroughOtherUnitsIsRefused) {
  appendMcu({"a", {"exmcu b"}});
  appendMcu({"b", {"exmcu c", "getpcap"}});
  appendMcu({"c", {"exmcu a", "exmcu b"}});
  {
    testing_support::CapturedStreams output;
    runMcu("a");
    EXPECT_EQ(output.out(),
              alreadyRunning("a") + alreadyRunning("b") + "\n+ Pcap file name is not set yet\n");
  }
  // Everything has unwound: c, which was running, starts again.
  testing_support::CapturedStreams output;
  runMcu("c");
  EXPECT_EQ(output.out(), alreadyRunning("c") + "\n+ Pcap file name is not set yet\n" +
                              alreadyRunning("c") + "\n+ Pcap file name is not set yet\n");
}

TEST_F(McuTest, CycleThroughHistoryIsRefused) {
  // Typed as the first line: entry 0 is "exmcu loop" itself.
  history = {"exmcu loop"};
  appendMcu({"loop", {"exh 0"}});
  testing_support::CapturedStreams output;
  dispatchBuiltin("exmcu loop");
  EXPECT_EQ(output.out(), alreadyRunning("loop"));
}

TEST_F(McuTest, ReloadInsideAUnitFinishesTheUnit) {
  appendMcu({"reload", {"loadcmdfile", "setpcap after.pcap"}});
  testing_support::CapturedStreams output;
  runMcu("reload");
  EXPECT_EQ(currentCapture, "after.pcap");
}

// Eight levels of ten lines each ask for a hundred million runs: the
// allowance cuts them off with one message, and the next line typed gets a
// fresh one.
TEST_F(McuTest, WideTreesOfUnitsStopAtTheAllowance) {
  for (int level = 0; level < 8; ++level)
    appendMcu({"u" + std::to_string(level),
               std::vector<std::string>(10, "exmcu u" + std::to_string(level + 1))});
  appendMcu({"u8", {"getpcap"}});
  appendMcu({"small", {"getpcap"}});
  testing_support::CapturedStreams output;
  dispatchBuiltin("exmcu u0");
  const std::string out = output.out();
  EXPECT_NE(out.find("units and history commands were already started or refused for this line"),
            std::string::npos);
  size_t leaves = 0;
  for (size_t at = out.find("Pcap file name"); at != std::string::npos;
       at = out.find("Pcap file name", at + 1))
    ++leaves;
  EXPECT_LT(leaves, static_cast<size_t>(kMaxRunsPerLine));
  testing_support::CapturedStreams again;
  dispatchBuiltin("exmcu small");
  EXPECT_EQ(again.out(), "\n+ Pcap file name is not set yet\n");
}

}  // namespace
}  // namespace zav
