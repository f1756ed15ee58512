// Dispatch with the store filled directly and the launchers replaced by a
// recorder: what each typed line would run, and through which launcher.
#include "exec/dispatch.h"

#include <gtest/gtest.h>

#include "defs/command_store.h"
#include "core/output_capture_test_support.h"
#include "exec/exec_test_support.h"

namespace zav {
namespace {

using testing_support::CapturedStreams;
using testing_support::LaunchRecorder;
using testing_support::ScratchDirectory;

CommandRecord command(const std::string& name, const std::string& logic,
                      std::uint32_t argCount = 0) {
  CommandRecord record;
  record.name = name;
  record.logic = logic;
  record.argCount = argCount;
  return record;
}

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    clearCommandStore();
    appendCommand(kZavExtList, command("dns", " -Y dns"));
    appendCommand(kZavExtList, command("port", " -Y tcp.port==[%_ARG_%]", 1));
    appendCommand(kZavExtList, command("two", "[%_ARG_%]-[%_ARG_%]", 2));
    appendCommand(kZavExtList, command("three", "[%_ARG_%][%_ARG_%][%_ARG_%]", 3));
    // A marker cut in two: a word can complete it.
    appendCommand(kZavExtList, command("split", "[%_AR[%_ARG_%][%_ARG_%]", 2));
    // Logic rewritten after loading keeps its old count.
    appendCommand(kZavExtList, command("stale", " -Y [%_ARG_%]", 2));
    appendCommand(kZavExtList, command("run", " -z run"));
    CommandRecord hidden = command("secret", " -q");
    hidden.hidden = true;
    appendCommand(kZavExtList, hidden);
    appendCommand(kZavExtList, command("twolists", " [%_LIST<a.txt>_%] [%_LIST<b.txt>_%]"));
    appendCommand(kZavExtList, command("gt", " -Y [%_LIST<a>b.txt>_%]"));
    appendCommand(kWinExtList, command("run", "echo win"));
    appendCommand(kWinExtList, command("say", "echo [%_ARG_%]", 1));
    appendCommand(kWinIntList, command("inner", "echo inner"));
  }
  void TearDown() override { clearCommandStore(); }
};

TEST_F(Dispatch, BuildsTheTextAndChoosesTheLauncher) {
  struct Case {
    const char* line;
    std::vector<std::string> runs;
  } cases[] = {
      {"dns", {"tshark[ -Y dns]"}},
      {"port 80", {"tshark[ -Y tcp.port==80]"}},
      {"port 80 443", {"tshark[ -Y tcp.port==80]"}},  // surplus word ignored
      {"port", {"tshark[ -Y tcp.port==[%_ARG_%]]"}},
      {"dns port 80", {"tshark[ -Y dns -Y tcp.port==80]"}},
      {"dns\t\vport\f80\r\n", {"tshark[ -Y dns -Y tcp.port==80]"}},
      // An argument word is not looked up, even when it names a command.
      {"port dns", {"tshark[ -Y tcp.port==dns]"}},
      // Too few words: no marker filled, the words are looked up instead.
      {"two dns", {"tshark[[%_ARG_%]-[%_ARG_%] -Y dns]"}},
      // The later command fills the earlier command's first marker, since
      // every search starts at the beginning of the whole text.
      {"three port 80", {"tshark[80[%_ARG_%][%_ARG_%] -Y tcp.port==[%_ARG_%]]"}},
      // A word holding a marker is filled by the next word.
      {"two [%_ARG_%] x", {"tshark[x-[%_ARG_%]]"}},
      {"split G_%] z", {"tshark[z[%_ARG_%]]"}},
      // Position moves by the count even when the markers ran out first.
      {"stale a dns", {"tshark[ -Y a]"}},
      {"stale a b dns", {"tshark[ -Y a -Y dns]"}},
      {"run", {"tshark[ -z run]"}},  // ZAV found before the WIN command
      {"secret", {"tshark[ -q]"}},   // hidden commands run like any other
      {"inner", {"windows[echo inner]"}},
      {"say hi dns", {"windows[echo hi -Y dns]"}},  // first word decides
      {"dns say hi", {"tshark[ -Y dnsecho hi]"}},   // joined as they are
      {"gt", {"tshark[ -Y [%_LIST<a>b.txt>_%]]"}},  // ">" in the name: no marker
  };
  for (const Case& c : cases) {
    LaunchRecorder recorder;
    CapturedStreams output;
    dispatchCommand(c.line);
    EXPECT_EQ(recorder.runs, c.runs) << c.line;
    EXPECT_EQ(output.out(), "") << c.line;
  }
}

TEST_F(Dispatch, LineNamingNoCommandGoesToTheCommandProcessorAsTyped) {
  struct Case {
    const char* line;
    const char* run;
  } cases[] = {
      {"x dns", "processor[x dns]"},
      {"dir /b", "processor[dir /b]"},
      {"DNS", "processor[DNS]"},  // names are case-sensitive
      {"x  \"a b\"  port 80 ", "processor[x  \"a b\"  port 80 ]"},
      {"exit", "processor[exit]"},
  };
  for (const Case& c : cases) {
    LaunchRecorder recorder;
    CapturedStreams output;
    dispatchCommand(c.line);
    EXPECT_EQ(recorder.runs, std::vector<std::string>{c.run}) << c.line;
    EXPECT_EQ(output.out(), "\n") << c.line;
  }
}

TEST_F(Dispatch, LineWithoutWordsRunsNothing) {
  for (const char* line : {"", "\f", "\v\r\n", "  \t "}) {
    LaunchRecorder recorder;
    CapturedStreams output;
    dispatchCommand(line);
    EXPECT_TRUE(recorder.runs.empty());
    EXPECT_EQ(output.out(), "");
  }
}

TEST_F(Dispatch, TwoListMarkersRunTheTextOnceUnexpanded) {
  LaunchRecorder recorder;
  CapturedStreams output;
  dispatchCommand("twolists");
  EXPECT_EQ(recorder.runs,
            std::vector<std::string>{"tshark[ [%_LIST<a.txt>_%] [%_LIST<b.txt>_%]]"});
  EXPECT_EQ(output.out(), "\n+ Only one LIST object is allowed\n");
}

TEST_F(Dispatch, OneListMarkerRunsOncePerItemThroughTheChosenLauncher) {
  ScratchDirectory directory;
  const std::string list = directory.write("protos.txt", "tcp\n[%_PRINT<Other>_%]udp\n");
  appendCommand(kZavExtList, command("protos", " -Y [%_LIST<" + list + ">_%]"));
  appendCommand(kWinExtList, command("wprotos", "echo [%_LIST<" + list + ">_%]"));
  {
    LaunchRecorder recorder;
    CapturedStreams output;
    dispatchCommand("protos");
    EXPECT_EQ(recorder.runs, (std::vector<std::string>{"tshark[ -Y tcp]", "tshark[ -Y udp]"}));
    EXPECT_EQ(output.out(), "\nOther\n");
  }
  {
    LaunchRecorder recorder;
    CapturedStreams output;
    dispatchCommand("wprotos dns");
    EXPECT_EQ(recorder.runs,
              (std::vector<std::string>{"windows[echo tcp -Y dns]", "windows[echo udp -Y dns]"}));
  }
}

}  // namespace
}  // namespace zav
