// How many run-time markers a command's logic holds, counted once when the
// command is stored (argCount, hasList) and filled in when it runs
// (exec/placeholders.h).
#ifndef ZAV_DEFS_MARKER_COUNTS_H_
#define ZAV_DEFS_MARKER_COUNTS_H_

#include <cstdint>
#include <string>

namespace zav {

// How often "[%_ARG_%]" occurs in a logic text.
std::uint32_t countArgumentMarkers(const std::string& logic);

// True when the text holds exactly one LIST marker; prints
// "+ Only one LIST object is allowed" when it holds more.
bool hasSingleListMarker(const std::string& text);

}  // namespace zav

#endif  // ZAV_DEFS_MARKER_COUNTS_H_
