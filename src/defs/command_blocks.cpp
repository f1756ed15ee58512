#include "defs/command_blocks.h"

#include <unordered_set>

#include "core/console_output.h"
#include "defs/block_matcher.h"
#include "defs/auxiliary_logic.h"
#include "defs/command_store.h"
#include "defs/loader.h"
#include "defs/marker_counts.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {

namespace {

struct KindConstants {
  const char* listId;
  const char* label;    // as the duplicate message names the kind
  const char* keyword;  // what the header line begins with
};

const KindConstants& constantsFor(BlockKind kind) {
  static const KindConstants zav{kZavExtList, "ZAV", "ZAV()"};
  static const KindConstants win{kWinExtList, "WIN", "WIN()"};
  return kind == BlockKind::zav ? zav : win;
}

std::string spanText(const std::string& text, const TextSpan& span) {
  return span.empty() ? std::string() : text.substr(span.begin, span.end - span.begin);
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

void parseCommandBlocks(BlockKind kind, const std::string& fileName, const std::string& text) {
  const KindConstants& constants = constantsFor(kind);
  checkFileText(fileName, text);
  // The matches of patterns::commandBlock, found in linear time.
  BlockMatcher blocks(text, constants.keyword);
  BlockMatch match;
  for (size_t position = 0; position <= text.size() && blocks.next(position, match);
       position = match.end) {
    CommandRecord record;
    record.name = spanText(text, match.name);
    if (hasCommandInList(constants.listId, record.name)) {
      reportDuplicate(constants, record.name);
      continue;
    }
    record.logic = spanText(text, match.logic);
    expandInserts(record.name, record.logic);
    record.hasList = hasSingleListMarker(record.logic);
    record.argCount = countArgumentMarkers(record.logic);
    record.info = spanText(text, match.info);
    record.tags = splitTags(spanText(text, match.tags));
    record.hidden = !match.hide.empty();
    appendCommand(constants.listId, std::move(record));
  }
}

}  // namespace zav
