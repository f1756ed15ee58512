// Shared by the command-execution tests: a recorder in place of the
// launchers, captured std::cout and a scratch directory.
#ifndef ZAV_EXEC_EXEC_TEST_SUPPORT_H_
#define ZAV_EXEC_EXEC_TEST_SUPPORT_H_

#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "exec/launch.h"

namespace zav {
namespace testing_support {

// Records, in order, what would have run: "tshark[<text>]",
// "windows[<text>]" or "processor[<command line>]". Puts the launchers in
// use back when it goes.
class LaunchRecorder {
 public:
  LaunchRecorder() : saved_(launchers()) {
    launchers().tshark = recordAs("tshark");
    launchers().windows = recordAs("windows");
    launchers().commandProcessor = recordAs("processor");
  }
  ~LaunchRecorder() { launchers() = saved_; }
  LaunchRecorder(const LaunchRecorder&) = delete;
  LaunchRecorder& operator=(const LaunchRecorder&) = delete;

  std::vector<std::string> runs;

 private:
  TextRunner recordAs(const std::string& kind) {
    return [this, kind](const std::string& text) { runs.push_back(kind + "[" + text + "]"); };
  }
  Launchers saved_;
};

// A fresh directory under the system's temporary directory, removed with
// everything in it when this goes.
class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("zav-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The directory with a trailing separator, as PCAP_DIR_PATH is written.
  std::string withSeparator() const { return (path_ / "").string(); }
  std::string write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
  }

 private:
  std::filesystem::path path_;
};

}  // namespace testing_support
}  // namespace zav

#endif  // ZAV_EXEC_EXEC_TEST_SUPPORT_H_
