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

// Marks one unit or history entry as running for the scope's lifetime.
// `started()` is false when the same unit or entry is already running, or
// when kMaxNestedRuns are already running; the refusal has then been
// reported with a "+ " message naming `label` (for instance MCU "a"), and
// the caller runs nothing.
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
