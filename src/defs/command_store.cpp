#include "defs/command_store.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "defs/packed_commands.h"

namespace zav {

const char* const kCommandListIds[4] = {kZavExtList, kZavIntList, kWinExtList, kWinIntList};

namespace {

// A list with an index from name to the first record of that name, so
// lookups stay fast in files of many thousand commands. Records are only
// appended or cleared, never removed one by one, so the index stays exact.
// The index is open addressing over the records' own names: a slot holds 32
// bits of the name's hash and a record position plus one (0 is free), so a
// probe reads its neighbours in one array and reads a record's name only
// when the hash matches; growing needs no name at all.
struct IndexedList {
  CommandList records;
  PackedCommands packed;  // parsed after `records`, not yet records
  std::vector<std::uint64_t> slots;
  size_t indexed = 0;

  static std::uint32_t hashOf(std::string_view name) {
    const std::uint64_t hash = std::hash<std::string_view>{}(name);
    return static_cast<std::uint32_t>(hash ^ hash >> 32);
  }

  size_t size() const { return records.size() + packed.size(); }

  std::string_view nameAt(size_t index) const {
    return index < records.size() ? std::string_view(records[index].name)
                                  : packed.name(index - records.size());
  }

  void settle() {
    if (!packed.empty()) packed.moveInto(records);
  }

  // The slot that holds `name`, or the free slot where it belongs.
  size_t slotFor(std::string_view name, std::uint32_t hash) const {
    const size_t mask = slots.size() - 1;
    for (size_t at = hash & mask;; at = (at + 1) & mask) {
      const std::uint64_t slot = slots[at];
      if (slot == 0 || (slot >> 32 == hash && nameAt((slot & 0xffffffffu) - 1) == name)) return at;
    }
  }

  bool find(std::string_view name, size_t& index) const {
    if (slots.empty()) return false;
    const std::uint64_t slot = slots[slotFor(name, hashOf(name))];
    if (slot == 0) return false;
    index = (slot & 0xffffffffu) - 1;
    return true;
  }

  // Indexes the record at `index` unless an earlier one has its name.
  void add(size_t index) {
    // At most four fifths full, so a probe ends soon.
    if ((indexed + 1) * 5 > slots.size() * 4) {
      std::vector<std::uint64_t> old(std::max<size_t>(64, slots.size() * 2), 0);
      old.swap(slots);
      const size_t mask = slots.size() - 1;
      for (std::uint64_t slot : old) {
        if (slot == 0) continue;
        size_t at = (slot >> 32) & mask;
        while (slots[at] != 0) at = (at + 1) & mask;
        slots[at] = slot;
      }
    }
    const std::uint32_t hash = hashOf(nameAt(index));
    const size_t at = slotFor(nameAt(index), hash);
    if (slots[at] != 0) return;
    slots[at] = static_cast<std::uint64_t>(hash) << 32 | (index + 1);
    ++indexed;
  }
};

IndexedList lists[4];
McuList mcus;
std::unordered_map<std::string, size_t> mcuByName;
IncludeList includes;
std::unordered_set<std::string> includeNames;

int listNumber(const std::string& listId) {
  // Every id is "ZAV" or "WIN", "Ext" or "Int", then "CMDsList"; the load
  // asks once per command, so the two letters that differ pick the id.
  constexpr size_t kIdLength = 14;
  if (listId.size() != kIdLength) return -1;
  const int number = (listId[0] == 'W' ? 2 : 0) + (listId[3] == 'I' ? 1 : 0);
  return listId == kCommandListIds[number] ? number : -1;
}

IndexedList& listFor(const std::string& listId) {
  static IndexedList none;
  int number = listNumber(listId);
  if (number < 0) {
    none = IndexedList();
    return none;
  }
  return lists[number];
}

void clearList(IndexedList& list) { list = IndexedList(); }

IndexedList& settledList(const std::string& listId) {
  IndexedList& list = listFor(listId);
  list.settle();
  return list;
}

}  // namespace

AuxiliaryLogicTable auxiliaryLogicTable;

std::vector<std::string_view> tagWords(std::string_view tags) {
  std::vector<std::string_view> words;
  if (tags.empty()) return words;
  for (size_t begin = 0;;) {
    size_t end = tags.find('|', begin);
    words.push_back(tags.substr(begin, end - begin));
    if (end == std::string_view::npos) return words;
    begin = end + 1;
  }
}

bool hasTag(std::string_view tags, std::string_view word) {
  if (word.empty() || word.find('|') != std::string_view::npos) return false;
  for (size_t at = tags.find(word); at != std::string_view::npos; at = tags.find(word, at + 1)) {
    size_t end = at + word.size();
    if ((at == 0 || tags[at - 1] == '|') && (end == tags.size() || tags[end] == '|')) return true;
  }
  return false;
}

std::string joinTags(const std::vector<std::string_view>& words) {
  std::string joined;
  // A handful of words is checked against the text so far; a long tag line
  // gets an index so that it stays linear.
  constexpr size_t kScannedWords = 16;
  std::unordered_set<std::string_view> seen;
  if (words.size() > kScannedWords) seen.reserve(words.size());
  for (std::string_view word : words) {
    bool fresh = words.size() > kScannedWords ? seen.insert(word).second : !hasTag(joined, word);
    if (!fresh) continue;
    if (!joined.empty()) joined += '|';
    joined += word;
  }
  return joined;
}

const CommandList& commandList(const std::string& listId) { return settledList(listId).records; }

CommandList& mutableCommandList(const std::string& listId) { return settledList(listId).records; }

void appendCommand(const std::string& listId, CommandRecord record) {
  IndexedList& list = settledList(listId);
  list.records.push_back(std::move(record));
  list.add(list.records.size() - 1);
}

void appendParsedCommand(const std::string& listId, const ParsedCommand& command) {
  IndexedList& list = listFor(listId);
  if (!list.packed.append(command)) {
    list.settle();
    list.records.push_back(recordOf(command));
  }
  list.add(list.size() - 1);
}

size_t commandCount(const std::string& listId) { return listFor(listId).size(); }

std::string_view commandNameAt(const std::string& listId, size_t index) {
  return listFor(listId).nameAt(index);
}

std::string_view commandLogicAt(const std::string& listId, size_t index) {
  const IndexedList& list = listFor(listId);
  return index < list.records.size() ? std::string_view(list.records[index].logic)
                                     : list.packed.logic(index - list.records.size());
}

void setCommandLogicAt(const std::string& listId, size_t index, std::string logic) {
  IndexedList& list = listFor(listId);
  while (list.records.size() < index && !list.packed.empty())
    list.packed.moveFirstInto(list.records);
  if (index == list.records.size() && !list.packed.empty())
    list.packed.moveFirstInto(list.records, &logic);
  else if (index < list.records.size())
    list.records[index].logic = std::move(logic);
}

void settleCommandLists() {
  for (IndexedList& list : lists) list.settle();
}

bool hasCommandInList(const std::string& listId, std::string_view name) {
  size_t index = 0;
  return listFor(listId).find(name, index);
}

bool findCommandInList(const std::string& listId, const std::string& name, size_t& index) {
  return listFor(listId).find(name, index);
}

bool findCommand(const std::string& name, CommandLocation& location) {
  for (int i = 0; i < 4; ++i) {
    size_t index = 0;
    if (!lists[i].find(name, index)) continue;
    location.listId = kCommandListIds[i];
    location.index = index;
    return true;
  }
  return false;
}

CommandRecord& recordAt(const CommandLocation& location) {
  return settledList(location.listId).records.at(location.index);
}

bool addAuxiliaryLogic(const std::string& name, const std::string& text) {
  return auxiliaryLogicTable.emplace(name, text).second;
}

const std::string* findAuxiliaryLogic(const std::string& name) {
  auto found = auxiliaryLogicTable.find(name);
  return found == auxiliaryLogicTable.end() ? nullptr : &found->second;
}

const McuList& mcuList() { return mcus; }

void appendMcu(McuRecord record) {
  mcuByName.emplace(record.name, mcus.size());
  mcus.push_back(std::move(record));
}

const McuRecord* findMcu(const std::string& name) {
  auto found = mcuByName.find(name);
  return found == mcuByName.end() ? nullptr : &mcus[found->second];
}

const IncludeList& includeList() { return includes; }

void appendInclude(const std::string& name) {
  includeNames.insert(name);
  includes.push_back(name);
}

bool hasInclude(const std::string& name) { return includeNames.count(name) != 0; }

void clearCommandStore() {
  auxiliaryLogicTable.clear();
  // The two "Int" lists are never filled; clearing them too keeps tests
  // that fill them directly independent of each other.
  for (IndexedList& list : lists) clearList(list);
  mcus.clear();
  mcuByName.clear();
  includes.clear();
  includeNames.clear();
}

}  // namespace zav
