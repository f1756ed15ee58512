#include "defs/marker_counts.h"

#include "core/console_output.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {

std::uint32_t countArgumentMarkers(const std::string& logic) {
  const std::string marker = patterns::argMarkerText;
  std::uint32_t count = 0;
  for (size_t at = logic.find(marker); at != std::string::npos;
       at = logic.find(marker, at + marker.size()))
    ++count;
  return count;
}

bool hasSingleListMarker(const std::string& text) {
  static const Regex marker(patterns::listMarker);
  // Every marker begins with the literal, and most logic holds none.
  constexpr const char* kListLiteral = "[%_LIST<";
  size_t count = 0;
  RegexMatch match;
  for (size_t position = text.find(kListLiteral);
       position != std::string::npos &&
       marker.search(text, match, position) == SearchStatus::found && count < 2;
       position = text.find(kListLiteral, match.end()))
    ++count;
  if (count > 1) printMessage("+ Only one LIST object is allowed");
  return count == 1;
}

}  // namespace zav
