#include "config/whole_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace zav {
namespace {

// Anything but a regular file would hang the reader (a FIFO), never end
// (/dev/zero) or read as nothing (a directory); each reads as a file that
// cannot be opened.
TEST(WholeFile, SpecialFilesCountAsUnopenable) {
  const std::filesystem::path directory = std::filesystem::temp_directory_path();
  const char* const special[] = {"/dev/zero", "/dev/null"};
  EXPECT_EQ(readWholeFile(directory.string(), ""), kFileNotFound);
  EXPECT_TRUE(namesSpecialFile(directory.string()));
  for (const char* path : special) {
    if (!std::filesystem::exists(path)) continue;
    EXPECT_TRUE(namesSpecialFile(path)) << path;
    EXPECT_EQ(readWholeFile(path, ""), kFileNotFound) << path;
  }
  EXPECT_FALSE(namesSpecialFile((directory / "zav-no-such-file").string()));
}

TEST(WholeFile, RegularFileReadsInTextMode) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "zav-whole-file-test.txt";
  std::ofstream(path, std::ios::binary) << "a\r\nb\rc\n";
  EXPECT_FALSE(namesSpecialFile(path.string()));
  EXPECT_EQ(readWholeFile(path.filename().string(), path.parent_path().string() + "/"),
            "a\nb\rc\n");
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace zav
