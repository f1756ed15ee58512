#include "shell/completion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "core/shell_state.h"
#include "defs/command_store.h"

namespace zav {
namespace {

namespace fs = std::filesystem;

CommandRecord command(const std::string& name, std::vector<std::string> tags, bool hidden) {
  CommandRecord record;
  record.name = name;
  record.tags = joinTags({tags.begin(), tags.end()});
  record.hidden = hidden;
  return record;
}

class Completion : public ::testing::Test {
 protected:
  void SetUp() override {
    clearCommandStore();
    appendCommand(kZavExtList, command("dns", {"proto", "udp"}, false));
    appendCommand(kZavExtList, command("secret", {"internal"}, true));
    appendCommand(kWinExtList, command("ipcfg", {}, false));
    appendCommand(kWinExtList, command("dns", {"proto"}, false));
    addAuxiliaryLogic("filter_a", "-Y a");
    addAuxiliaryLogic("filter_b", "-Y b");
    appendMcu(McuRecord{"triage", {"dns"}});

    captures_ =
        fs::temp_directory_path() / ("zav-completion-" + std::to_string(std::random_device{}()));
    fs::create_directories(captures_ / "sub.pcap");
    for (const char* name : {"a.pcap", "b.pcap", ".hidden.pcap"}) std::ofstream(captures_ / name);
    savedConfig_ = config;
    config.PCAP_DIR_PATH = captures_.string() + "/";
  }
  void TearDown() override {
    clearCommandStore();
    config = savedConfig_;
    fs::remove_all(captures_);
  }

 private:
  fs::path captures_;
  ConfigRecord savedConfig_;
};

struct CompletionCase {
  const char* lineBefore;
  const char* word;
  bool fileNames;
  std::vector<std::string> names;
};

const CompletionCase kCases[] = {
    // First word: built-ins and visible commands, once each.
    {"", "get", false, {"getallcmds", "getinclist", "getmculist", "getpcap", "getpcappath"}},
    {"", "d", false, {"dns"}},
    {"", "se", false, {"setpcap", "setpcappath"}},
    {"", "ex", false, {"exh", "exit", "exmcu"}},
    {"", "i", false, {"info", "ipcfg"}},
    {"", "zzz", false, {}},
    // Command-name arguments, blanks before and between words allowed.
    {"info ", "", false, {"dns", "ipcfg"}},
    {"  logic   ", "ip", false, {"ipcfg"}},
    {"ulogic ", "sec", false, {}},
    {"tag ", "d", false, {"dns"}},
    // Only one argument: a second one is a file name like any other word.
    {"info dns ", "x", true, {}},
    {"exmcu ", "", false, {"triage"}},
    {"gic ", "pre.w", false, {"pre.win.e", "pre.win.g", "pre.win.s"}},
    {"gic ",
     "suf",
     false,
     {"suf.win.e", "suf.win.g", "suf.win.s", "suf.zav.e", "suf.zav.g", "suf.zav.s"}},
    // Every argument of auxl and gcwt; tags of hidden commands included.
    {"auxl filter_a ", "f", false, {"filter_a", "filter_b"}},
    {"gcwt ", "", false, {"internal", "proto", "udp"}},
    {"gcwt proto ", "u", false, {"udp"}},
    // Capture files: regular files only, dot files when asked for.
    {"setpcap ", "", false, {"a.pcap", "b.pcap"}},
    {"setpcap ", ".", false, {".hidden.pcap"}},
    // Names are case-sensitive; other commands take file names.
    {"INFO ", "d", true, {}},
    {"ls -l ", "fo", true, {}},
};

TEST_F(Completion, CandidatesFollowTheWordsBeforeTheCursor) {
  for (const CompletionCase& c : kCases) {
    CompletionCandidates result = completionCandidates(c.lineBefore, c.word);
    EXPECT_EQ(result.fileNames, c.fileNames) << '"' << c.lineBefore << "\" + \"" << c.word << '"';
    EXPECT_EQ(result.names, c.names) << '"' << c.lineBefore << "\" + \"" << c.word << '"';
  }
}

TEST_F(Completion, UnreadableCaptureDirectoryOffersNothing) {
  config.PCAP_DIR_PATH = "/nonexistent-zav-directory/";
  CompletionCandidates result = completionCandidates("setpcap ", "");
  EXPECT_FALSE(result.fileNames);
  EXPECT_TRUE(result.names.empty());
}

}  // namespace
}  // namespace zav
