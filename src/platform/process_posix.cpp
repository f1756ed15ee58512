// Children on POSIX: /bin/sh -c through posix_spawn, captured output through
// pipes, and one poll loop that hands out what they write and when they
// end. The signal handlers of console_posix.cpp reach every running child
// through the slots below.
#include "platform/process.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <deque>
#include <vector>

#include "platform/console.h"

extern char** environ;

namespace zav {
namespace platform {

namespace {

// Where a command the shell waits for goes, decided at start-up:
// - We lead our process group (a job-control shell, a terminal or a service
//   started us): the command shares it, so that the terminal's Ctrl-C and
//   its reads work as for us, and the whole group is signalled.
// - We have no controlling terminal and share a group with our starter (a
//   program that runs us through pipes): the command gets a group of its
//   own, which nothing on a terminal can miss, and that group is signalled.
// - Otherwise (a script without job control, on a terminal) the command
//   must stay in the script's group: only /bin/sh is ours to signal, and
//   what it started for a compound line is left running.
enum class CommandGroup { ours, own, shared };
CommandGroup commandGroup = CommandGroup::shared;

// What the signal handlers know of each running child. `target` is what a
// signal is sent to: -pid for a group of its own, the pid alone, or 0 for
// our own group. Written with the termination signals blocked.
struct Slot {
  volatile sig_atomic_t pid = 0;
  volatile sig_atomic_t target = 0;
  volatile sig_atomic_t interruptByHand = 0;  // a command in a group of its own
};
Slot slots[kMostChildrenAtOnce + 1];

// Written to by the SIGCHLD and SIGINT handlers, so that a poll that is
// about to start still wakes up.
int wakeRead = -1;
int wakeWrite = -1;

struct RunningChild {
  pid_t pid = 0;
  size_t slot = 0;
  int output = -1;  // read ends of the captured streams, or -1
  int error = -1;
  bool reading = true;
  bool reaped = false;
  int status = 0;
};
std::vector<RunningChild> running;
std::deque<ChildEvent> pending;

void terminationSignals(sigset_t* signals) {
  sigemptyset(signals);
  sigaddset(signals, SIGTERM);
  sigaddset(signals, SIGHUP);
}

void onChildEnded(int) { wakeChildWaiter(); }

bool setCloseOnExec(int fd) { return ::fcntl(fd, F_SETFD, FD_CLOEXEC) == 0; }

// macOS has no pipe2: both ends are marked close-on-exec at once, which is
// enough as the shell starts children from one thread only. Without the
// mark, a later child would hold an earlier one's write end and that pipe
// would never reach its end.
bool openPipe(int ends[2]) {
  if (::pipe(ends) != 0) return false;
  if (setCloseOnExec(ends[0]) && setCloseOnExec(ends[1])) return true;
  ::close(ends[0]);
  ::close(ends[1]);
  return false;
}

void prepareWaiting() {
  if (wakeRead >= 0) return;
  int ends[2];
  if (!openPipe(ends)) return;
  ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
  ::fcntl(ends[1], F_SETFL, O_NONBLOCK);
  wakeRead = ends[0];
  wakeWrite = ends[1];
  struct sigaction action {};
  action.sa_handler = onChildEnded;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_NOCLDSTOP;
  sigaction(SIGCHLD, &action, nullptr);
}

void drainWakePipe() {
  char buffer[64];
  while (::read(wakeRead, buffer, sizeof buffer) > 0) {
  }
}

size_t freeSlot() {
  for (size_t i = 0; i < sizeof slots / sizeof slots[0]; ++i)
    if (slots[i].pid == 0) return i;
  return sizeof slots / sizeof slots[0];
}

void closeIfOpen(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

void reapEnded() {
  for (RunningChild& child : running) {
    if (child.reaped) continue;
    int status = 0;
    const pid_t result = ::waitpid(child.pid, &status, WNOHANG);
    if (result == 0 || (result < 0 && errno == EINTR)) continue;
    child.reaped = true;
    child.status = result < 0 ? -1 : status;
    // A group of its own may still hold what the child started, which a
    // termination signal must reach too; it is forgotten once its output
    // has ended.
    if (slots[child.slot].target >= 0) slots[child.slot].pid = 0;
  }
}

bool takeEnded(ChildEvent& event) {
  for (size_t i = 0; i < running.size(); ++i) {
    const RunningChild& child = running[i];
    if (!child.reaped || child.output >= 0 || child.error >= 0) continue;
    event = ChildEvent();
    event.kind = ChildEventKind::ended;
    event.child = child.pid;
    event.status = child.status;
    slots[child.slot].pid = 0;
    running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
  }
  return false;
}

// What each stream that poll found ready holds now, up to a limit, so that
// a child that writes without pause cannot starve the others.
void readReady(const std::vector<pollfd>& polled) {
  constexpr size_t kMostBytesPerRound = 1u << 20;
  for (const pollfd& entry : polled) {
    if (entry.fd == wakeRead || entry.revents == 0) continue;
    for (RunningChild& child : running) {
      const bool isOutput = child.output == entry.fd;
      if (!isOutput && child.error != entry.fd) continue;
      ChildEvent event;
      event.kind = isOutput ? ChildEventKind::output : ChildEventKind::error;
      event.child = child.pid;
      char buffer[65536];
      while (event.bytes.size() < kMostBytesPerRound) {
        const ssize_t count = ::read(entry.fd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && errno == EAGAIN) break;
        if (count <= 0) {
          closeIfOpen(isOutput ? child.output : child.error);
          break;
        }
        event.bytes.append(buffer, static_cast<size_t>(count));
      }
      if (!event.bytes.empty()) pending.push_back(std::move(event));
      break;
    }
  }
}

void sleepBriefly() {
  struct timespec pause {
    0, 10 * 1000 * 1000
  };
  ::nanosleep(&pause, nullptr);
}

}  // namespace

void chooseCommandGroup() {
  if (::getpgrp() == ::getpid()) {
    commandGroup = CommandGroup::ours;
    return;
  }
  int terminal = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (terminal >= 0) {
    ::close(terminal);
    commandGroup = CommandGroup::shared;
  } else {
    commandGroup = CommandGroup::own;
  }
}

bool startChild(const std::string& commandLine, const ChildStart& how, ChildId& child,
                StartFailure& failure) {
  failure = StartFailure::other;
  prepareWaiting();
  const size_t slot = freeSlot();
  if (slot == sizeof slots / sizeof slots[0]) return false;
  int output[2] = {-1, -1};
  int error[2] = {-1, -1};
  if (how.captureOutput && (!openPipe(output) || (how.separateError && !openPipe(error)))) {
    for (int fd : {output[0], output[1], error[0], error[1]})
      if (fd >= 0) ::close(fd);
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (how.captureOutput) {
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, how.separateError ? error[1] : output[1],
                                     STDERR_FILENO);
  }
  const bool ownGroup =
      how.group == ChildGroup::own || commandGroup == CommandGroup::own;
  if (how.group == ChildGroup::own)
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);

  // The termination signals wait until the child is in its slot, so that
  // none arrives between the start and the note. The child starts with the
  // mask we had; exec puts our handlers back to the default.
  sigset_t termination, previous;
  terminationSignals(&termination);
  sigprocmask(SIG_BLOCK, &termination, &previous);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setsigmask(&attributes, &previous);
  short flags = POSIX_SPAWN_SETSIGMASK;
  if (ownGroup) {
    posix_spawnattr_setpgroup(&attributes, 0);
    flags |= POSIX_SPAWN_SETPGROUP;
  }
  posix_spawnattr_setflags(&attributes, flags);
  std::string line = commandLine;
  char shell[] = "sh";
  char dashC[] = "-c";
  char* argv[] = {shell, dashC, &line[0], nullptr};
  pid_t pid = 0;
  const int status = posix_spawn(&pid, "/bin/sh", &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (status == 0) {
    slots[slot].target = ownGroup ? -pid : commandGroup == CommandGroup::ours ? 0 : pid;
    slots[slot].interruptByHand = how.group == ChildGroup::asCommands && ownGroup;
    slots[slot].pid = pid;
  }
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  closeIfOpen(output[1]);
  closeIfOpen(error[1]);
  if (status != 0) {
    closeIfOpen(output[0]);
    closeIfOpen(error[0]);
    if (status == E2BIG) failure = StartFailure::tooLong;
    return false;
  }
  // Non-blocking, so that a ready stream is read to its current end.
  for (int fd : {output[0], error[0]})
    if (fd >= 0) ::fcntl(fd, F_SETFL, O_NONBLOCK);
  RunningChild started;
  started.pid = pid;
  started.slot = slot;
  started.output = output[0];
  started.error = error[0];
  running.push_back(started);
  child = pid;
  failure = StartFailure::none;
  return true;
}

void setReading(ChildId child, bool reading) {
  for (RunningChild& running_child : running)
    if (running_child.pid == child) running_child.reading = reading;
}

bool nextChildEvent(bool wakeOnInterrupt, ChildEvent& event) {
  for (;;) {
    if (!pending.empty()) {
      event = std::move(pending.front());
      pending.pop_front();
      return true;
    }
    if (running.empty()) return false;
    reapEnded();
    if (takeEnded(event)) return true;
    if (wakeOnInterrupt && interruptPending()) {
      event = ChildEvent();
      event.kind = ChildEventKind::interrupted;
      return true;
    }
    std::vector<pollfd> polled;
    polled.push_back(pollfd{wakeRead, POLLIN, 0});
    for (const RunningChild& child : running) {
      if (!child.reading) continue;
      for (int fd : {child.output, child.error})
        if (fd >= 0) polled.push_back(pollfd{fd, POLLIN, 0});
    }
    // The wake pipe makes the time-out unnecessary; it only bounds the
    // damage should a wake-up ever be missed.
    const int ready = ::poll(polled.data(), static_cast<nfds_t>(polled.size()), 1000);
    if (ready < 0) continue;  // a signal: look again
    drainWakePipe();
    readReady(polled);
  }
}

void stopChild(ChildId child) {
  for (const RunningChild& running_child : running) {
    if (running_child.pid != child || running_child.reaped) continue;
    // SIGTERM rather than SIGINT: a non-interactive sh waiting for a
    // command lets SIGINT pass; both stop TShark cleanly.
    const pid_t target = slots[running_child.slot].target;
    ::kill(target == 0 ? running_child.pid : target, SIGTERM);
  }
}

bool runSucceeded(int status) { return status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0; }

bool outputAndErrorShareAFile() {
  struct stat output {
  }, error{};
  if (fstat(STDOUT_FILENO, &output) != 0 || fstat(STDERR_FILENO, &error) != 0) return false;
  return output.st_dev == error.st_dev && output.st_ino == error.st_ino;
}

bool writeToShellStream(bool toError, const std::string& bytes, std::string& reason) {
  const int fd = toError ? STDERR_FILENO : STDOUT_FILENO;
  for (size_t written = 0; written < bytes.size();) {
    const ssize_t step = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (step < 0 && errno == EINTR) continue;
    if (step <= 0) {
      reason = step < 0 ? strerror(errno) : "nothing was written";
      return false;
    }
    written += static_cast<size_t>(step);
  }
  return true;
}

void forwardInterrupt(int signalNumber) {
  const int savedErrno = errno;
  for (const Slot& slot : slots)
    if (slot.pid > 0 && slot.interruptByHand) ::kill(slot.target, signalNumber);
  errno = savedErrno;
}

void wakeChildWaiter() {
  const int savedErrno = errno;
  if (wakeWrite >= 0) {
    ssize_t ignored = ::write(wakeWrite, "w", 1);
    (void)ignored;
  }
  errno = savedErrno;
}

void endEveryChild(int signalNumber) {
  constexpr size_t count = sizeof slots / sizeof slots[0];
  pid_t pids[count];
  pid_t targets[count];
  for (size_t i = 0; i < count; ++i) {
    pids[i] = slots[i].pid;
    targets[i] = slots[i].target;
    if (pids[i] > 0) ::kill(targets[i], signalNumber);  // 0: our group, us included, blocked
  }
  // A second for every child to end; what still runs then is killed, so
  // that nothing of ours outlives the shell.
  for (int round = 0; round < 100; ++round) {
    bool anyLeft = false;
    for (size_t i = 0; i < count; ++i) {
      if (pids[i] <= 0) continue;
      const pid_t result = ::waitpid(pids[i], nullptr, WNOHANG);
      if (result == 0)
        anyLeft = true;
      else if (result > 0 || errno != EINTR)
        pids[i] = 0;
    }
    if (!anyLeft) return;
    sleepBriefly();
  }
  for (size_t i = 0; i < count; ++i) {
    if (pids[i] <= 0) continue;
    ::kill(targets[i] == 0 ? pids[i] : targets[i], SIGKILL);
    while (::waitpid(pids[i], nullptr, 0) < 0 && errno == EINTR) {
    }
  }
}

}  // namespace platform
}  // namespace zav
