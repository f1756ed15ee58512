// Writing to the console: plain messages, coloured fields and the banner.
// Colours follow the Windows console attribute values (see platform/console.h);
// every coloured stretch puts the previous attribute back afterwards.
#ifndef ZAV_CORE_CONSOLE_OUTPUT_H_
#define ZAV_CORE_CONSOLE_OUTPUT_H_

#include <string>
#include <string_view>

#include "platform/console.h"

namespace zav {

inline constexpr platform::TextAttribute kNormalColour = 15;
inline constexpr platform::TextAttribute kPromptColour = 10;
inline constexpr platform::TextAttribute kFieldColour = 11;
inline constexpr platform::TextAttribute kHeadingColour = 13;

// A diagnostic: a line feed (leaving an empty line), the text, a line end;
// flushed. A second line, when given, follows directly.
void printMessage(std::string_view text);
void printMessage(std::string_view firstLine, std::string_view secondLine);

// A line feed, then "  " + name in `colour`, then ": " + value and a line end
// in the previous colour.
void printField(platform::TextAttribute colour, const std::string& name, const std::string& value);

// The text in `colour`, no line end.
void printColoured(platform::TextAttribute colour, const std::string& text);

// The start banner, with fresh random colours each run.
void showBanner();

}  // namespace zav

#endif  // ZAV_CORE_CONSOLE_OUTPUT_H_
