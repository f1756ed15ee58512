// Run-time markers in command logic: "[%_ARG_%]" takes a typed word,
// "[%_LIST<file>_%]" runs the command once per line of a list file, and
// "[%_PRINT<text>_%]" at the start of a list line prints a heading.
#ifndef ZAV_EXEC_PLACEHOLDERS_H_
#define ZAV_EXEC_PLACEHOLDERS_H_

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "defs/marker_counts.h"

namespace zav {

struct CommandRecord;

struct ListItem {
  std::string value;      // replaces the LIST marker
  std::string printText;  // the line's PRINT text, if any
  bool hasPrint = false;
};

// The file name given when a text holds no LIST marker.
inline constexpr const char* kListFileNameNotFound = "LIST_FILE_NAME_NOT_FOUND";

// Fills the first argCount "[%_ARG_%]" markers of `text` (each searched from
// the start of the whole text) with the words after `position`, and moves
// `position` onto the last word used. Does nothing when fewer words follow.
void substituteArguments(std::string& text, const CommandRecord& record, size_t& position,
                         const std::vector<std::string>& words);

// Runs `runner` once per list item, the marker replaced by the item's value
// (ECMAScript replacement rules, so "$$" gives "$").
void runForEachListItem(const std::string& text,
                        const std::function<void(const std::string&)>& runner);

}  // namespace zav

#endif  // ZAV_EXEC_PLACEHOLDERS_H_
