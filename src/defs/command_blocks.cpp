#include "defs/command_blocks.h"

#include <algorithm>

#include "core/console_output.h"
#include "defs/auxiliary_logic.h"
#include "defs/block_matcher.h"
#include "defs/command_file.h"
#include "defs/command_store.h"
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

// What patterns::tagWord takes: [a-zA-Z0-9_].
bool isTagWordChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string_view spanView(const std::string& text, const TextSpan& span) {
  return span.empty() ? std::string_view()
                      : std::string_view(text).substr(span.begin, span.end - span.begin);
}

void reportDuplicate(const KindConstants& constants, const std::string& name) {
  printMessage("+ The " + std::string(constants.label) + " CMD with the name \"" + name +
               "\" is a duplicate. Please remove duplicate command.");
}

// The tag words of a TAG text (runs of name characters) in order of first
// appearance, each once, joined by "|" as CommandRecord::tags holds them.
std::string joinedTags(std::string_view tagText) {
  // Most TAG lines are already joined: a few distinct words, one "|"
  // between each two. They are taken as they stand.
  constexpr size_t kCheckedWords = 8;
  std::string_view seen[kCheckedWords];
  size_t count = 0;
  bool asWritten = !tagText.empty();
  for (size_t begin = 0; asWritten && begin <= tagText.size();) {
    size_t end = std::min(tagText.find('|', begin), tagText.size());
    std::string_view word = tagText.substr(begin, end - begin);
    asWritten = !word.empty() && count < kCheckedWords &&
                std::all_of(word.begin(), word.end(), isTagWordChar) &&
                std::find(seen, seen + count, word) == seen + count;
    if (asWritten) seen[count++] = word;
    begin = end + 1;
  }
  if (asWritten) return std::string(tagText);
  std::vector<std::string_view> words;
  for (size_t at = 0; at < tagText.size();) {
    size_t begin = at;
    while (at < tagText.size() && isTagWordChar(tagText[at])) ++at;
    if (at > begin)
      words.push_back(tagText.substr(begin, at - begin));
    else
      ++at;
  }
  return joinTags(words);
}

}  // namespace

void parseCommandBlocks(BlockKind kind, const std::string& fileName, const std::string& text) {
  const KindConstants& constants = constantsFor(kind);
  const std::string listId = constants.listId;
  checkFileText(fileName, text);
  // The matches of patterns::commandBlock, found in linear time.
  BlockMatcher blocks(text, constants.keyword);
  BlockMatch match;
  std::string name, logic;  // reused from block to block
  for (size_t position = 0; position <= text.size() && blocks.next(position, match);
       position = match.end) {
    name.assign(spanView(text, match.name));
    if (hasCommandInList(listId, name)) {
      reportDuplicate(constants, name);
      continue;
    }
    logic.assign(spanView(text, match.logic));
    expandInserts(name, logic);
    const std::string tags = joinedTags(spanView(text, match.tags));
    ParsedCommand command;
    command.name = name;
    command.logic = logic;
    command.info = spanView(text, match.info);
    command.tags = tags;
    command.hasList = hasSingleListMarker(logic);
    command.argCount = countArgumentMarkers(logic);
    command.hidden = !match.hide.empty();
    appendParsedCommand(listId, command);
  }
}

}  // namespace zav
