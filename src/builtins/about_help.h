// "about" / "version" (product and author information, typed out) and
// "helper" (the table of built-in commands).
#ifndef ZAV_BUILTINS_ABOUT_HELP_H_
#define ZAV_BUILTINS_ABOUT_HELP_H_

#include <string>

namespace zav {

// "about" and "version": the drawing typed out at 5 ms per character, then
// the information text at 40 ms; both at once when standard output is not a
// terminal.
void showAbout();

// "helper": every built-in command with its description, and the Implicit
// Constructor keys that "gic" accepts.
void showHelp();

}  // namespace zav

#endif  // ZAV_BUILTINS_ABOUT_HELP_H_
