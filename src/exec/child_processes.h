// What side-by-side runs need from the outside world: children started,
// read, stopped and reaped, and the shell's own outputs. The shell uses the
// platform's; a unit test puts a scripted fake in their place and drives
// the scheduler without a single process.
#ifndef ZAV_EXEC_CHILD_PROCESSES_H_
#define ZAV_EXEC_CHILD_PROCESSES_H_

#include <string>

#include "platform/process.h"

namespace zav {

class ChildProcesses {
 public:
  virtual ~ChildProcesses() = default;

  // Every child's output arrives as events, the head run's too: a child
  // in a process group of its own that wrote to the terminal itself would
  // be stopped by job control (`stty tostop`), and the shell would wait for
  // it for ever. See platform/process.h for each call.
  virtual bool start(const std::string& commandLine, platform::ChildId& child,
                     platform::StartFailure& failure) = 0;
  virtual void setReading(platform::ChildId child, bool reading) = 0;
  virtual bool next(bool wakeOnInterrupt, platform::ChildEvent& event) = 0;
  virtual void stop(platform::ChildId child) = 0;

  // The shell's own text (headings, messages), written as std::cout writes it.
  virtual void writeText(const std::string& text) = 0;
  // A child's bytes, unchanged. False, with the reason, when not
  // all of them could be written.
  virtual bool writeBytes(bool toError, const std::string& bytes, std::string& reason) = 0;
};

// Children of the platform, each in a process group (job) of its own, so
// that stopping one ends everything it started.
ChildProcesses& platformChildProcesses();

}  // namespace zav

#endif  // ZAV_EXEC_CHILD_PROCESSES_H_
