#include "builtins/capture_commands.h"

#include <gtest/gtest.h>

#include "builtins/dispatcher.h"
#include "core/output_capture_test_support.h"
#include "core/shell_state.h"
#include "defs/command_store.h"
#include "ic/implicit_constructors.h"

namespace zav {
namespace {

TEST(CaptureCommands, ShowBeforeAndAfterSetting) {
  currentCapture.clear();
  config.PCAP_DIR_PATH.clear();
  testing_support::CapturedStreams output;
  dispatchBuiltin("getpcap");
  dispatchBuiltin("getpcappath");
  dispatchBuiltin("setpcap Trace.PCAPNG");
  dispatchBuiltin("setpcappath /caps");  // no separator added, but a note
  dispatchBuiltin("getpcap");
  dispatchBuiltin("getpcappath");
  EXPECT_EQ(output.out(),
            "\n+ Pcap file name is not set yet\n"
            "\n+ Current pcap path is set to: \n"
            "\n+ Note: the path does not end with a separator; capture names are appended to "
            "it as they are.\n"
            "\n+ Current pcap file name is: Trace.PCAPNG\n"
            "\n+ Current pcap path is set to: /caps\n");
}

TEST(CaptureCommands, FailedReloadLeavesEveryStoreEmpty) {
  appendCommand(kZavExtList, CommandRecord{"dns", "-Y dns", "", {}, 0, false, false});
  appendCommand(kWinExtList, CommandRecord{"dir", "dir", "", {}, 0, false, false});
  addAuxiliaryLogic("a", "b");
  appendMcu({"u", {"getpcap"}});
  appendInclude("more.zav");
  implicitConstructors.preZavGlobal = "a";
  implicitConstructors.sufWinExclusion = {"dir"};
  config.ZAV_CMD_FILE_PATH = "/nonexistent-directory/";
  currentCapture = "kept.pcap";
  history = {"loadcmdfile"};
  {
    testing_support::CapturedStreams output;
    reloadCommandFile();
  }
  EXPECT_TRUE(commandList(kZavExtList).empty());
  EXPECT_TRUE(commandList(kWinExtList).empty());
  EXPECT_TRUE(auxiliaryLogicTable.empty());
  EXPECT_TRUE(mcuList().empty());
  EXPECT_TRUE(includeList().empty());
  EXPECT_TRUE(implicitConstructors.preZavGlobal.empty());
  EXPECT_TRUE(implicitConstructors.sufWinExclusion.empty());
  EXPECT_EQ(currentCapture, "kept.pcap");
  EXPECT_EQ(history.size(), 1u);
  config = ConfigRecord();
  history.clear();
}

}  // namespace
}  // namespace zav
