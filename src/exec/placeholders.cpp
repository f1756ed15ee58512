#include "exec/placeholders.h"

#include "core/console_output.h"
#include "defs/command_store.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {

bool hasSingleListMarker(std::string text) {
  static const Regex marker(patterns::listMarker);
  size_t count = 0;
  RegexMatch match;
  for (size_t position = 0;
       marker.search(text, match, position) == SearchStatus::found && count < 2;
       position = match.end())
    ++count;
  if (count > 1) printMessage("+ Only one LIST object is allowed");
  return count == 1;
}

std::string listFileName(const std::string& text) {
  static const Regex marker(patterns::listMarkerNamed);
  RegexMatch match;
  if (marker.search(text, match) == SearchStatus::found) return match.group(text, 1);
  return kListFileNameNotFound;
}

// The rest of this file comes with the running-commands work.
void substituteArguments(std::string&, const CommandRecord&, size_t&,
                         const std::vector<std::string>&) {}
void readListFile(const std::string&, std::vector<ListItem>&) {}
void runForEachListItem(const std::string&, const std::function<void(const std::string&)>&) {}

}  // namespace zav
