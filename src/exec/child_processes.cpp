#include "exec/child_processes.h"

#include <cstdio>
#include <iostream>

namespace zav {

namespace {

class PlatformChildProcesses : public ChildProcesses {
 public:
  bool start(const std::string& commandLine, platform::ChildId& child,
             platform::StartFailure& failure) override {
    platform::ChildStart how;
    how.group = platform::ChildGroup::own;
    how.captureOutput = true;
    how.separateError = separateError_;
    flush();  // what the shell wrote comes before what the child writes
    return platform::startChild(commandLine, how, child, failure);
  }
  void setReading(platform::ChildId child, bool reading) override {
    platform::setReading(child, reading);
  }
  bool next(bool wakeOnInterrupt, platform::ChildEvent& event) override {
    return platform::nextChildEvent(wakeOnInterrupt, event);
  }
  void stop(platform::ChildId child) override { platform::stopChild(child); }
  void writeText(const std::string& text) override {
    std::cout << text;
    flush();
  }
  bool writeBytes(bool toError, const std::string& bytes, std::string& reason) override {
    flush();
    return platform::writeToShellStream(toError, bytes, reason);
  }

 private:
  static void flush() {
    std::cout.flush();
    std::fflush(stdout);
  }
  // Decided once: when both go to one file, a child's two streams share one
  // pipe and keep their mutual order.
  const bool separateError_ = !platform::outputAndErrorShareAFile();
};

}  // namespace

ChildProcesses& platformChildProcesses() {
  static PlatformChildProcesses children;
  return children;
}

}  // namespace zav
