#include "exec/placeholders.h"

#include <string_view>

#include "core/console_output.h"
#include "core/run_outcome.h"
#include "core/whole_file.h"
#include "defs/command_store.h"
#include "exec/launch.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {

namespace {

// The whole file in text mode (CR LF read as LF, as a text-mode stream does
// on Windows). A directory counts as a file that cannot be opened there, so
// it does here too, and so do devices and FIFOs, which would never end.
bool readTextFile(const std::string& fileName, std::string& contents) {
  std::string bytes;
  if (!readFileBytes(fileName, bytes)) return false;
  contents = toTextMode(std::move(bytes));
  return true;
}

// The file name of the first LIST marker, or "LIST_FILE_NAME_NOT_FOUND".
std::string listFileName(const std::string& text) {
  static const Regex marker(patterns::listMarkerNamed);
  RegexMatch match;
  if (marker.search(text, match) == SearchStatus::found) return match.group(text, 1);
  return kListFileNameNotFound;
}

}  // namespace

void substituteArguments(std::string& text, const CommandRecord& record, size_t& position,
                         const std::vector<std::string>& words) {
  const size_t count = record.argCount;
  if (count == 0 || words.size() - position - 1 < count) return;
  const std::string marker = patterns::argMarkerText;
  // Each word fills the first marker of the whole text. Nothing before the
  // previous replacement changed, so a new first marker can begin at most
  // marker.size() - 1 characters before it (a word completing a partial
  // marker); the search restarts there rather than at 0.
  size_t searchFrom = 0;
  for (size_t used = 1; used <= count; ++used) {
    const size_t at = text.find(marker, searchFrom);
    if (at == std::string::npos) break;
    text.replace(at, marker.size(), words[position + used]);
    searchFrom = at >= marker.size() - 1 ? at - (marker.size() - 1) : 0;
  }
  position += count;
}

namespace {

// Reads the usable lines of a list file (message when it cannot be opened).
void readListFile(const std::string& fileName, std::vector<ListItem>& items) {
  static const Regex line(patterns::listFileLine);
  std::string contents;
  if (!readTextFile(fileName, contents)) {
    printCouldNotOpen(fileName);
    noteFailedRun();
    return;
  }
  RegexMatch match;
  for (size_t begin = 0; begin < contents.size();) {
    size_t end = contents.find('\n', begin);
    if (end == std::string::npos) end = contents.size();
    const std::string_view text(contents.data() + begin, end - begin);
    begin = end + 1;
    if (text.empty() || line.search(text, match) != SearchStatus::found) continue;
    ListItem item;
    item.hasPrint = match.matched(2);
    item.printText = match.group(text, 2);
    item.value = match.group(text, 3);
    items.push_back(std::move(item));
  }
}

}  // namespace

void runForEachListItem(const std::string& text,
                        const std::function<void(const std::string&)>& runner) {
  static const Regex marker(patterns::listMarker);
  std::vector<ListItem> items;
  readListFile(listFileName(text), items);
  for (const ListItem& item : items) {
    if (lineIsAbandoned()) break;
    if (item.hasPrint) printMessage(item.printText);
    std::string expanded = text;
    replaceAll(expanded, marker, item.value);
    runner(expanded);
  }
}

}  // namespace zav
