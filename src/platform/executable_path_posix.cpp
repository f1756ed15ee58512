#include "platform/executable_path.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <system_error>

namespace zav {
namespace platform {

namespace {

std::string programName;

// Where a shell would have found the name: a name with a separator is a
// path (relative to the directory we started in), a bare one is looked up
// on PATH.
std::filesystem::path locate(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return name;
  return findProgram(name);
}

}  // namespace

// An empty entry of PATH is the current directory, as for /bin/sh; a
// directory that happens to be executable is no program.
std::string findProgram(const std::string& name) {
  const char* path = getenv("PATH");
  std::istringstream directories(path != nullptr ? path : "");
  for (std::string directory; std::getline(directories, directory, ':');) {
    const std::string candidate = (directory.empty() ? "." : directory) + "/" + name;
    struct stat status;
    if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
        ::access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return std::string();
}

void noteProgramName(const std::string& startedAs) { programName = startedAs; }

// argv[0] is only the name typed, often without a directory; the kernel's
// link names the file itself. Systems without /proc (macOS) fall back to
// the name the program was started by.
std::string executablePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) return path.string();
  const std::filesystem::path located = locate(programName);
  if (located.empty()) return std::string();
  const std::filesystem::path resolved = std::filesystem::canonical(located, error);
  return error ? std::string() : resolved.string();
}

}  // namespace platform
}  // namespace zav
