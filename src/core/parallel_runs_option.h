// The "-j N" command-line option: how many TShark runs of one typed line may
// run at once.
#ifndef ZAV_CORE_PARALLEL_RUNS_OPTION_H_
#define ZAV_CORE_PARALLEL_RUNS_OPTION_H_

namespace zav {

// Sets `parallelRuns` from "-j N" or "-jN" among the arguments; N = 0 means
// one per processor. Other arguments are left alone. A value that is not a
// number is reported on standard error and leaves one run at a time.
void readParallelRunsOption(int argc, char** argv);

}  // namespace zav

#endif  // ZAV_CORE_PARALLEL_RUNS_OPTION_H_
