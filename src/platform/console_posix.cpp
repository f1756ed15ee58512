// POSIX terminals. The shell's colours are Windows console attributes; here
// they become ANSI SGR sequences, written only when standard output is a
// terminal (the Windows console calls fail on redirected output in the same
// way, so piped output is plain text on both). The terminal cannot be asked
// for its current colour, so the attribute is tracked here.
#include "platform/console.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "platform/command_line.h"
#include "platform/process.h"
#include "platform/terminal_colours.h"

namespace zav {
namespace platform {

namespace {

// The Windows console's default (light grey on black) until the shell sets
// its normal colour.
TextAttribute trackedAttribute = 7;

bool coloursOn = true;
volatile sig_atomic_t interruptArrived = 0;

void onInterrupt(int signalNumber) {
  // Interrupting a pending read is the signal's main effect; the prompt then
  // treats the read as failed. The flag covers a read that ends otherwise.
  interruptArrived = 1;
  forwardInterrupt(signalNumber);  // no terminal sends it to a group of its own
  wakeChildWaiter();
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
  endEveryChild(signalNumber);
  // The line editor or the command may have left the terminal in raw mode.
  if (terminalSaved) ::tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
  if (outputIsTerminal) {
    ssize_t ignored = ::write(STDOUT_FILENO, kRestoreSequence, sizeof kRestoreSequence - 1);
    if (titleSaved) ignored = ::write(STDOUT_FILENO, kRestoreTitle, sizeof kRestoreTitle - 1);
    (void)ignored;
  }
  ::_exit(128 + signalNumber);
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

  chooseCommandGroup();
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

void noteInterrupt() { interruptArrived = 1; }

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

std::string tsharkCommandLine(const std::string& tsharkPath, const std::string& capturePath,
                              const std::string& text) {
  return posixTsharkCommandLine(tsharkPath, capturePath, text);
}

}  // namespace platform
}  // namespace zav
