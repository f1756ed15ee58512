#include "defs/command_store.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>

namespace zav {

const char* const kCommandListIds[4] = {kZavExtList, kZavIntList, kWinExtList, kWinIntList};

namespace {

// A list with an index from name to the first record of that name, so
// lookups stay fast in files of many thousand commands. Records are only
// appended or cleared, never removed one by one, so the index stays exact.
// The index is open addressing over the records' own names: a slot holds a
// record position plus one (0 is free), four bytes instead of a node with
// a copy of the name, so that it costs little next to the records.
struct IndexedList {
  CommandList records;
  std::vector<std::uint32_t> slots;
  size_t indexed = 0;

  // The slot that holds `name`, or the free slot where it belongs.
  size_t slotFor(std::string_view name) const {
    size_t mask = slots.size() - 1;
    for (size_t at = std::hash<std::string_view>{}(name)&mask;; at = (at + 1) & mask)
      if (slots[at] == 0 || records[slots[at] - 1].name == name) return at;
  }

  bool find(std::string_view name, size_t& index) const {
    if (slots.empty()) return false;
    std::uint32_t slot = slots[slotFor(name)];
    if (slot == 0) return false;
    index = slot - 1;
    return true;
  }

  // Indexes the record at `index` unless an earlier one has its name.
  void add(size_t index) {
    // At most three quarters full, so a probe ends soon.
    if ((indexed + 1) * 4 > slots.size() * 3) {
      std::vector<std::uint32_t> old(std::max<size_t>(64, slots.size() * 2), 0);
      old.swap(slots);
      for (std::uint32_t slot : old)
        if (slot != 0) slots[slotFor(records[slot - 1].name)] = slot;
    }
    size_t at = slotFor(records[index].name);
    if (slots[at] != 0) return;
    slots[at] = static_cast<std::uint32_t>(index + 1);
    ++indexed;
  }
};

IndexedList lists[4];
McuList mcus;
std::unordered_map<std::string, size_t> mcuByName;
IncludeList includes;
std::unordered_set<std::string> includeNames;

int listNumber(const std::string& listId) {
  for (int i = 0; i < 4; ++i)
    if (listId == kCommandListIds[i]) return i;
  return -1;
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

const CommandList& commandList(const std::string& listId) { return listFor(listId).records; }

CommandList& mutableCommandList(const std::string& listId) { return listFor(listId).records; }

void appendCommand(const std::string& listId, CommandRecord record) {
  IndexedList& list = listFor(listId);
  list.records.push_back(std::move(record));
  list.add(list.records.size() - 1);
}

bool hasCommandInList(const std::string& listId, const std::string& name) {
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
  return listFor(location.listId).records.at(location.index);
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
