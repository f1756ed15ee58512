#include "builtins/nested_runs.h"

#include <set>

#include "core/console_output.h"

namespace zav {

namespace {

std::set<std::string> running;
int allowanceScopes = 0;
int attempts = 0;
bool spent = false;

}  // namespace

RunAllowance::RunAllowance() {
  if (allowanceScopes++ > 0) return;
  attempts = 0;
  spent = false;
}

RunAllowance::~RunAllowance() { --allowanceScopes; }

bool runAllowanceSpent() { return spent; }

NestedRun::NestedRun(std::string key, const std::string& label) : key_(std::move(key)) {
  if (spent) return;
  if (++attempts > kMaxRunsPerLine) {
    spent = true;
    printMessage("+ " + label + " is not started: " + std::to_string(kMaxRunsPerLine) +
                 " units and history commands were already started or refused for this line");
    return;
  }
  if (running.count(key_) != 0) {
    printMessage("+ " + label + " is already running and is not started again");
    return;
  }
  if (running.size() >= static_cast<size_t>(kMaxNestedRuns)) {
    printMessage("+ " + label + " is not started: " + std::to_string(kMaxNestedRuns) +
                 " units and history commands are already running inside one another");
    return;
  }
  running.insert(key_);
  started_ = true;
}

NestedRun::~NestedRun() {
  if (started_) running.erase(key_);
}

}  // namespace zav
