#include "shell/given_lines.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>

#include "shell/options.h"
#include "shell/shell.h"

namespace zav {

namespace {

int cannotRead(const std::string& name, const std::string& reason) {
  std::cerr << "zav: cannot read " << name << ": " << reason << '\n';
  return kExitFailure;
}

// What the C library says about the last failed open or read.
std::string lastSystemError() {
  const int error = errno;
  return error != 0 ? std::generic_category().message(error) : "it cannot be opened";
}

enum class GivenLine { goOn, leave, interrupted };

GivenLine runGivenLine(const std::string& line) {
  if (isAcceptedLine(line) && !runTypedLine(line, false)) return GivenLine::interrupted;
  return line == "exit" ? GivenLine::leave : GivenLine::goOn;
}

}  // namespace

bool startsLikeCapture(const std::string& firstBytes) {
  // pcap in either byte order, with microsecond or nanosecond time stamps;
  // pcapng's first block, whose type reads the same in both.
  static const char* const kMagic[] = {"\xd4\xc3\xb2\xa1", "\xa1\xb2\xc3\xd4", "\x4d\x3c\xb2\xa1",
                                       "\xa1\xb2\x3c\x4d", "\x0a\x0d\x0d\x0a"};
  for (const char* magic : kMagic)
    if (firstBytes.compare(0, 4, magic, 4) == 0) return true;
  return false;
}

bool checkLineFile(const std::string& fileName, int& status) {
  if (fileName == "-") return true;
  std::error_code error;
  const std::filesystem::file_status state = std::filesystem::status(fileName, error);
  if (error) return status = cannotRead(fileName, error.message()), false;
  if (std::filesystem::is_directory(state)) {
    const std::error_code isDirectory = std::make_error_code(std::errc::is_a_directory);
    return status = cannotRead(fileName, isDirectory.message()), false;
  }
  // Only a regular file is opened here: a FIFO would lose what is read.
  if (!std::filesystem::is_regular_file(state)) return true;
  errno = 0;
  std::ifstream file(fileName, std::ios::binary);
  if (!file.is_open()) return status = cannotRead(fileName, lastSystemError()), false;
  std::string firstBytes(4, '\0');
  firstBytes.resize(static_cast<size_t>(file.read(&firstBytes[0], 4).gcount()));
  if (!startsLikeCapture(firstBytes)) return true;
  // Run as lines, a capture would send its bytes to the command processor.
  std::cerr << "zav: " << fileName << " is a capture file; open it with -r " << fileName << '\n';
  status = kExitUsage;
  return false;
}

int runGivenLines(const CommandLineOptions& options) {
  for (const std::string& line : options.lines) {
    const GivenLine outcome = runGivenLine(line);
    if (outcome == GivenLine::interrupted) return kExitInterrupted;
    if (outcome == GivenLine::leave) return 0;
  }
  if (!options.hasLineFile) return 0;
  const bool standardInput = options.lineFile == "-";
  const std::string name = standardInput ? "standard input" : options.lineFile;
  std::ifstream file;
  if (!standardInput) {
    errno = 0;
    file.open(options.lineFile);
    if (!file.is_open()) return cannotRead(name, lastSystemError());
  }
  std::istream& input = standardInput ? std::cin : file;
  std::string line;
  while (std::getline(input, line)) {
    // Saved with CR LF line ends, as the command file may be.
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const GivenLine outcome = runGivenLine(line);
    if (outcome == GivenLine::interrupted) return kExitInterrupted;
    if (outcome == GivenLine::leave) return 0;
  }
  // A directory as standard input fails the first read; std::cin reads
  // through stdio, which keeps the error apart from the end of input.
  if (standardInput && std::ferror(stdin) != 0) return cannotRead(name, lastSystemError());
  return 0;
}

}  // namespace zav
