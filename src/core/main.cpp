// Everything else comes from ZAV.cfg.
#include "core/parallel_runs_option.h"
#include "core/shell.h"

int main(int argc, char** argv) {
  zav::readParallelRunsOption(argc, argv);
  return zav::runProgram();
}
