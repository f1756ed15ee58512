#include "builtins/history.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "builtins/dispatcher.h"
#include "builtins/nested_runs.h"
#include "core/output_capture_test_support.h"
#include "core/shell_state.h"

namespace zav {
namespace {

class HistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    history.clear();
    char pattern[] = "/tmp/zav-history-XXXXXX";
    directory_ = mkdtemp(pattern);
    directory_ += "/";
  }
  void TearDown() override {
    closeHistoryFile();
    history.clear();
    unlink((directory_ + historyFileName).c_str());
    rmdir(directory_.c_str());
  }
  void writeHistoryFile(const std::string& bytes) {
    std::ofstream(directory_ + historyFileName, std::ios::binary) << bytes;
  }
  std::string readHistoryFile() {
    std::ifstream file(directory_ + historyFileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  std::string directory_;
};

TEST_F(HistoryTest, LoadSkipsOnlyEmptyLinesAndReadsCrLfAsLf) {
  writeHistoryFile("first\r\n\r\n\n   \n  leading\tand tab\r\nlone\rcr\nlast without end");
  testing_support::CapturedStreams output;
  loadHistory(directory_);
  EXPECT_EQ(output.out(), "");
  EXPECT_EQ(history, (std::vector<std::string>{"first", "   ", "  leading\tand tab", "lone\rcr",
                                               "last without end"}));
}

TEST_F(HistoryTest, AppendsGoToTheEndAndSurviveClosing) {
  writeHistoryFile("old\n");
  loadHistory(directory_);
  appendToHistoryFile("new line");
  EXPECT_EQ(readHistoryFile(), "old\nnew line\n");  // on disk before closing
  appendToHistoryFile("exit");
  closeHistoryFile();
  appendToHistoryFile("after close");  // no file: no effect, no message
  EXPECT_EQ(readHistoryFile(), "old\nnew line\nexit\n");
}

TEST_F(HistoryTest, MissingFileIsCreatedAndUnopenableOneReported) {
  testing_support::CapturedStreams output;
  loadHistory(directory_);
  EXPECT_TRUE(history.empty());
  EXPECT_EQ(access((directory_ + historyFileName).c_str(), F_OK), 0);
  closeHistoryFile();

  // A directory value without its separator runs into the file name.
  std::string joined = directory_.substr(0, directory_.size() - 1) + "missing/";
  loadHistory(joined);
  EXPECT_EQ(output.out(), "\n+ File \"" + joined + ".zav_history\" could not be opened.\n");
  appendToHistoryFile("goes nowhere");
  EXPECT_TRUE(history.empty());
}

TEST_F(HistoryTest, ListingNumbersFromZero) {
  history = {"a", " b", ""};
  testing_support::CapturedStreams output;
  showHistory();
  clearHistory();
  showHistory();
  EXPECT_EQ(output.out(), "\n0: a\n1:  b\n2: \n\n");
}

TEST_F(HistoryTest, ExhWords) {
  history = {"setpcap zero", "getpcap", "setpcap two",
             "exh 1 x 2 -1 007 1 99999999999999999999999"};
  currentCapture.clear();
  testing_support::CapturedStreams output;
  dispatchBuiltin(std::string(history.back()));
  EXPECT_EQ(output.out(),
            "\n+ Pcap file name is not set yet\n"
            "\n+ Entered history command number \"x\" is not valid\n"
            "\n+ Entered history command number \"-1\" is not valid\n"
            "\n+ Current pcap file name is: two\n");
  EXPECT_EQ(output.err(),
            "\n+ Entered history command number \"7\" is out of range\n"
            "\n+ Entered history command number \"99999999999999999999999\" is out of range\n");
  EXPECT_EQ(history.size(), 4u);  // re-run entries are not recorded
  EXPECT_EQ(currentCapture, "two");
}

TEST_F(HistoryTest, NumbersReferToTheListWhenReached) {
  history = {"chistory", "getpcap", "exh 0 1 0000"};
  testing_support::CapturedStreams output;
  dispatchBuiltin(std::string(history.back()));
  EXPECT_EQ(output.out(), "");
  EXPECT_EQ(output.err(),
            "\n+ Entered history command number \"1\" is out of range\n"
            "\n+ Entered history command number \"0\" is out of range\n");
}

TEST_F(HistoryTest, EntryRunningItselfIsRefusedOnce) {
  // "exh 0" typed as the first line of a run is entry 0 itself.
  history = {"exh 0"};
  testing_support::CapturedStreams output;
  dispatchBuiltin("exh 0");
  EXPECT_EQ(output.out(),
            "\n+ History command number \"0\" is already running and is not started again\n");
}

TEST_F(HistoryTest, EntriesRunningEachOtherAreRefused) {
  history = {"getpcap", "exh 2", "exh 0 1 0"};
  currentCapture = "c";
  testing_support::CapturedStreams output;
  dispatchBuiltin("exh 1");
  EXPECT_EQ(output.out(),
            "\n+ Current pcap file name is: c\n"
            "\n+ History command number \"1\" is already running and is not started again\n"
            "\n+ Current pcap file name is: c\n");
}

TEST_F(HistoryTest, LongChainOfDistinctEntriesIsCut) {
  for (int i = 0; i < 1000; ++i) history.push_back("exh " + std::to_string(i + 1));
  testing_support::CapturedStreams output;
  dispatchBuiltin("exh 0");
  EXPECT_EQ(output.out(),
            "\n+ History command number \"64\" is not started: 64 units and history commands "
            "are already running inside one another\n");
  // Once it has unwound, the entries run again.
  dispatchBuiltin("exh 999");
  EXPECT_EQ(output.err(), "\n+ Entered history command number \"1000\" is out of range\n");
}

// Entry 0 typed as "exh 0 0 0 ..." runs itself once per word, and each run
// refuses itself once per word: the allowance ends it after a bounded
// number of refusals instead of words squared.
TEST_F(HistoryTest, LongSelfRunningLineStopsAtTheAllowance) {
  std::string line = "exh";
  for (int i = 0; i < 3 * kMaxRunsPerLine; ++i) line += " 0";
  history = {line};
  testing_support::CapturedStreams output;
  dispatchBuiltin(line);
  const std::string out = output.out();
  size_t refusals = 0;
  for (size_t at = out.find("is already running"); at != std::string::npos;
       at = out.find("is already running", at + 1))
    ++refusals;
  EXPECT_EQ(refusals, static_cast<size_t>(kMaxRunsPerLine - 1));
  EXPECT_NE(out.find("+ History command number \"0\" is not started: 10000 units and history "
                     "commands were already started or refused for this line\n"),
            std::string::npos);
}

}  // namespace
}  // namespace zav
