// The side-by-side scheduler against scripted children: whatever order the
// children write and end in, the shell's outputs read as one run after
// another; a run that cannot start, Ctrl-C and a failing write are handled
// in their place. No process starts.
#include "exec/ordered_runs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "core/output_capture_test_support.h"
#include "exec/child_processes.h"
#include "exec/launch.h"
#include "platform/console.h"

namespace zav {
namespace {

// A script entry: "a>x" run a writes x, "a!x" x to standard error, "a."
// a ends well, "a#" a fails, "^C" Ctrl-C. Entries of a run not yet
// started wait; a stopped run ends with what it had.
class ScriptedChildren : public ChildProcesses {
 public:
  explicit ScriptedChildren(std::deque<std::string> script) : script_(std::move(script)) {}

  bool start(const std::string& commandLine, platform::ChildId& child,
             platform::StartFailure& failure) override {
    if (commandLine == "long") {
      failure = platform::StartFailure::tooLong;
      return false;
    }
    child = static_cast<platform::ChildId>(names_.size() + 1);
    names_[child] = commandLine;
    running_.push_back(child);
    return true;
  }
  void setReading(platform::ChildId child, bool reading) override {
    std::cout << (reading ? "<read " : "<pause ") << names_[child] << ">";
  }
  bool next(bool wakeOnInterrupt, platform::ChildEvent& event) override {
    if (running_.empty()) return false;
    for (auto entry = script_.begin(); entry != script_.end(); ++entry) {
      if (*entry == "^C") {
        if (!wakeOnInterrupt) continue;
        platform::noteInterrupt();  // as the console's handler does
        event.kind = platform::ChildEventKind::interrupted;
        script_.erase(entry);
        return true;
      }
      const platform::ChildId child = idOf(entry->substr(0, 1));
      if (child == 0) continue;
      const char kind = (*entry)[1];
      event = platform::ChildEvent();
      event.child = child;
      event.bytes = entry->substr(2);
      event.kind = kind == '>'   ? platform::ChildEventKind::output
                   : kind == '!' ? platform::ChildEventKind::error
                                 : platform::ChildEventKind::ended;
      event.status = kind == '#' ? 1 : 0;
      script_.erase(entry);
      if (event.kind == platform::ChildEventKind::ended) forget(child);
      return true;
    }
    event = platform::ChildEvent();  // stopped, or nothing left to say
    event.child = running_.front();
    event.status = 15;
    forget(event.child);
    return true;
  }
  void stop(platform::ChildId child) override { std::cout << "<stop " << names_[child] << ">"; }
  void writeText(const std::string& text) override { std::cout << text; }
  bool writeBytes(bool toError, const std::string& bytes, std::string& reason) override {
    if (bytes.compare(0, 4, "FULL") == 0) {
      reason = "No space left on device";
      return false;
    }
    std::cout << (toError ? "E(" + bytes + ")" : bytes);
    return true;
  }

 private:
  platform::ChildId idOf(const std::string& name) {
    for (platform::ChildId child : running_)
      if (names_[child] == name) return child;
    return 0;
  }
  void forget(platform::ChildId child) {
    running_.erase(std::find(running_.begin(), running_.end(), child));
  }
  std::deque<std::string> script_;
  std::map<platform::ChildId, std::string> names_;
  std::vector<platform::ChildId> running_;
};

TEST(SideBySide, OutputReadsAsOneAfterAnother) {
  struct Case {
    std::vector<std::string> lines;  // each run's command line, after a heading naming it
    unsigned atOnce;
    std::deque<std::string> script;
    std::string out, err;
    bool pendingAfter;  // Ctrl-C is left for the line runner to take
  };
  const std::string full(1u << 20, 'x');  // what a waiting run may hold, at 64 at once
  // clang-format off
  const Case cases[] = {
      // The later runs finish first; the head writes as it comes.
      {{"a", "b", "c"}, 3, {"c>3", "c.", "b!2", "b.", "a>1", "a."},
       "[a]1[b]E(2)[c]3[end]", "", false},
      // Fewer at once than runs: each starts once it is the head.
      {{"a", "b", "c"}, 1, {"a>1", "a.", "b>2", "b.", "c>3", "c#"},
       "[a]1[b]2[c]3[end]", "", false},
      // One that cannot start says so in its place.
      {{"a", "long", "c"}, 3, {"c>3", "c.", "a>1", "a."},
       "[a]1[long]\n+ The command line is 4 bytes long, more than the system passes on, "
       "and is not run.\n[c]3[end]", "", false},
      // Ctrl-C: the head ends the line; nothing of the later runs is shown.
      {{"a", "b", "c"}, 3, {"b>2", "b.", "a>1", "^C", "a>more", "c>3"},
       "[a]1<stop a><stop c>more", "", true},
      // A run that has filled its share is no longer read until its turn.
      {{"a", "b"}, 64, {"b>" + full, "a.", "b."}, "[a]<pause b>[b]" + full + "<read b>[end]",
       "", false},
      // A write that fails is named on standard error; the rest goes on.
      {{"a", "b"}, 2, {"b>FULL", "b>x", "b.", "a>1", "a."}, "[a]1[b][end]",
       "+ The output of \"b\" is incomplete: No space left on device.\n", false},
  };
  // clang-format on
  for (const Case& c : cases) {
    ScriptedChildren children(c.script);
    ChildProcesses* const saved = launchers().children;
    launchers().children = &children;
    testing_support::CapturedStreams output;
    platform::takeInterrupt();
    runSideBySide(
        [&] {
          for (const std::string& line : c.lines) {
            std::cout << "[" << line << "]";
            runInCommandProcessor(line);
          }
          std::cout << "[end]";
        },
        c.atOnce);
    launchers().children = saved;
    EXPECT_EQ(output.out(), c.out) << c.lines.size() << " runs, " << c.atOnce << " at once";
    EXPECT_EQ(output.err(), c.err);
    EXPECT_EQ(platform::takeInterrupt(), c.pendingAfter);
  }
}

}  // namespace
}  // namespace zav
