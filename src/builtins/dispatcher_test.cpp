#include "builtins/dispatcher.h"

#include <gtest/gtest.h>

#include "core/output_capture_test_support.h"
#include "core/shell_state.h"
#include "defs/command_store.h"

namespace zav {
namespace {

// Whether the dispatcher takes the line, with its output swallowed. Lines
// of the built-ins that print slowly ("about", "version") or read input
// ("ulogic" of a known name) are left to the end-to-end scenarios.
bool takes(const std::string& line) {
  testing_support::CapturedStreams output;
  return dispatchBuiltin(line);
}

TEST(BuiltinDispatcher, WordCountsDecide) {
  clearCommandStore();
  struct Case {
    const char* line;
    bool builtin;
  } cases[] = {
      {"setpcap a.pcap", true},
      {"setpcap", false},
      {"setpcap a b", false},
      {"SETPCAP a.pcap", false},
      {"Setpcap a.pcap", false},
      {"getpcap", true},
      {"getpcap x", false},
      {"setpcappath /p/", true},
      {"setpcappath /my dir/", false},
      {"getpcappath", true},
      {"getpcappath x", false},
      {"getallcmds", true},
      {"getallcmds x", false},
      {"getinclist", true},
      {"getinclist x", false},
      {"about x", false},
      {"version x", false},
      {"info", false},
      {"info x", true},
      {"info x y", false},
      {"logic x", true},
      {"logic", false},
      {"auxl", true},
      {"auxl a b c", true},
      {"ulogic", false},
      {"ulogic undefined", true},
      {"ulogic a b", false},
      {"tag x", true},
      {"tag", false},
      {"gcwt", false},
      {"gcwt a", true},
      {"gcwt a b c", true},
      {"gic pre.zav.g", true},
      {"gic", false},
      {"gic a b", false},
      {"history", true},
      {"history 1", false},
      {"chistory", true},
      {"chistory x", false},
      {"exh", false},
      {"exh 99", true},
      {"exh 99 98 97", true},
      {"getmculist", true},
      {"getmculist x", false},
      {"exmcu", false},
      {"exmcu x", true},
      {"exmcu x y", false},
      {"helper", true},
      {"helper x", false},
      {"exit", false},
      {"", false},
      {"\f\v \r", false},
      {"  getpcap  ", true},
      {"\tgetpcap", true},
      {"getpcap\f", true},
      {"unknown", false},
      {"echo getpcap", false},
  };
  for (const Case& c : cases) EXPECT_EQ(takes(c.line), c.builtin) << '"' << c.line << '"';
}

TEST(BuiltinDispatcher, ArgumentIsTheWordWithoutBlanks) {
  takes("setpcap    spaced.pcap   ");
  EXPECT_EQ(currentCapture, "spaced.pcap");
  takes("setpcap NoCheck*AF*");
  EXPECT_EQ(currentCapture, "NoCheck*AF*");
}

TEST(BuiltinDispatcher, BuiltinWinsOnlyWithFittingWordCount) {
  clearCommandStore();
  CommandRecord info;
  info.name = "info";
  info.info = "a command named like a built-in";
  appendCommand(kZavExtList, info);

  testing_support::CapturedStreams output;
  EXPECT_TRUE(dispatchBuiltin("info info"));
  EXPECT_FALSE(dispatchBuiltin("info"));  // the command dispatcher's turn
  EXPECT_FALSE(dispatchBuiltin("info info extra"));
  EXPECT_EQ(output.out(), "\n  info: a command named like a built-in\n");
  clearCommandStore();
}

}  // namespace
}  // namespace zav
