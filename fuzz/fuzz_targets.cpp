// The fuzz targets; CMake builds one binary per target and names it in
// ZAV_FUZZ_TARGET:
//   configuration  the configuration parser;
//   command_file   a whole load of CMD.zav and its include files, from empty
//                  stores, as `loadcmdfile` does it;
//   dispatch       typed lines dispatched against a store so loaded, with
//                  the command processor replaced by a recorder: the
//                  launchers build their command lines and nothing starts.
// The input is the scenario format of the end-to-end tests, so a scenario
// file is a seed as it stands: "=== file <name>" starts a file to create,
// "=== stdin" lines to type, other "=== " sections are ignored. An input
// without sections is CMD.zav (for `configuration`, ZAV.cfg) as a whole.
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "builtins/command_file_loader.h"
#include "config/configuration.h"
#include "core/file_names.h"
#include "core/shell_state.h"
#include "defs/command_store.h"
#include "exec/dispatch.h"
#include "exec/launch.h"
#include "ic/implicit_constructors.h"

namespace {

struct FuzzInput {
  std::vector<std::pair<std::string, std::string>> files;  // name, content
  std::vector<std::string> typedLines;
};

// Names stay inside the scratch directory: anything but letters, digits,
// "." and "-" becomes "_"; "." and ".." are dropped.
std::string safeName(std::string_view header) {
  std::string name(header.substr(0, header.find_first_of(" \t\r\n")).substr(0, 64));
  for (char& c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '.' && c != '-') c = '_';
  return name == "." || name == ".." ? "" : name;
}

FuzzInput parseInput(std::string_view text) {
  FuzzInput input;
  bool sections = text.substr(0, 4) == "=== " || text.find("\n=== ") != std::string_view::npos;
  // The last of `files` while its section lasts.
  std::string* file = sections ? nullptr : &input.files.emplace_back("CMD.zav", "").second;
  bool typing = false;
  for (size_t at = 0; at < text.size();) {
    size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
    std::string_view line = text.substr(at, end - at);
    at = end;
    if (line.substr(0, 4) == "=== ") {
      std::string name = line.substr(4, 5) == "file " ? safeName(line.substr(9)) : "";
      file = name.empty() ? nullptr : &input.files.emplace_back(name, "").second;
      typing = line.substr(4, 5) == "stdin";
    } else if (file != nullptr) {
      file->append(line);
    } else if (typing) {
      input.typedLines.emplace_back(line.substr(0, line.find('\n')));
    }
  }
  return input;
}

// Replaces the previous input's files by these, in a private scratch
// directory that becomes the current one on the first call (so every path
// handed to the fuzzer must be absolute) and is removed at exit.
std::vector<std::string> written;
char scratch[] = "/tmp/zav-fuzz-XXXXXX";

void writeFiles(const FuzzInput& input) {
  static const bool entered = mkdtemp(scratch) != nullptr && chdir(scratch) == 0 &&
                              std::atexit([] { writeFiles({}), rmdir(scratch); }) == 0;
  if (!entered) std::abort();
  for (const std::string& name : std::exchange(written, {})) std::remove(name.c_str());
  for (const auto& [name, content] : input.files)
    std::ofstream(written.emplace_back(name), std::ios::binary) << content;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The shell's messages would drown the fuzzer's report and slow each run.
  std::cout.rdbuf(nullptr);
  zav::launchers().commandProcessor = [](const std::string&) {};
  const std::string_view target = ZAV_FUZZ_TARGET;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const FuzzInput input = parseInput(text);
  const std::string* configuration = nullptr;
  for (const auto& [name, content] : input.files)
    if (name == zav::configFileName) configuration = &content;
  zav::config = zav::ConfigRecord();
  zav::currentCapture.clear();
  if (target == "configuration") {
    zav::parseConfiguration(configuration != nullptr ? *configuration : std::string(text));
    return 0;
  }
  writeFiles(input);
  if (target == "dispatch") {
    // The input's ZAV.cfg may choose the capture ("*AF*" lists the scratch
    // directory); the command file is always the local one.
    zav::config.TSHARK_EXE_PATH = "tshark";
    zav::config.PCAP_DIR_PATH = "./";
    zav::currentCapture = "a.pcap";
    if (configuration != nullptr) zav::parseConfiguration(*configuration);
  }
  zav::config.ZAV_CMD_FILE_PATH = "LOCAL";
  zav::clearCommandStore();
  zav::clearImplicitConstructors();
  zav::loadCommandFile();
  if (target == "dispatch")
    for (const std::string& line : input.typedLines) zav::dispatchCommand(line);
  return 0;
}
