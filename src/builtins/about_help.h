// "about" / "version" (product and author information, typed out) and
// "helper" (the table of built-in commands).
#ifndef ZAV_BUILTINS_ABOUT_HELP_H_
#define ZAV_BUILTINS_ABOUT_HELP_H_

#include <string>

namespace zav {

// Writes the text one character at a time, pausing `delayMs` milliseconds
// after each; a delay below 1 writes it all at once.
void typeOut(const std::string& text, int delayMs);

// "about" and "version": the drawing typed out at 5 ms per character, then
// the information text at 40 ms; both at once when standard output is not a
// terminal.
void showAbout();

// The two texts that showAbout types out.
std::string aboutBannerText();
std::string aboutInformationText();

// The banner drawing's rows, each exactly 33 characters (exposed for tests).
extern const char* const kAboutArt[6];

// "helper": every built-in command with its description, and the Implicit
// Constructor keys that "gic" accepts.
void showHelp();

}  // namespace zav

#endif  // ZAV_BUILTINS_ABOUT_HELP_H_
