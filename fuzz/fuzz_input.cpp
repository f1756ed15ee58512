#include "fuzz_input.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <streambuf>
#include <string_view>

namespace zav {
namespace fuzz {

namespace {

const std::string_view kSectionMark = "=== ";

class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

std::string safeName(std::string_view raw) {
  size_t end = raw.find_first_of(" \t\r");
  std::string name(raw.substr(0, end == std::string_view::npos ? raw.size() : end));
  for (char& c : name) {
    bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                 c == '.' || c == '_' || c == '-';
    if (!plain) c = '_';
  }
  if (name.size() > 64) name.resize(64);
  if (name == "." || name == "..") name.clear();
  return name;
}

std::vector<std::string> previousNames;
std::string scratchDirectory;

void removePreviousFiles() {
  for (const std::string& name : previousNames) std::remove(name.c_str());
  previousNames.clear();
}

void removeScratchDirectory() {
  removePreviousFiles();
  rmdir(scratchDirectory.c_str());
}

}  // namespace

FuzzInput parseFuzzInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  FuzzInput input;
  if (text.substr(0, kSectionMark.size()) != kSectionMark &&
      text.find(std::string("\n") + std::string(kSectionMark)) == std::string_view::npos) {
    input.files.emplace_back("CMD.zav", std::string(text));
    return input;
  }
  enum class Kind { none, file, stdin } kind = Kind::none;
  std::string* content = nullptr;
  size_t position = 0;
  while (position < text.size()) {
    size_t lineEnd = text.find('\n', position);
    size_t next = lineEnd == std::string_view::npos ? text.size() : lineEnd + 1;
    std::string_view line = text.substr(position, next - position);
    position = next;
    if (line.substr(0, kSectionMark.size()) == kSectionMark) {
      std::string_view header = line.substr(kSectionMark.size());
      if (!header.empty() && header.back() == '\n') header.remove_suffix(1);
      kind = Kind::none;
      if (header.substr(0, 5) == "file ") {
        std::string name = safeName(header.substr(5));
        if (!name.empty()) {
          input.files.emplace_back(name, std::string());
          content = &input.files.back().second;
          kind = Kind::file;
        }
      } else if (header.substr(0, 5) == "stdin") {
        kind = Kind::stdin;
      }
      continue;
    }
    if (kind == Kind::file) {
      content->append(line);
    } else if (kind == Kind::stdin) {
      if (!line.empty() && line.back() == '\n') line.remove_suffix(1);
      input.typedLines.emplace_back(line);
    }
  }
  return input;
}

void writeScratchFiles(const FuzzInput& input) {
  static bool entered = [] {
    char pattern[] = "/tmp/zav-fuzz-XXXXXX";
    if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0) return false;
    scratchDirectory = pattern;
    std::atexit(removeScratchDirectory);
    return true;
  }();
  if (!entered) abort();
  removePreviousFiles();
  for (const auto& [name, content] : input.files) {
    std::ofstream(name, std::ios::binary | std::ios::trunc) << content;
    previousNames.push_back(name);
  }
}

void silenceStandardOutput() {
  static NullBuffer nowhere;
  std::cout.rdbuf(&nowhere);
}

}  // namespace fuzz
}  // namespace zav
