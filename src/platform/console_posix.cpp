// POSIX terminals. The shell's colours are Windows console attributes; here
// they become ANSI SGR sequences, written only when standard output is a
// terminal (the Windows console calls fail on redirected output in the same
// way, so piped output is plain text on both). The terminal cannot be asked
// for its current colour, so the attribute is tracked here.
#include "platform/console.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "platform/command_line.h"
#include "platform/terminal_colours.h"

extern char** environ;

namespace zav {
namespace platform {

namespace {

// The Windows console's default (light grey on black) until the shell sets
// its normal colour.
TextAttribute trackedAttribute = 7;

// Where a signal for the running command goes, decided at start-up:
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

bool coloursOn = true;
volatile sig_atomic_t interruptArrived = 0;
volatile sig_atomic_t runningChild = 0;  // the /bin/sh of runCommandLine

void onInterrupt(int signalNumber) {
  // Interrupting a pending read is the signal's main effect; the prompt then
  // treats the read as failed. The flag covers a read that ends otherwise.
  interruptArrived = 1;
  // No terminal sends it to a command in a group of its own.
  const int savedErrno = errno;
  if (commandGroup == CommandGroup::own && runningChild > 0) ::kill(-runningChild, signalNumber);
  errno = savedErrno;
}

// What `exit` writes to a terminal: default colours, the terminal's own
// cursor shape.
constexpr char kRestoreSequence[] = "\033[0m\033[0 q";
// Push and pop of xterm's title stack; terminals without one ignore both.
constexpr char kSaveTitle[] = "\033[22;0t";
constexpr char kRestoreTitle[] = "\033[23;0t";

// Noted at start-up for the termination handler, which may call nothing
// that is not async-signal-safe.
bool outputIsTerminal = false;
volatile sig_atomic_t titleSaved = 0;
bool terminalSaved = false;
struct termios savedTerminal {};

void terminationSignals(sigset_t* signals) {
  sigemptyset(signals);
  sigaddset(signals, SIGTERM);
  sigaddset(signals, SIGHUP);
}

// SIGTERM and SIGHUP end the shell from here, wherever they arrive (inside
// the line editor or the allocator too), so only async-signal-safe calls.
// Ending the process closes the history file; every line already reached
// it with its own write.
void onTermination(int signalNumber) {
  const pid_t child = runningChild;
  if (child > 0) {
    if (commandGroup == CommandGroup::ours)
      ::kill(0, signalNumber);  // we get it too, blocked until we are gone
    else
      ::kill(commandGroup == CommandGroup::own ? -child : child, signalNumber);
  }
  // The line editor or the command may have left the terminal in raw mode.
  if (terminalSaved) ::tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
  if (outputIsTerminal) {
    ssize_t ignored = ::write(STDOUT_FILENO, kRestoreSequence, sizeof kRestoreSequence - 1);
    if (titleSaved) ignored = ::write(STDOUT_FILENO, kRestoreTitle, sizeof kRestoreTitle - 1);
    (void)ignored;
  }
  ::_exit(128 + signalNumber);
}

bool hasControllingTerminal() {
  int terminal = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (terminal < 0) return false;
  ::close(terminal);
  return true;
}

void writeRaw(const std::string& bytes) {
  std::cout << bytes;
  std::cout.flush();
}

}  // namespace

void openMissingStandardStreams() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free descriptor is this one: those below it are open now.
    int opened = ::open("/dev/null", O_RDWR);
    if (opened >= 0 && opened != fd) ::close(opened);
  }
}

void installControlHandler() {
  // A real handler, not SIG_IGN: an ignored signal stays ignored in every
  // child, and Ctrl-C must still stop a running TShark. No SA_RESTART, so a
  // read at the prompt is interrupted and the prompt is shown again.
  struct sigaction action {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGQUIT, &action, nullptr);

  if (::getpgrp() == ::getpid())
    commandGroup = CommandGroup::ours;
  else if (!hasControllingTerminal())
    commandGroup = CommandGroup::own;
  outputIsTerminal = outputTakesControlSequences();
  terminalSaved = ::tcgetattr(STDIN_FILENO, &savedTerminal) == 0;
  struct sigaction termination {};
  termination.sa_handler = onTermination;
  terminationSignals(&termination.sa_mask);  // one at a time
  termination.sa_flags = 0;
  sigaction(SIGTERM, &termination, nullptr);
  sigaction(SIGHUP, &termination, nullptr);
}

bool takeInterrupt() {
  bool arrived = interruptArrived != 0;
  interruptArrived = 0;
  return arrived;
}

bool interruptPending() { return interruptArrived != 0; }

void setColoursEnabled(bool enabled) { coloursOn = enabled; }

bool coloursEnabled() { return coloursOn; }

bool standardInputIsTerminal() { return isatty(STDIN_FILENO) == 1; }
bool standardOutputIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

bool outputTakesControlSequences() {
  const char* term = std::getenv("TERM");
  return standardOutputIsTerminal() && (term == nullptr || std::strcmp(term, "dumb") != 0);
}

TextAttribute currentTextAttribute() { return trackedAttribute; }

void setTextAttribute(TextAttribute attribute) {
  std::cout.flush();
  trackedAttribute = attribute;
  if (coloursOn && outputTakesControlSequences()) writeRaw(colourSequence(attribute));
}

void setConsoleTitle(const std::string& title) {
  if (!outputTakesControlSequences()) return;
  writeRaw((titleSaved ? "" : kSaveTitle) + ("\033]0;" + title + "\007"));
  titleSaved = 1;
}

void setThinCursor() {
  if (outputTakesControlSequences()) writeRaw("\033[4 q");  // steady underline
}

void restoreConsoleAtExit() {
  if (!outputTakesControlSequences()) return;
  writeRaw(std::string(coloursOn ? kRestoreSequence : "\033[0 q") +
           (titleSaved ? kRestoreTitle : ""));
}

// What system() does, but with the child's id noted for the signal
// handlers. The termination signals wait while the id is noted, so that
// none arrives between the start and the note. Ctrl-C reaches the child
// from the terminal (or through onInterrupt); here it only interrupts the
// wait, which goes on.
int runCommandLine(const std::string& commandLine) {
  std::cout.flush();
  std::fflush(stdout);
  sigset_t termination, previous;
  terminationSignals(&termination);
  sigprocmask(SIG_BLOCK, &termination, &previous);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setsigmask(&attributes, &previous);
  short flags = POSIX_SPAWN_SETSIGMASK;
  if (commandGroup == CommandGroup::own) {
    posix_spawnattr_setpgroup(&attributes, 0);
    flags |= POSIX_SPAWN_SETPGROUP;
  }
  posix_spawnattr_setflags(&attributes, flags);
  std::string shellName = "sh", option = "-c", line = commandLine;
  char* arguments[] = {&shellName[0], &option[0], &line[0], nullptr};
  pid_t child = -1;
  const int failure = posix_spawn(&child, "/bin/sh", nullptr, &attributes, arguments, environ);
  posix_spawnattr_destroy(&attributes);
  if (failure == 0) runningChild = child;
  sigprocmask(SIG_SETMASK, &previous, nullptr);
  // Linux takes at most 128 KiB in one argument, whatever the total room.
  if (failure == E2BIG) return kCommandLineTooLong;
  if (failure != 0) return kCouldNotStart;
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  runningChild = 0;
  return status;
}

bool commandLineSucceeded(int status) {
  return status >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string tsharkCommandLine(const std::string& tsharkPath, const std::string& capturePath,
                              const std::string& text) {
  return posixTsharkCommandLine(tsharkPath, capturePath, text);
}

}  // namespace platform
}  // namespace zav
