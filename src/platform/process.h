// The one place that starts, waits for, signals and reaps the shell's
// children: a command line run through the command processor (/bin/sh -c,
// or cmd.exe /c with its outer-quote rule). A command the shell waits for
// is a start and a wait over the same calls that side-by-side runs use.
// One implementation per platform (process_posix.cpp, process_win32.cpp).
#ifndef ZAV_PLATFORM_PROCESS_H_
#define ZAV_PLATFORM_PROCESS_H_

#include <cstddef>
#include <cstdint>
#include <string>

namespace zav {
namespace platform {

// A started child, as this file hands it out; never reused while the child
// is known here.
using ChildId = std::int64_t;

// The most children running at once.
inline constexpr size_t kMostChildrenAtOnce = 64;

// Which process group (POSIX) or job (Windows) a child joins, and so what
// reaches it and what stopping it ends.
enum class ChildGroup {
  // Where the shell's start-up put the commands it waits for: with the
  // shell when it leads its group, so that the terminal's Ctrl-C and a
  // pager's reads work as for the shell itself.
  asCommands,
  // A group of its own: stopping it ends everything it started. It reads
  // nothing (its input is the null device), so job control never stops it.
  own,
};

struct ChildStart {
  ChildGroup group = ChildGroup::asCommands;
  // The shell reads the child's output (ChildEvent::output/error) instead
  // of the child writing where the shell writes.
  bool captureOutput = false;
  // With captureOutput: standard error is read apart from standard output.
  // Otherwise both arrive as `output`, in the order they were written.
  bool separateError = false;
};

enum class StartFailure { none, tooLong, other };

enum class ChildEventKind {
  output,       // bytes the child wrote to its standard output
  error,        // bytes it wrote to its standard error
  ended,        // it has ended and everything it wrote has been handed out
  interrupted,  // Ctrl-C or Ctrl-Break reached the shell
};

struct ChildEvent {
  ChildEventKind kind = ChildEventKind::ended;
  ChildId child = 0;
  std::string bytes;
  int status = 0;  // ended: the raw wait status (see runSucceeded)
};

// Starts the command line through the command processor. False, with the
// reason, when it could not be started (`tooLong`: the system refused the
// length of the line).
bool startChild(const std::string& commandLine, const ChildStart& how, ChildId& child,
                StartFailure& failure);

// Back-pressure: while a captured child is not read, it blocks once the
// pipe is full. Children start being read.
void setReading(ChildId child, bool reading);

// Waits for the next event of any running child. With `wakeOnInterrupt`, a
// pending Ctrl-C (see interruptPending in console.h) is an event too; it is
// not taken. False when no child is running.
bool nextChildEvent(bool wakeOnInterrupt, ChildEvent& event);

// Stops a running child and everything it started; its `ended` event still
// follows.
void stopChild(ChildId child);

// True for a child that exited with status 0.
bool runSucceeded(int status);

// Runs a command line as a command the shell waits for (ChildGroup::
// asCommands, writing where the shell writes), after flushing our own
// output. Returns its raw status, or -1 with the reason when it could not
// start. Ctrl-C reaches it from the terminal; the wait goes on until it ends.
int runCommandLine(const std::string& commandLine, StartFailure& failure);

// True when the shell's standard output and standard error are one file (a
// terminal, or output redirected with 2>&1). A captured child's two streams
// then go into one pipe, so that they keep their mutual order.
bool outputAndErrorShareAFile();

// Writes bytes unchanged to the shell's standard output or error. False,
// with the system's reason, when not all of them could be written.
bool writeToShellStream(bool toError, const std::string& bytes, std::string& reason);

// For the console's signal handlers, so async-signal-safe (POSIX):
// Ctrl-C for commands in a group of their own, which no terminal reaches.
void forwardInterrupt(int signalNumber);
// Wakes a nextChildEvent that waits, so that it sees the interrupt.
void wakeChildWaiter();
// Passes a termination signal on to every running child's group and reaps
// them (those that outlive a grace period are killed), before the shell
// ends.
void endEveryChild(int signalNumber);

// Decided once at start-up: where commands the shell waits for are put.
void chooseCommandGroup();

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_PROCESS_H_
