#include "exec/ordered_runs.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "exec/launch.h"
#include "platform/console.h"
#include "platform/process.h"

namespace zav {

namespace {

struct PlannedRun {
  std::string textBefore;  // what the shell writes before this run
  std::string commandLine;
  platform::CapturedOutput capture;
  platform::ChildId child = 0;
  bool live = false;  // writes straight to the shell's outputs
  bool started = false;
  bool ended = false;
};

struct Plan {
  std::vector<PlannedRun> runs;
  std::string textAfter;  // written after the last run
};

// The plan writes into a buffer instead of standard output, and each
// command line it hands over takes the text written since the previous one.
// Going through the same launch code keeps every heading, message and
// PRINT line exactly as a one-after-another run writes it.
Plan collectPlan(const std::function<void()>& plan) {
  Plan collected;
  std::ostringstream written;
  std::cout.flush();
  std::streambuf* shellOutput = std::cout.rdbuf(written.rdbuf());
  TextRunner commandProcessor = launchers().commandProcessor;
  launchers().commandProcessor = [&](const std::string& commandLine) {
    PlannedRun run;
    run.textBefore = written.str();
    run.commandLine = commandLine;
    written.str(std::string());
    collected.runs.push_back(std::move(run));
  };
  plan();
  launchers().commandProcessor = commandProcessor;
  std::cout.rdbuf(shellOutput);
  collected.textAfter = written.str();
  return collected;
}

void writeText(const std::string& text) {
  std::cout << text;
  std::cout.flush();
}

class Scheduler {
 public:
  Scheduler(Plan& plan, size_t atOnce) : plan_(plan), atOnce_(atOnce) {}

  // False when Ctrl-C stopped the runs.
  bool run() {
    for (;;) {
      while (!stopped_ && running_.size() < atOnce_ && next_ < plan_.runs.size() && startNext()) {
      }
      if (running_.empty()) return !stopped_;
      size_t position = 0;
      const bool reaped = platform::waitForAnyChild(running_, position);
      if (reaped) endRunning(position);
      if (platform::takeInterrupt()) stopAll();
      release();
    }
  }

 private:
  // The run at the head of the order writes live; a later one is captured.
  // False when a capture could not be opened: the run waits to start live.
  bool startNext() {
    PlannedRun& run = plan_.runs[next_];
    run.live = next_ == head_;
    if (run.live) {
      writeText(run.textBefore);
    } else if (!platform::openCapture(separateError_, run.capture)) {
      return false;
    }
    ++next_;
    run.started = true;
    if (!platform::startChild(run.commandLine, run.live ? nullptr : &run.capture, run.child)) {
      run.ended = true;  // as with a command processor that could not start
      release();
      return true;
    }
    running_.push_back(run.child);
    runningIndex_.push_back(next_ - 1);
    return true;
  }

  void endRunning(size_t position) {
    plan_.runs[runningIndex_[position]].ended = true;
    running_.erase(running_.begin() + static_cast<std::ptrdiff_t>(position));
    runningIndex_.erase(runningIndex_.begin() + static_cast<std::ptrdiff_t>(position));
  }

  void stopAll() {
    stopped_ = true;
    for (platform::ChildId child : running_) platform::stopChild(child);
    for (platform::ChildId child : running_) platform::waitForChild(child);
    for (size_t index : runningIndex_) plan_.runs[index].ended = true;
    running_.clear();
    runningIndex_.clear();
  }

  // Writes out, in order, every finished run that nothing unfinished precedes.
  void release() {
    while (head_ < next_ && plan_.runs[head_].ended) {
      PlannedRun& run = plan_.runs[head_++];
      if (run.live) continue;
      writeText(run.textBefore);
      platform::releaseCapture(run.capture);
    }
  }

  Plan& plan_;
  const size_t atOnce_;
  const bool separateError_ = !platform::outputAndErrorShareAFile();
  size_t head_ = 0;  // first run not yet released
  size_t next_ = 0;  // first run not yet started
  std::vector<platform::ChildId> running_;
  std::vector<size_t> runningIndex_;  // plan position of each running child
  bool stopped_ = false;
};

}  // namespace

void runSideBySide(const std::function<void()>& plan, unsigned atOnce) {
  Plan collected = collectPlan(plan);
  const size_t limit = std::max<size_t>(1, std::min<size_t>(atOnce, platform::kMostChildrenAtOnce));
  Scheduler scheduler(collected, limit);
  if (scheduler.run()) writeText(collected.textAfter);
}

}  // namespace zav
