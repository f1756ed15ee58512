// The command lines the launchers build, with the command processor
// replaced by a recorder.
#include "exec/launch.h"

#include <gtest/gtest.h>

#include "core/shell_state.h"
#include "core/output_capture_test_support.h"
#include "exec/exec_test_support.h"
#include "platform/console.h"

namespace zav {
namespace {

using testing_support::CapturedStreams;
using testing_support::LaunchRecorder;
using testing_support::ScratchDirectory;

std::string tsharkRun(const std::string& capturePath, const std::string& text) {
  return "processor[" + platform::tsharkCommandLine("T", capturePath, text) + "]";
}

class Launch : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = config;
    savedCapture_ = currentCapture;
    config.TSHARK_EXE_PATH = "T";
  }
  void TearDown() override {
    config = saved_;
    currentCapture = savedCapture_;
  }

 private:
  ConfigRecord saved_;
  std::string savedCapture_;
};

TEST_F(Launch, CapturePathIsDirectoryValueThenName) {
  struct Case {
    const char* directory;
    const char* capture;
    const char* capturePath;
  } cases[] = {
      {"D:\\caps\\", "a.pcap", "D:\\caps\\a.pcap"},
      {"D:\\caps", "a.pcap", "D:\\capsa.pcap"},  // no separator is put in
      {"/caps/", "*af*", "/caps/*af*"},          // only "*AF*" means all files
      {"", "x y.pcap", "x y.pcap"},
  };
  for (const Case& c : cases) {
    config.PCAP_DIR_PATH = c.directory;
    currentCapture = c.capture;
    LaunchRecorder recorder;
    CapturedStreams output;
    runTsharkCommand(" -Y \"dns\"");
    EXPECT_EQ(recorder.runs, std::vector<std::string>{tsharkRun(c.capturePath, " -Y \"dns\"")})
        << c.directory << c.capture;
    EXPECT_EQ(output.out(), "\n");
  }
}

TEST_F(Launch, AllFilesInAnEmptyOrMissingDirectory) {
  ScratchDirectory directory;
  currentCapture = kAllFilesCapture;
  const std::string file = directory.write("plain", "");
  std::filesystem::create_directory(directory.path() / "empty");
  struct Case {
    std::string directory;
    std::string output;
  } cases[] = {
      {(directory.path() / "empty").string(), ""},
      {(directory.path() / "missing").string(),
       "\n+ " + (directory.path() / "missing").string() + " is not a valid path.\n"},
      {file, "\n+ " + file + " is not a valid path.\n"},
      {"", "\n+  is not a valid path.\n"},
  };
  for (const Case& c : cases) {
    config.PCAP_DIR_PATH = c.directory;
    LaunchRecorder recorder;
    CapturedStreams output;
    runTsharkCommand(" -q");
    EXPECT_TRUE(recorder.runs.empty()) << c.directory;
    EXPECT_EQ(output.out(), c.output);
  }
}

}  // namespace
}  // namespace zav
