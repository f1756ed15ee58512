#include "defs/command_blocks.h"

#include <unordered_set>

#include "core/console_output.h"
#include "defs/auxiliary_logic.h"
#include "defs/command_store.h"
#include "defs/loader.h"
#include "exec/placeholders.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {

namespace {

// Capture groups of the composed block pattern.
enum BlockGroup : size_t {
  hideGroup = 1,
  nameGroup = 2,
  logicGroup = 3,
  infoGroup = 4,
  tagWordsGroup = 6
};

struct KindConstants {
  const char* listId;
  const char* label;      // as the duplicate message names the kind
  const char* construct;  // as a search failure names what was searched for
};

const KindConstants& constantsFor(BlockKind kind) {
  static const KindConstants zav{kZavExtList, "ZAV", "ZAV blocks"};
  static const KindConstants win{kWinExtList, "WIN", "WIN blocks"};
  return kind == BlockKind::zav ? zav : win;
}

const Regex& blockPattern(BlockKind kind) {
  static const Regex zav(patterns::commandBlock(patterns::blockHeaderZav));
  static const Regex win(patterns::commandBlock(patterns::blockHeaderWin));
  return kind == BlockKind::zav ? zav : win;
}

void reportDuplicate(const KindConstants& constants, const std::string& name) {
  printMessage("+ The " + std::string(constants.label) + " CMD with the name \"" + name +
               "\" is a duplicate. Please remove duplicate command.");
}

}  // namespace

std::vector<std::string> splitTags(const std::string& tagText) {
  static const Regex word(patterns::tagWord);
  std::vector<std::string> tags;
  std::unordered_set<std::string> seen;
  RegexMatch match;
  for (size_t position = 0;
       word.search(tagText, match, position, SearchFrom::restAsNewText) == SearchStatus::found;
       position = match.end()) {
    std::string tag = match.group(tagText, 1);
    if (seen.insert(tag).second) tags.push_back(std::move(tag));
  }
  return tags;
}

std::uint32_t countArgumentMarkers(const std::string& logic) {
  const std::string marker = patterns::argMarkerText;
  std::uint32_t count = 0;
  for (size_t at = logic.find(marker); at != std::string::npos;
       at = logic.find(marker, at + marker.size()))
    ++count;
  return count;
}

void parseCommandBlocks(BlockKind kind, const std::string& fileName, const std::string& text) {
  const KindConstants& constants = constantsFor(kind);
  const Regex& block = blockPattern(kind);
  checkFileText(fileName, text);
  RegexMatch match;
  for (size_t position = 0; position <= text.size(); position = match.end()) {
    SearchStatus status = block.search(text, match, position);
    if (status == SearchStatus::error) reportSearchGaveUp(fileName, constants.construct);
    if (status != SearchStatus::found) break;
    CommandRecord record;
    record.name = match.group(text, nameGroup);
    if (hasCommandInList(constants.listId, record.name)) {
      reportDuplicate(constants, record.name);
      continue;
    }
    record.logic = match.group(text, logicGroup);
    expandInserts(record.name, record.logic);
    record.hasList = hasSingleListMarker(record.logic);
    record.argCount = countArgumentMarkers(record.logic);
    record.info = match.group(text, infoGroup);
    record.tags = splitTags(match.group(text, tagWordsGroup));
    record.hidden = !match.group(text, hideGroup).empty();
    appendCommand(constants.listId, std::move(record));
  }
}

}  // namespace zav
