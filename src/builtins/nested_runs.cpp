#include "builtins/nested_runs.h"

#include <set>

#include "core/console_output.h"

namespace zav {

namespace {

std::set<std::string> running;

}  // namespace

NestedRun::NestedRun(std::string key, const std::string& label) : key_(std::move(key)) {
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
