// The input format shared by the fuzz targets: the scenario format of the
// end-to-end tests, so every scenario is a seed as it stands. Sections start
// with a line "=== file <name>" (a file to create) or "=== stdin" (lines to
// type); other "=== " sections (expected output) are ignored. An input
// without any section is the main command file, CMD.zav, as a whole.
#ifndef ZAV_FUZZ_FUZZ_INPUT_H_
#define ZAV_FUZZ_FUZZ_INPUT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zav {
namespace fuzz {

struct FuzzInput {
  std::vector<std::pair<std::string, std::string>> files;  // name, content
  std::vector<std::string> typedLines;
};

FuzzInput parseFuzzInput(const uint8_t* data, size_t size);

// Makes a private scratch directory the current one (once per process, so
// every path given to the fuzzer must be absolute; it is removed at exit)
// and replaces the files of the previous input by these. Names are confined
// to that directory: anything but letters, digits, ".", "_" and "-" becomes
// "_", and "." and ".." are dropped.
void writeScratchFiles(const FuzzInput& input);

// Sends std::cout to nowhere: the shell's messages would drown the
// fuzzer's own report and slow every run down.
void silenceStandardOutput();

}  // namespace fuzz
}  // namespace zav

#endif  // ZAV_FUZZ_FUZZ_INPUT_H_
