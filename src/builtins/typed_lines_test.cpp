// Typed lines, with the stores filled directly and the launchers replaced by
// printers: what each line prints (then what it writes to standard error),
// and what it would run through TShark (T), the WIN launcher (W) or the
// command processor (P). Every row starts from fresh stores in a scratch
// directory, where l.txt holds the row's LIST file. An expected output
// starting with "*" is a part of the output.
#include <gtest/gtest.h>

#include <fstream>

#include "builtins/fresh_stores_test_support.h"
#include "builtins/run_line.h"
#include "config/configuration.h"
#include "core/output_capture_test_support.h"

namespace zav {
namespace {

std::string m(const std::string& message) { return "\n+ " + message + "\n"; }
std::string outOfRange(const std::string& number) {
  return m("Entered history command number \"" + number + "\" is out of range");
}
std::string running(std::string w) { return m(w + " is already running and is not started again"); }
const std::string notSet = m("Pcap file name is not set yet");

// `before` gives the history's lines and the text of l.txt; without it the
// history is the typed line alone and l.txt is empty.
struct Row {
  std::string line, out, before = "";
};

void fillStores() {
  appendCommand(kZavExtList, {"dns", " -Y dns", "", "net|udp", 0});
  appendCommand(kZavExtList, {"port", " -Y tcp.port==[%_ARG_%]", "", "net|tcp", 1});
  appendCommand(kZavExtList, {"two", "[%_ARG_%]-[%_ARG_%]", "", "", 2});
  appendCommand(kZavExtList, {"three", "[%_ARG_%][%_ARG_%][%_ARG_%]", "", "", 3});
  // A word can complete a marker cut in two.
  appendCommand(kZavExtList, {"split", "[%_AR[%_ARG_%][%_ARG_%]", "", "", 2});
  // Logic rewritten after loading (one marker left) keeps its count of two.
  appendCommand(kZavExtList, {"stale", " -Y [%_ARG_%]", "", "", 2});
  appendCommand(kZavExtList, {"twolists", " [%_LIST<a.txt>_%] [%_LIST<b.txt>_%]", "", "", 0});
  appendCommand(kZavExtList, {"protos", " -Y [%_LIST<l.txt>_%]", "", "", 0});
  appendCommand(kWinIntList, {"inner", "echo inner", "", "net", 0});
  appendCommand(kWinExtList, {"say", "echo [%_ARG_%]", "", "", 1});
  appendCommand(kWinExtList, {"dns", "echo dns", "", "net", 0});  // shadowed by the ZAV one
  appendMcu({"self", {"getpcap", "exmcu self", "getpcap"}});
  appendMcu({"a", {"exmcu b"}});
  appendMcu({"b", {"exmcu c", "getpcap"}});
  appendMcu({"c", {"exmcu a", "exmcu b"}});
  appendMcu({"loop", {"exh 0"}});
  appendMcu({"reload", {"loadcmdfile", "setpcap kept.pcap", "getpcap", "getmculist"}});
  for (int level = 0; level < 8; ++level)  // ask for a hundred million runs
    appendMcu({"u" + std::to_string(level),
               std::vector<std::string>(10, "exmcu u" + std::to_string(level + 1))});
  config.ZAV_CMD_FILE_PATH = "/nonexistent-directory/";
}

class TypedLines : public testing_support::FreshStores {
 protected:
  TypedLines() { enterScratchDirectory(); }
  void expectRows(const std::vector<Row>& rows, bool filled = true) {
    for (const Row& row : rows) {
      resetStores();
      if (filled) fillStores();
      auto as = [](const char* kind) -> TextRunner {
        return [kind](const std::string& text) { std::cout << kind << "[" << text << "]"; };
      };
      launchers().tshark = as("T");
      launchers().windows = as("W");
      launchers().commandProcessor = as("P");
      history.appendLines(std::string(row.before.empty() ? row.line : row.before));
      std::ofstream("l.txt", std::ios::binary) << row.before;
      testing_support::CapturedStreams output;
      runLine(row.line);
      const std::string out = output.out() + output.err();
      const bool part = row.out[0] == '*' && out.find(row.out.substr(1)) != std::string::npos;
      EXPECT_EQ(part ? row.out : out, row.out)
          << "typed \"" << row.line << "\" with history and l.txt \"" << row.before << "\"";
    }
  }
};

TEST_F(TypedLines, WordsFillTheMarkersOfTheNamedCommands) {
  expectRows({
      {"port 80 443", "T[ -Y tcp.port==80]"},  // surplus word ignored
      {"dns\t\vport\f80\r\n", "T[ -Y dns -Y tcp.port==80]"},
      {"port dns", "T[ -Y tcp.port==dns]"},          // an argument word is not looked up
      {"two dns", "T[[%_ARG_%]-[%_ARG_%] -Y dns]"},  // too few words: they are looked up
      // Every search starts at the beginning of the whole text.
      {"three port 80", "T[80[%_ARG_%][%_ARG_%] -Y tcp.port==[%_ARG_%]]"},
      {"two [%_ARG_%] x", "T[x-[%_ARG_%]]"},  // a word holding a marker is filled next
      {"split G_%] z", "T[z[%_ARG_%]]"},
      {"stale a b dns", "T[ -Y a -Y dns]"},  // position moves by the count
      {"dns say hi", "T[ -Y dnsecho hi]"},
      {"inner", "W[echo inner]"},
      {"getpcap x", "\nP[getpcap x]"},  // a built-in's word with too many words, or too few,
      {"setpcap", "\nP[setpcap]"},      // is no built-in
  });
}

TEST_F(TypedLines, EachListFileValueMakesARun) {
  expectRows({
      {"twolists",
       m("Only one LIST object is allowed") + "T[ [%_LIST<a.txt>_%] [%_LIST<b.txt>_%]]"},
      {"protos", "\nT\nT[ -Y tcp]\nT\nT[ -Y  udp]T[ -Y [%_PRINT<x>_%]]T[ -Y [%_PRINT<5%>_%]x]",
       "  [%_PRINT<T>_%]tcp\n[%_PRINT<T>_%] udp\n[%_PRINT<x>_%]\n[%_PRINT<5%>_%]x\n"},
      {"protos", "T[ -Y  ]T[ -Y v  ]T[ -Y a]T[ -Y b]T[ -Y c]",  // a lone CR ends a value
       "\n\n   \n\t\tv  \r\na\r\nb\rx\n\n\nc"},
      {"protos", "T[ -Y a$b]T[ -Y [[%_LIST<l.txt>_%]]]T[ -Y xy]", "a$$b\n[$&]\nx$1y\n"},
  });
}

TEST_F(TypedLines, ListingsByTagAndOfEmptyStores) {
  expectRows({
      {"gcwt net", "*\n\n  - dns\n  - port\n  - inner\n  - dns\n"},  // the Int lists first
      {"gcwt ne", m("No matches were found")},                       // whole tags only
      {"tag two", "\n  two:  TAG list is empty\n"},
  });
  expectRows({{"getallcmds",
               "*\n [ External ZAV CMD List ]\n\n - External ZAV CMD List is empty.\n"
               "\n [ Internal ZAV CMD List ]\n\n - Internal ZAV CMD List is empty.\n"
               "\n [ External WIN CMD List ]\n\n - External WIN CMD List is empty.\n"
               "\n [ Internal WIN CMD List ]\n\n - Internal WIN CMD List is empty.\n"},
              {"getinclist", m("List of include file(s) is empty")},
              {"auxl", m("No Auxiliary logic was found")},
              {"gic pre.zav.g", m("ZAV Prefix Global Implicit Constructor is empty")}},
             false);
}

TEST_F(TypedLines, HistoryRerunsAndTheirLimits) {
  std::string chain;
  for (int i = 0; i < 1000; ++i) chain += "exh " + std::to_string(i + 1) + "\n";
  const std::string edges = "exh 0 1 007 -1 1" + std::string(20, '0');
  expectRows({
      {"exh 0", running("History command number \"0\"")},
      {"exh 1", notSet + running("History command number \"1\"") + notSet,
       "getpcap\nexh 2\nexh 0 1 0"},
      {edges,  // numbers refer to the list when reached
       m("Entered history command number \"-1\" is not valid") + outOfRange("1") + outOfRange("7") +
           outOfRange("1" + std::string(20, '0')),
       "chistory\ngetpcap\n" + edges},
      {"exh 0",
       m("History command number \"64\" is not started: 64 units and history commands "
         "are already running inside one another"),
       chain},
  });
}

TEST_F(TypedLines, McuRunsAndTheirLimits) {
  expectRows({
      {"exmcu u0", "* were already started or refused for this line\n"},
      {"exmcu Daily", m("MCU name \"Daily\" is not valid")},
      {"exmcu self", notSet + running("MCU \"self\"") + notSet},  // a new allowance
      {"exmcu a", running("MCU \"a\"") + running("MCU \"b\"") + notSet},
      {"exmcu loop", running("MCU \"loop\"")},
      // A failed reload inside a unit empties every store; the unit goes on.
      {"exmcu reload", "*" + m("ZAV CMD file CMD.zav is not conformant.") +
                           m("Current pcap file name is: kept.pcap") +
                           m("List of MCU(s) is empty")},
  });
}

}  // namespace
}  // namespace zav
