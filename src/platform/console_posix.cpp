// POSIX terminals. The shell's colours are Windows console attributes; here
// they become ANSI SGR sequences, written only when standard output is a
// terminal (the Windows console calls fail on redirected output in the same
// way, so piped output is plain text on both). The terminal cannot be asked
// for its current colour, so the attribute is tracked here.
#include "platform/console.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/clipboard_messages.h"
#include "platform/command_line.h"
#include "platform/terminal_colours.h"

namespace zav {
namespace platform {

namespace {

// The Windows console's default (light grey on black) until the shell sets
// its normal colour.
TextAttribute trackedAttribute = 7;

volatile sig_atomic_t interruptArrived = 0;

bool coloursOn = true;

void onInterrupt(int) {
  // Interrupting a pending read is the signal's main effect; the prompt then
  // treats the read as failed. The flag covers a read that ends otherwise.
  interruptArrived = 1;
}

void writeRaw(const std::string& bytes) {
  std::cout << bytes;
  std::cout.flush();
}

void printClipboardMessage(const char* message) {
  std::cout << '\n' << message << '\n';
  std::cout.flush();
}

std::string base64(const std::string& bytes) {
  static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    unsigned n = (static_cast<unsigned char>(bytes[i]) << 16) |
                 (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                 static_cast<unsigned char>(bytes[i + 2]);
    out += table[(n >> 18) & 63];
    out += table[(n >> 12) & 63];
    out += table[(n >> 6) & 63];
    out += table[n & 63];
  }
  if (i < bytes.size()) {
    unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += table[(n >> 18) & 63];
    out += table[(n >> 12) & 63];
    out += (i + 1 < bytes.size()) ? table[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

}  // namespace

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

TextAttribute currentTextAttribute() { return trackedAttribute; }

void setTextAttribute(TextAttribute attribute) {
  std::cout.flush();
  trackedAttribute = attribute;
  if (coloursOn && standardOutputIsTerminal()) writeRaw(colourSequence(attribute));
}

void setConsoleTitle(const std::string& title) {
  if (standardOutputIsTerminal()) writeRaw("\033]0;" + title + "\007");
}

void setThinCursor() {
  if (standardOutputIsTerminal()) writeRaw("\033[4 q");  // steady underline
}

void restoreConsoleAtExit() {
  if (standardOutputIsTerminal()) writeRaw(coloursOn ? "\033[0m\033[0 q" : "\033[0 q");
}

int runCommandLine(const std::string& commandLine) {
  std::cout.flush();
  std::fflush(stdout);
  // Not std::system(): it ignores SIGINT in the shell while the child runs,
  // and the shell must see a Ctrl-C to abandon the rest of the typed line.
  // The child gets the default disposition back from exec.
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    execl("/bin/sh", "sh", "-c", commandLine.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

std::string tsharkCommandLine(const std::string& tsharkPath, const std::string& capturePath,
                              const std::string& text) {
  return posixTsharkCommandLine(tsharkPath, capturePath, text);
}

// The terminal's clipboard through OSC 52: it reaches the user's own
// clipboard over SSH and inside tmux, where no local clipboard program would.
void copyToClipboard(const std::string& text) {
  if (text.empty()) {
    printClipboardMessage(kNothingToCopy);
    return;
  }
  if (!standardOutputIsTerminal()) {
    printClipboardMessage(kCannotOpenClipboard);
    return;
  }
  writeRaw("\033]52;c;" + base64(text) + "\007");
}

void clearClipboard() {
  if (!standardOutputIsTerminal()) {
    printClipboardMessage(kCannotOpenClipboard);
    return;
  }
  writeRaw("\033]52;c;!\007");
}

}  // namespace platform
}  // namespace zav
