// Loading generated command files of 1,000 / 10,000 / 100,000 commands, and
// dispatching 10,000 typed commands against the largest store with the
// command processor replaced by a recorder (the launchers still build every
// command line).
#include <benchmark/benchmark.h>

#include <iostream>
#include <streambuf>
#include <string>
#include <vector>

#include "builtins/command_file_loader.h"
#include "config/configuration.h"
#include "core/shell_state.h"
#include "defs/command_store.h"
#include "exec/dispatch.h"
#include "exec/launch.h"
#include "ic/implicit_constructors.h"

namespace {

// The shell's messages and line feeds would otherwise be timed too, and
// mixed into the report.
class NullBuffer : public std::streambuf {
 protected:
  int overflow(int c) override { return traits_type::not_eof(c); }
  std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
};

class QuietOutput {
 public:
  QuietOutput() : saved_(std::cout.rdbuf(&nowhere_)) {}
  ~QuietOutput() { std::cout.rdbuf(saved_); }

 private:
  NullBuffer nowhere_;
  std::streambuf* saved_;
};

void loadGenerated(int64_t count) {
  zav::config.ZAV_CMD_FILE_PATH =
      std::string(ZAV_BENCH_DIRECTORY) + "commands" + std::to_string(count) + "/";
  zav::clearCommandStore();
  zav::clearImplicitConstructors();
  zav::loadCommandFile();
}

void BM_LoadCommandFile(benchmark::State& state) {
  QuietOutput quiet;
  for (auto _ : state) loadGenerated(state.range(0));
  state.counters["commands"] = static_cast<double>(zav::commandList(zav::kZavExtList).size() +
                                                   zav::commandList(zav::kWinExtList).size());
}
BENCHMARK(BM_LoadCommandFile)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// 10,000 lines over the whole store: single commands, commands with their
// argument, two command words on one line, and words that name nothing.
std::vector<std::string> typedLines(int64_t storeSize) {
  std::vector<std::string> lines;
  for (int64_t i = 0; lines.size() < 10000; i += 7) {
    const int64_t n = (i * 13) % (storeSize - 10);
    switch (i % 4) {
      case 0:
        lines.push_back("cmd" + std::to_string(n));
        break;
      case 1:
        lines.push_back("cmd" + std::to_string(n - n % 7) + " 80");
        break;
      case 2:
        lines.push_back("cmd" + std::to_string(n) + " leaf3 cmd" + std::to_string(n / 2));
        break;
      default:
        lines.push_back("nosuch" + std::to_string(n) + " -x");
        break;
    }
  }
  return lines;
}

void BM_Dispatch10000Commands(benchmark::State& state) {
  const int64_t storeSize = 100000;
  {
    QuietOutput quiet;
    loadGenerated(storeSize);
  }
  size_t recorded = 0;
  zav::launchers().commandProcessor = [&recorded](const std::string& commandLine) {
    recorded += commandLine.size();
  };
  zav::currentCapture = "a.pcap";
  zav::config.PCAP_DIR_PATH = "./";
  zav::config.TSHARK_EXE_PATH = "tshark";
  const std::vector<std::string> lines = typedLines(storeSize);
  QuietOutput quiet;
  for (auto _ : state)
    for (const std::string& line : lines) zav::dispatchCommand(line);
  benchmark::DoNotOptimize(recorded);
  // Reported as time per command.
  state.counters["per_command"] = benchmark::Counter(
      static_cast<double>(lines.size()),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  zav::launchers() = zav::realLaunchers();
}
BENCHMARK(BM_Dispatch10000Commands)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
