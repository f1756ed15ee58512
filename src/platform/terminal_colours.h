// The bytes that switch a terminal's text colour to a console attribute.
// POSIX terminals take these escape sequences where the Windows console
// takes attributes; the line editor needs them as text to put them into its
// prompt, the console layer writes them directly.
#ifndef ZAV_PLATFORM_TERMINAL_COLOURS_H_
#define ZAV_PLATFORM_TERMINAL_COLOURS_H_

#include <string>

#include "platform/console.h"

namespace zav {
namespace platform {

// An ANSI SGR sequence for the attribute's foreground bits. Attribute 15,
// the shell's normal colour (bright white on the console's black), becomes
// the terminal's own default colours so text stays readable on light
// backgrounds. Background bits are never set by the shell and are ignored.
std::string colourSequence(TextAttribute attribute);

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_TERMINAL_COLOURS_H_
