// The launcher against real processes: a TShark stand-in that prints each
// argument in brackets, and the real TShark, which names the file it could
// not read. The text's own redirection sends what the children print to a
// file; a hostile capture name must reach them whole and run nothing itself.
#include "exec/launch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "builtins/fresh_stores_test_support.h"
#include "config/configuration.h"
#include "core/output_capture_test_support.h"
#include "core/shell_state.h"

namespace zav {
namespace {

namespace fs = std::filesystem;

class LaunchProcesses : public testing_support::FreshStores {};

TEST_F(LaunchProcesses, CapturePathsArriveIntact) {
  enterScratchDirectory();  // where an injected "touch" would write
  const std::string name = "x$(touch ran1)`touch ran2` it's; $HOME & y.pcap", q = " -q >> ran.txt";
  std::ofstream(name) << "not a capture\n";
  const std::string fake = ZAV_SOURCE_DIR "/tests/e2e/fake_tshark.sh";
  // Created out of order; all-files mode works through them in byte order.
  std::string headings, runs;
  fs::create_directory("caps");
  for (const char* made : {"b2", "a10", "B", "a9", "_"}) std::ofstream("caps/" + std::string(made));
  for (const std::string sorted : {"B", "_", "a10", "a9", "b2"}) {
    headings += "\n[ Working with file: caps/" + sorted + " ]\n\n";
    runs += "[-r][caps/" + sorted + "][-q]\n";
  }
  struct Case {
    std::string tool, directory, capture, text, out;  // then what the children wrote
  } cases[] = {
      {fake, "", name, q, "\n[-r][" + name + "][-q]\n"},
      {fake, ".", kAllFilesCapture, q,  // the separator put in
       "\n[ Working with file: ./" + name + " ]\n\n[-r][./" + name + "][-q]\n"},
      {fake, "missing", kAllFilesCapture, q, "\n+ missing is not a valid path.\n"},
      {fake, "caps/", kAllFilesCapture, q, headings + runs},
      {fake, "", "", q,
       "\n+ No PCAP file is specified. Please issue the command \"setpcap <pcapfilename>\"\n"},
      {ZAV_TSHARK_PROGRAM, "", name, " -q 2>&1 | grep file >> ran.txt",
       "\ntshark: The file \"" + name +
           "\" isn't a capture file in a format TShark understands.\n"},
  };
  bool withoutTshark = false;
  for (const Case& c : cases) {
    if (c.tool.empty()) {  // CMake found no TShark
      withoutTshark = true;
      continue;
    }
    config.TSHARK_EXE_PATH = c.tool;
    config.PCAP_DIR_PATH = c.directory;
    currentCapture = c.capture;
    testing_support::CapturedStreams output;
    runTsharkCommand(c.text);
    std::ifstream file("ran.txt", std::ios::binary);
    const std::string ran(std::istreambuf_iterator<char>(file), {});
    EXPECT_EQ(output.out() + ran, c.out) << c.directory << c.capture;
    fs::remove("ran.txt");
  }
  EXPECT_FALSE(fs::exists("ran1") || fs::exists("ran2"));
  if (withoutTshark) GTEST_SKIP() << "the row of the real TShark: TShark was not found";
}

}  // namespace
}  // namespace zav
