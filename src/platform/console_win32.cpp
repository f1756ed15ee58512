// The Windows console, clipboard and command processor. Colours are the
// console's own text attributes; the console is asked for the current one
// each time, so nothing is tracked here while standard output is a console.
#include "platform/console.h"

#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "platform/command_line.h"
#include "platform/process.h"

namespace zav {
namespace platform {

namespace {

// What a redirected standard output reports as its attribute: the last one
// set, so a save/set/restore pair still restores the right value.
TextAttribute attributeWithoutConsole = 7;

bool coloursOn = true;

// Runs on a thread of its own for each console event and touches no shared
// state. Ctrl-C and Ctrl-Break reach every process on the console, so a
// running TShark still stops while the shell stays; closing the window and
// logging off keep the system's default handling.
// Set on the console's own handler thread, read on the shell's thread.
std::atomic<bool> interruptArrived{false};

BOOL WINAPI consoleControlHandler(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  interruptArrived = true;
  wakeChildWaiter();
  return TRUE;
}

// Fetched afresh for each call, never cached: the handle is the process's
// current standard output, whatever happened to it since start-up.
HANDLE standardOutput() { return GetStdHandle(STD_OUTPUT_HANDLE); }

bool isConsole(DWORD whichHandle) {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(whichHandle), &mode) != 0;
}

void flushOutput() {
  std::cout.flush();
  std::fflush(stdout);
}

}  // namespace

void openMissingStandardStreams() {}

void installControlHandler() { SetConsoleCtrlHandler(consoleControlHandler, TRUE); }

bool takeInterrupt() { return interruptArrived.exchange(false); }

bool interruptPending() { return interruptArrived.load(); }

void noteInterrupt() { interruptArrived = true; }

void setColoursEnabled(bool enabled) { coloursOn = enabled; }

bool coloursEnabled() { return coloursOn; }

bool standardInputIsTerminal() { return isConsole(STD_INPUT_HANDLE); }
bool standardOutputIsTerminal() { return isConsole(STD_OUTPUT_HANDLE); }

// The console is driven through its API, which TERM does not concern.
bool outputTakesControlSequences() { return standardOutputIsTerminal(); }

TextAttribute currentTextAttribute() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (!GetConsoleScreenBufferInfo(standardOutput(), &info)) return attributeWithoutConsole;
  return static_cast<TextAttribute>(info.wAttributes);
}

void setTextAttribute(TextAttribute attribute) {
  // Text already written must reach the console in its own colour.
  flushOutput();
  attributeWithoutConsole = attribute;
  if (coloursOn) SetConsoleTextAttribute(standardOutput(), attribute);
}

void setConsoleTitle(const std::string& title) { SetConsoleTitleA(title.c_str()); }

void setThinCursor() {
  HANDLE output = standardOutput();
  CONSOLE_CURSOR_INFO cursor;
  if (!GetConsoleCursorInfo(output, &cursor)) return;
  cursor.dwSize = 1;  // per cent of the cell; visibility stays as it was
  SetConsoleCursorInfo(output, &cursor);
}

void restoreConsoleAtExit() {
  // The console keeps the colour and title the shell set.
}

std::string tsharkCommandLine(const std::string& tsharkPath, const std::string& capturePath,
                              const std::string& text) {
  return cmdExeTsharkCommandLine(tsharkPath, capturePath, text);
}

}  // namespace platform
}  // namespace zav
