#include "core/whole_file.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/console_output.h"
#include "core/run_outcome.h"

namespace zav {

std::string toTextMode(std::string bytes) {
  // Most files hold no CR LF at all; the text between two of them is moved
  // as one block.
  size_t out = bytes.find("\r\n");
  if (out == std::string::npos) return bytes;
  // Writes only behind the place it reads, so every search sees the file's
  // own bytes.
  for (size_t in = out + 1; in < bytes.size();) {
    size_t next = bytes.find("\r\n", in);
    size_t end = next == std::string::npos ? bytes.size() : next;
    std::memmove(&bytes[out], &bytes[in], end - in);
    out += end - in;
    in = end + 1;
  }
  bytes.resize(out);
  return bytes;
}

namespace {

// True when the path names something that exists and is not a regular file
// (links followed): a directory, a device, a FIFO or a socket. Readers of
// whole files treat such a path as one that cannot be opened.
bool namesSpecialFile(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error || !std::filesystem::exists(status)) return false;
  return !std::filesystem::is_regular_file(status);
}

}  // namespace

void printCouldNotOpen(const std::string& path) {
  printMessage("+ File \"" + path + "\" could not be opened.");
}

bool readFileBytes(const std::string& path, std::string& bytes) {
  if (namesSpecialFile(path)) return false;
  // Binary read plus our own CR LF handling gives the same text on every
  // platform (no double conversion on Windows).
  std::ifstream file(path, std::ios::in | std::ios::binary);
  if (!file.is_open()) return false;
  bytes.clear();
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error) bytes.reserve(static_cast<size_t>(size));
  // Block reads: a character at a time costs more than the parse of a
  // large command file.
  char block[64 * 1024];
  while (file.read(block, sizeof block), file.gcount() > 0)
    bytes.append(block, static_cast<size_t>(file.gcount()));
  return true;
}

std::string readWholeFile(const std::string& fileName, const std::string& directoryPrefix) {
  const std::string path = directoryPrefix.empty() ? fileName : directoryPrefix + fileName;
  std::string bytes;
  if (!readFileBytes(path, bytes)) {
    printCouldNotOpen(path);
    noteFailedRun();  // ZAV.cfg or a command file: the run lacks what it needs
    return kFileNotFound;
  }
  return toTextMode(std::move(bytes));
}

}  // namespace zav
