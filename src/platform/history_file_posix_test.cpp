#include "platform/history_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace zav {
namespace platform {
namespace {

class HistoryFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/zav-histfile-XXXXXX";
    directory_ = mkdtemp(pattern);
    path_ = directory_ + "/.zav_history";
  }
  void TearDown() override {
    unlink(path_.c_str());
    rmdir(directory_.c_str());
  }
  std::string contents() {
    std::ifstream file(path_, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  std::string directory_;
  std::string path_;
};

TEST_F(HistoryFileTest, CreatedForTheOwnerOnly) {
  mode_t savedMask = umask(0);  // even a permissive umask gives no more
  FileHandle file = openAppendOnlyFile(path_);
  umask(savedMask);
  ASSERT_NE(file, kNoFile);
  closeFile(file);
  struct stat info {};
  ASSERT_EQ(stat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(HistoryFileTest, ExistingPermissionsAreKept) {
  std::ofstream(path_) << "x\n";
  chmod(path_.c_str(), 0640);
  closeFile(openAppendOnlyFile(path_));
  struct stat info {};
  ASSERT_EQ(stat(path_.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(HistoryFileTest, ReadsFromTheStartAndAppendsAtTheCurrentEnd) {
  std::ofstream(path_) << "one\ntwo\n";
  FileHandle file = openAppendOnlyFile(path_);
  ASSERT_NE(file, kNoFile);
  std::string bytes;
  EXPECT_TRUE(readToEnd(file, bytes));
  EXPECT_EQ(bytes, "one\ntwo\n");
  std::ofstream(path_, std::ios::app) << "another shell\n";
  EXPECT_TRUE(appendAtEnd(file, "three\n"));
  closeFile(file);
  EXPECT_EQ(contents(), "one\ntwo\nanother shell\nthree\n");
}

TEST_F(HistoryFileTest, UnopenablePathAndClosedHandleFailQuietly) {
  EXPECT_EQ(openAppendOnlyFile(directory_ + "/no/such/dir/file"), kNoFile);
  EXPECT_EQ(openAppendOnlyFile(directory_), kNoFile);  // a directory
  std::string bytes;
  EXPECT_FALSE(readToEnd(kNoFile, bytes));
  EXPECT_FALSE(appendAtEnd(kNoFile, "x\n"));
  closeFile(kNoFile);
}

// Two shells sharing one history file: every line arrives whole.
TEST_F(HistoryFileTest, ConcurrentWritersNeverSplitLines) {
  const int kLines = 300;
  const size_t kLength = 3000;
  pid_t children[2];
  for (int writer = 0; writer < 2; ++writer) {
    children[writer] = fork();
    ASSERT_GE(children[writer], 0);
    if (children[writer] == 0) {
      FileHandle file = openAppendOnlyFile(path_);
      const std::string line(kLength, writer == 0 ? 'a' : 'b');
      for (int i = 0; i < kLines; ++i) appendAtEnd(file, line + "\n");
      _exit(0);
    }
  }
  for (pid_t child : children) waitpid(child, nullptr, 0);
  std::istringstream lines(contents());
  std::string line;
  int count = 0;
  while (std::getline(lines, line)) {
    ++count;
    ASSERT_EQ(line.size(), kLength);
    ASSERT_EQ(line.find_first_not_of(line[0]), std::string::npos) << "line " << count;
  }
  EXPECT_EQ(count, 2 * kLines);
}

}  // namespace
}  // namespace platform
}  // namespace zav
