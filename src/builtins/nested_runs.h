// The bound on units and history entries that run themselves. `exmcu` and
// `exh` feed lines back through the dispatchers, so a unit may start itself
// (directly, through other units or through `exh`) and a history entry may
// run `exh` on itself; without a bound either would recurse until the stack
// runs out.
#ifndef ZAV_BUILTINS_NESTED_RUNS_H_
#define ZAV_BUILTINS_NESTED_RUNS_H_

#include <string>

namespace zav {

// At most this many units and history entries run inside one another. Each
// level is a different unit or entry, so this only matters for long chains
// of distinct entries (a hand-made history file), which would otherwise
// exhaust the stack.
inline constexpr int kMaxNestedRuns = 64;

// At most this many units and history entries are started or refused for
// one `exh` or `exmcu` typed at the prompt. Refusing self-runs bounds the
// depth, not the breadth: ten units that each run the next one ten times
// ask for ten billion runs, and a long line "exh 0 0 0 ..." typed as entry
// 0 asks for a refusal per word in every run of itself.
inline constexpr int kMaxRunsPerLine = 10000;

// Renews the allowance of kMaxRunsPerLine for the outermost `exh` or
// `exmcu` (the one started with nothing running) for the scope's lifetime;
// nested ones share it.
class RunAllowance {
 public:
  RunAllowance();
  ~RunAllowance();
  RunAllowance(const RunAllowance&) = delete;
  RunAllowance& operator=(const RunAllowance&) = delete;
};

// True once the allowance is spent; the loops of `exh` and `exmcu` then stop
// at once, so the work stays bounded whatever the lines ask for.
bool runAllowanceSpent();

// Marks one unit or history entry as running for the scope's lifetime.
// `started()` is false when the same unit or entry is already running, when
// kMaxNestedRuns are already running, or when the allowance is spent; the
// refusal has then been reported with a "+ " message naming `label` (for
// instance MCU "a"; only once for the spent allowance), and the caller runs
// nothing.
class NestedRun {
 public:
  // `key` identifies the unit or entry among everything running; `label`
  // names it in the message.
  NestedRun(std::string key, const std::string& label);
  ~NestedRun();
  NestedRun(const NestedRun&) = delete;
  NestedRun& operator=(const NestedRun&) = delete;

  bool started() const { return started_; }

 private:
  std::string key_;
  bool started_ = false;
};

}  // namespace zav

#endif  // ZAV_BUILTINS_NESTED_RUNS_H_
