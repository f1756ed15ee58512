#include "exec/ordered_runs.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/console_output.h"
#include "core/output_redirect.h"
#include "core/run_outcome.h"
#include "exec/child_processes.h"
#include "exec/launch.h"

namespace zav {

namespace {

// What the runs waiting for their turn may hold in memory together. A run
// whose share is full is no longer read, so it blocks on its next write
// until its turn comes: memory stays bounded and nothing is lost.
constexpr size_t kHeldBytesInAll = 64u << 20;
constexpr size_t kHeldBytesPerRunAtLeast = 1u << 20;

struct HeldChunk {
  bool toError = false;
  std::string bytes;
};

struct PlannedRun {
  std::string textBefore;  // what the shell writes before this run
  std::string commandLine;
  platform::ChildId child = 0;
  bool started = false;
  bool ended = false;
  bool shown = false;  // its text and what it held have been written
  bool reading = true;
  platform::StartFailure startFailure = platform::StartFailure::none;
  int status = 0;
  std::vector<HeldChunk> held;
  size_t heldBytes = 0;
  std::string lostReason;  // set when some of its output could not be written
};

struct Plan {
  std::vector<PlannedRun> runs;
  std::string textAfter;  // written after the last run
};

Plan collectPlan(const std::function<void()>& plan) {
  PlannedLine line = planLine(plan);
  Plan collected;
  for (PlannedCommand& command : line.commands) {
    PlannedRun run;
    run.textBefore = std::move(command.textBefore);
    run.commandLine = std::move(command.commandLine);
    collected.runs.push_back(std::move(run));
  }
  collected.textAfter = std::move(line.textAfter);
  return collected;
}

class Scheduler {
 public:
  Scheduler(Plan& plan, size_t atOnce, ChildProcesses& children)
      : plan_(plan),
        atOnce_(atOnce),
        heldPerRun_(std::max(kHeldBytesPerRunAtLeast, kHeldBytesInAll / atOnce)),
        children_(children) {}

  // False when Ctrl-C stopped the runs.
  bool run() {
    for (;;) {
      while (!stopped_ && running_ < atOnce_ && next_ < plan_.runs.size()) startNext();
      platform::ChildEvent event;
      if (!children_.next(!stopped_, event)) {
        if (stopped_ || next_ == plan_.runs.size()) return !stopped_;
        continue;
      }
      if (event.kind == platform::ChildEventKind::interrupted) {
        stopAll();
        continue;
      }
      PlannedRun* run = runOf(event.child);
      if (run == nullptr) continue;
      if (event.kind == platform::ChildEventKind::ended) {
        run->ended = true;
        run->status = event.status;
        --running_;
        release();
      } else {
        take(*run, event.kind == platform::ChildEventKind::error, std::move(event.bytes));
      }
    }
  }

 private:
  // The run at the head of the order is written as it comes; a later one is
  // held in memory until its turn.
  void startNext() {
    const size_t position = next_++;
    PlannedRun& run = plan_.runs[position];
    if (position == head_) show(run);
    run.started = true;
    // One that could not start has ended; its start failure says why and
    // counts it as failed.
    if (children_.start(run.commandLine, run.child, run.startFailure))
      ++running_;
    else
      run.ended = true;
    release();
  }

  PlannedRun* runOf(platform::ChildId child) {
    for (size_t i = head_; i < next_; ++i)
      if (plan_.runs[i].started && !plan_.runs[i].ended && plan_.runs[i].child == child)
        return &plan_.runs[i];
    return nullptr;
  }

  void take(PlannedRun& run, bool toError, std::string bytes) {
    if (run.shown) {
      write(run, toError, bytes);
      return;
    }
    if (stopped_) return;  // stopped before its turn: never shown
    run.heldBytes += bytes.size();
    run.held.push_back(HeldChunk{toError, std::move(bytes)});
    if (run.reading && run.heldBytes >= heldPerRun_) {
      run.reading = false;
      children_.setReading(run.child, false);
    }
  }

  void write(PlannedRun& run, bool toError, const std::string& bytes) {
    if (!run.lostReason.empty()) return;
    std::string reason;
    if (!children_.writeBytes(toError, bytes, reason)) run.lostReason = reason;
  }

  // Writes the run's text and what it held, and from then on what it
  // writes as it comes.
  void show(PlannedRun& run) {
    if (run.shown) return;
    run.shown = true;
    children_.writeText(run.textBefore);
    for (const HeldChunk& chunk : run.held) write(run, chunk.toError, chunk.bytes);
    run.held.clear();
    run.heldBytes = 0;
    if (!run.reading && !run.ended) children_.setReading(run.child, true);
    run.reading = true;
  }

  // Ctrl-C: as one after another would have, the line ends with the run at
  // the head; the later ones are stopped and nothing of theirs is shown.
  void stopAll() {
    stopped_ = true;
    for (size_t i = head_; i < next_; ++i) {
      PlannedRun& run = plan_.runs[i];
      if (!run.started || run.ended) continue;
      children_.stop(run.child);
      if (!run.reading) children_.setReading(run.child, true);  // read to its end
      run.reading = true;
    }
  }

  // Writes out, in order, every finished run that nothing unfinished
  // precedes, and shows the new head.
  void release() {
    while (head_ < next_) {
      PlannedRun& run = plan_.runs[head_];
      if (stopped_ && !run.shown) return;
      show(run);
      if (!run.ended) return;
      reportEnd(run);
      ++head_;
    }
  }

  void reportEnd(const PlannedRun& run) {
    reportEndedRun(run.commandLine, run.startFailure, run.status);
    if (run.lostReason.empty()) return;
    noteFailedRun();
    // Standard error, as standard output may be what failed.
    std::cerr << "+ The output of \"" << run.commandLine << "\" is incomplete: " << run.lostReason
              << "." << std::endl;
  }

  Plan& plan_;
  const size_t atOnce_;
  const size_t heldPerRun_;
  ChildProcesses& children_;
  size_t head_ = 0;  // first run not yet released
  size_t next_ = 0;  // first run not yet started
  size_t running_ = 0;
  bool stopped_ = false;
};

}  // namespace

PlannedLine planLine(const std::function<void()>& plan) {
  PlannedLine line;
  std::ostringstream written;
  {
    RedirectedOutput redirected(written);
    ReplacedCommandProcessor noting([&](const std::string& commandLine) {
      line.commands.push_back(PlannedCommand{written.str(), commandLine});
      written.str(std::string());
    });
    plan();
  }
  line.textAfter = written.str();
  return line;
}

void runSideBySide(const std::function<void()>& plan, unsigned atOnce) {
  Plan collected = collectPlan(plan);
  const size_t limit = std::max<size_t>(1, std::min<size_t>(atOnce, platform::kMostChildrenAtOnce));
  ChildProcesses& children = *launchers().children;
  Scheduler scheduler(collected, limit, children);
  if (scheduler.run()) children.writeText(collected.textAfter);
}

}  // namespace zav
