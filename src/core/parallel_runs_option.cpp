#include "core/parallel_runs_option.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <thread>

#include "core/shell_state.h"

namespace zav {

void readParallelRunsOption(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (argument.compare(0, 2, "-j") != 0) continue;
    std::string value = argument.size() > 2 ? argument.substr(2) : (i + 1 < argc ? argv[++i] : "");
    if (value.empty() || value.size() > 6 ||
        value.find_first_not_of("0123456789") != std::string::npos) {
      std::cerr << "zav: -j takes a number of runs at once (0: one per processor)\n";
      continue;
    }
    parallelRuns = static_cast<unsigned>(std::stoul(value));
    if (parallelRuns == 0) parallelRuns = std::max(1u, std::thread::hardware_concurrency());
  }
}

}  // namespace zav
