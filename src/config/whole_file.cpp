#include "config/whole_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "core/console_output.h"

namespace zav {

std::string toTextMode(std::string bytes) {
  size_t out = 0;
  for (size_t in = 0; in < bytes.size(); ++in) {
    if (bytes[in] == '\r' && in + 1 < bytes.size() && bytes[in + 1] == '\n') continue;
    bytes[out++] = bytes[in];
  }
  bytes.resize(out);
  return bytes;
}

bool namesSpecialFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error || !std::filesystem::exists(status)) return false;
  return !std::filesystem::is_regular_file(status);
}

void printCouldNotOpen(const std::string& path) {
  printMessage("+ File \"" + path + "\" could not be opened.");
}

std::string readWholeFile(const std::string& fileName, const std::string& directoryPrefix) {
  const std::string path = directoryPrefix.empty() ? fileName : directoryPrefix + fileName;
  // Binary read plus our own CR LF handling gives the same text on every
  // platform (no double conversion on Windows).
  std::ifstream file;
  if (!namesSpecialFile(path)) file.open(path, std::ios::in | std::ios::binary);
  if (!file.is_open()) {
    printCouldNotOpen(path);
    return kFileNotFound;
  }
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return toTextMode(std::move(bytes));
}

}  // namespace zav
