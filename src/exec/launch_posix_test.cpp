// The launcher against real processes: a TShark stand-in that prints each
// argument in brackets, and the real TShark, which names the file it could
// not read. The text's own redirection sends what the children print to a
// file; a hostile capture name must reach them whole and run nothing itself.
#include "config/configuration.h"
#include "exec/launch.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/output_capture_test_support.h"
#include "core/shell_state.h"
#include "platform/clipboard.h"
#include "platform/console.h"

namespace zav {
namespace {

namespace fs = std::filesystem;

TEST(LaunchProcesses, CapturePathsArriveIntact) {
  char pattern[] = "/tmp/zav-launch-XXXXXX";
  const fs::path directory = mkdtemp(pattern), oldDirectory = fs::current_path();
  fs::current_path(directory);  // where an injected "touch" would write
  const std::string name = "x$(touch ran1)`touch ran2` it's; $HOME & y.pcap", q = " -q >> ran.txt";
  std::ofstream(name) << "not a capture\n";
  const std::string fake = ZAV_SOURCE_DIR "/tests/e2e/fake_tshark.sh";
  struct Case {
    std::string tool, directory, capture, text, out;  // then what the children wrote
  } cases[] = {
      {fake, "", name, q, "\n[-r][" + name + "][-q]\n"},
      {fake, ".", kAllFilesCapture, q,  // the separator put in
       "\n[ Working with file: ./" + name + " ]\n\n[-r][./" + name + "][-q]\n"},
      {fake, "missing", kAllFilesCapture, q, "\n+ missing is not a valid path.\n"},
      {fake, "", "", q,
       "\n+ No PCAP file is specified. Please issue the command \"setpcap <pcapfilename>\"\n"},
      {ZAV_TSHARK_PROGRAM, "", name, " -q 2>&1 | grep file >> ran.txt",
       "\ntshark: The file \"" + name +
           "\" isn't a capture file in a format TShark understands.\n"},
  };
  for (const Case& c : cases) {
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
  config = ConfigRecord();
  fs::current_path(oldDirectory);
  fs::remove_all(directory);
}

// Without a terminal there is no clipboard; an empty text is refused first.
TEST(Clipboard, MessagesWithoutATerminal) {
  EXPECT_EQ(testing_support::captureOutput([] { platform::copyToClipboard(""); }),
            "\n+ There is nothing to copy to the Clipboard\n");
  if (platform::standardOutputIsTerminal()) GTEST_SKIP() << "standard output is a terminal";
  EXPECT_EQ(testing_support::captureOutput(platform::clearClipboard),
            "\n+ Cannot open the clipboard\n");
}

}  // namespace
}  // namespace zav
