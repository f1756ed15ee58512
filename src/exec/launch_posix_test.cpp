// The launchers against real processes: /bin/sh, a TShark stand-in that
// prints each argument it gets in brackets, and the real TShark. The
// children write to file descriptor 1, so that is what these tests read.
#include "exec/launch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "core/shell_state.h"
#include "exec/exec_test_support.h"

namespace zav {
namespace {

using testing_support::ScratchDirectory;

// Everything written to standard output, by the shell's streams and by
// children, while this lives.
class CapturedStdout {
 public:
  CapturedStdout() : file_(std::tmpfile()), saved_(dup(STDOUT_FILENO)) {
    flushAll();
    dup2(fileno(file_), STDOUT_FILENO);
  }
  ~CapturedStdout() {
    restore();
    std::fclose(file_);
  }
  CapturedStdout(const CapturedStdout&) = delete;
  CapturedStdout& operator=(const CapturedStdout&) = delete;

  std::string text() {
    restore();
    std::string out;
    std::rewind(file_);
    for (int c; (c = std::fgetc(file_)) != EOF;) out += static_cast<char>(c);
    return out;
  }

 private:
  static void flushAll() {
    std::cout.flush();
    std::fflush(stdout);
  }
  void restore() {
    if (saved_ < 0) return;
    flushAll();
    dup2(saved_, STDOUT_FILENO);
    close(saved_);
    saved_ = -1;
  }
  std::FILE* file_;
  int saved_;
};

const std::string kFakeTshark = ZAV_SOURCE_DIR "/tests/e2e/fake_tshark.sh";

class LaunchProcesses : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = config;
    savedCapture_ = currentCapture;
    config.TSHARK_EXE_PATH = kFakeTshark;
    config.PCAP_DIR_PATH = directory.withSeparator();
  }
  void TearDown() override {
    config = saved_;
    currentCapture = savedCapture_;
  }
  ScratchDirectory directory;

 private:
  ConfigRecord saved_;
  std::string savedCapture_;
};

TEST_F(LaunchProcesses, CapturePathAndTextArriveAsArguments) {
  currentCapture = "a.pcap";
  CapturedStdout output;
  std::cout << "before";
  runTsharkCommand(" -Y \"dns && udp\"  -T fields");
  EXPECT_EQ(output.text(),
            "before\n[-r][" + directory.withSeparator() + "a.pcap][-Y][dns && udp][-T][fields]\n");
}

TEST_F(LaunchProcesses, NoCaptureRunsNothing) {
  currentCapture.clear();
  CapturedStdout output;
  runTsharkCommand(" -Y dns");
  EXPECT_EQ(output.text(),
            "\n+ No PCAP file is specified. Please issue the command \"setpcap <pcapfilename>\"\n");
}

TEST_F(LaunchProcesses, AllFilesAnnouncesEachCaptureInNameOrder) {
  directory.write("b.pcap", "");
  directory.write("a.pcap", "");
  directory.write("B.pcap", "");  // byte-wise: upper case first
  std::filesystem::create_directory(directory.path() / "sub");
  directory.write("sub/inner.pcap", "");
  // Links are followed: one to a file counts, one to a directory does not.
  std::filesystem::create_symlink(directory.path() / "a.pcap", directory.path() / "c-link.pcap");
  std::filesystem::create_directory_symlink(directory.path() / "sub", directory.path() / "d-link");
  currentCapture = kAllFilesCapture;
  config.PCAP_DIR_PATH = directory.path().string();  // no separator: the library adds one
  const std::string base = directory.withSeparator();
  CapturedStdout output;
  runTsharkCommand(" -q");
  EXPECT_EQ(output.text(), "\n[ Working with file: " + base + "B.pcap ]\n\n[-r][" + base +
                               "B.pcap][-q]\n"
                               "\n[ Working with file: " +
                               base + "a.pcap ]\n\n[-r][" + base +
                               "a.pcap][-q]\n"
                               "\n[ Working with file: " +
                               base + "b.pcap ]\n\n[-r][" + base +
                               "b.pcap][-q]\n"
                               "\n[ Working with file: " +
                               base + "c-link.pcap ]\n\n[-r][" + base + "c-link.pcap][-q]\n");
}

TEST_F(LaunchProcesses, HostileCaptureNameRunsNothingButTshark) {
  const std::string name = "x$(touch ran1)`touch ran2` it's; $HOME & y.pcap";
  directory.write(name, "");
  const std::filesystem::path oldDirectory = std::filesystem::current_path();
  std::filesystem::current_path(directory.path());  // where an injected "touch" would write
  std::string selected;
  std::string allFiles;
  {
    CapturedStdout output;
    currentCapture = name;
    runTsharkCommand(" -q");
    selected = output.text();
  }
  {
    CapturedStdout output;
    currentCapture = kAllFilesCapture;
    runTsharkCommand(" -q");
    allFiles = output.text();
  }
  std::filesystem::current_path(oldDirectory);
  const std::string path = directory.withSeparator() + name;
  EXPECT_EQ(selected, "\n[-r][" + path + "][-q]\n");
  EXPECT_EQ(allFiles, "\n[ Working with file: " + path + " ]\n\n[-r][" + path + "][-q]\n");
  EXPECT_FALSE(std::filesystem::exists(directory.path() / "ran1"));
  EXPECT_FALSE(std::filesystem::exists(directory.path() / "ran2"));
}

TEST_F(LaunchProcesses, WindowsTextRunsInTheCommandProcessorAsItIs) {
  CapturedStdout output;
  runWindowsCommand("echo a   \"b  c\"; echo d | tr d D");
  EXPECT_EQ(output.text(), "\na b  c\nD\n");
}

// Ethernet, IPv4, UDP to port 53, then a DNS query for example.com.
const unsigned char kDnsQueryFrame[] = {
    0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xaa, 0xbb, 0x08, 0x00,  // Ethernet
    0x45, 0x00, 0x00, 0x39, 0x00, 0x01, 0x00, 0x00, 0x40, 0x11, 0x00, 0x00,              // IPv4
    0x0a, 0x00, 0x00, 0x01, 0x0a, 0x00, 0x00, 0x02,                                      //
    0x30, 0x39, 0x00, 0x35, 0x00, 0x25, 0x00, 0x00,                                      // UDP
    0x12, 0x34, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,              // DNS
    0x07, 'e',  'x',  'a',  'm',  'p',  'l',  'e',  0x03, 'c',  'o',  'm',  0x00,        //
    0x00, 0x01, 0x00, 0x01,                                                              //
};

// The frame as text2pcap reads it: an offset, then the bytes in hex.
std::string hexDump(const unsigned char* bytes, size_t size) {
  std::string dump;
  char piece[16];
  for (size_t i = 0; i < size; ++i) {
    if (i % 16 == 0) {
      std::snprintf(piece, sizeof piece, "%s%06zx", i ? "\n" : "", i);
      dump += piece;
    }
    std::snprintf(piece, sizeof piece, " %02x", bytes[i]);
    dump += piece;
  }
  return dump + "\n";
}

TEST_F(LaunchProcesses, RealTsharkReadsTheSelectedCapture) {
  const std::string dump =
      directory.write("dns.hex", hexDump(kDnsQueryFrame, sizeof kDnsQueryFrame));
  const std::string capture = (directory.path() / "dns query.pcap").string();
  const std::string makeCapture =
      std::string(ZAV_TEXT2PCAP_PROGRAM) + " -q '" + dump + "' '" + capture + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(makeCapture.c_str()), 0);
  config.TSHARK_EXE_PATH = ZAV_TSHARK_PROGRAM;
  currentCapture = "dns query.pcap";
  CapturedStdout output;
  runTsharkCommand(" -T fields -e dns.qry.name -e udp.dstport 2>/dev/null");
  EXPECT_EQ(output.text(), "\nexample.com\t53\n");
}

}  // namespace
}  // namespace zav
