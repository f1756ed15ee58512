// What the shell needs from the console or terminal: colours, title,
// cursor, Ctrl-C and the termination signals, and the TShark command line
// for the platform's command processor. One implementation per platform
// (console_posix.cpp, console_win32.cpp); no platform type appears here.
// Processes are platform/process.h's, the clipboard platform/clipboard.h's.
#ifndef ZAV_PLATFORM_CONSOLE_H_
#define ZAV_PLATFORM_CONSOLE_H_

#include <cstdint>
#include <string>

namespace zav {
namespace platform {

// Console text attributes use the Windows console's foreground bits:
// 1 blue, 2 green, 4 red, 8 intensity.
using TextAttribute = std::uint16_t;

// Opens the null device for each of standard input, output and error that
// is closed (POSIX), so that no file the shell opens later takes one of
// their places: the history file opened as descriptor 1 would receive the
// output of every command. Called before anything else is opened; the
// Windows console never hands a standard handle's place to a file.
void openMissingStandardStreams();

// Keeps Ctrl-C and Ctrl-Break from ending the shell while letting them reach
// a running child. An interrupted console read then fails like end of input.
// On POSIX, SIGTERM and SIGHUP end the shell as follows: the signal is
// passed on to every running child's group and they are reaped, the
// terminal is put back as at `exit`, and the shell ends with status 128 +
// the signal. (The Windows console's
// close and log-off events keep the system's handling.)
void installControlHandler();

// True when Ctrl-C or Ctrl-Break reached the shell since the last call. A
// console read that Ctrl-C cuts short can look like end of input (the
// Windows C runtime reports it so); this tells the two apart.
bool takeInterrupt();

// Whether Ctrl-C or Ctrl-Break has arrived since the last takeInterrupt(),
// without taking it: the runs of one typed line check it before each start.
bool interruptPending();

// Records Ctrl-C as the handler does, for a child's status that tells of
// one before the handler has run.
void noteInterrupt();

// Colour changes are written only while this is on (the default). Off for
// NO_COLOR, TERM=dumb and lines given on the command line; the attribute is
// still tracked, so saving and restoring it keeps working.
void setColoursEnabled(bool enabled);
bool coloursEnabled();

// Current attribute of standard output, and a change to it. Output written
// before a change is flushed first. Nothing is written when standard output
// is not a console/terminal.
TextAttribute currentTextAttribute();
void setTextAttribute(TextAttribute attribute);

// On a POSIX terminal the title in use is saved first (the xterm title
// stack) and put back by restoreConsoleAtExit.
void setConsoleTitle(const std::string& title);
// A thin underline cursor (size 1 on the Windows console).
void setThinCursor();
// Puts the terminal back as the user's own shell expects it (POSIX):
// colours, cursor shape and title; the Windows console keeps what the shell
// set.
void restoreConsoleAtExit();

bool standardInputIsTerminal();
bool standardOutputIsTerminal();

// Whether control sequences (colours, title, cursor shape, clipboard) may
// be written to standard output: it is a terminal, and not one that TERM
// calls "dumb" (POSIX), which shows every such byte as text. Colours,
// title, cursor, the clipboard and the line editor all ask this.
bool outputTakesControlSequences();

// The TShark command line for this platform's command processor: see
// command_line.h for the two forms.
std::string tsharkCommandLine(const std::string& tsharkPath, const std::string& capturePath,
                              const std::string& text);

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_CONSOLE_H_
