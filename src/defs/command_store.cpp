#include "defs/command_store.h"

#include <unordered_map>
#include <unordered_set>

namespace zav {

const char* const kCommandListIds[4] = {kZavExtList, kZavIntList, kWinExtList, kWinIntList};

namespace {

// A list with an index from name to the first record of that name, so
// lookups stay fast in files of many thousand commands. Records are only
// appended or cleared, never removed one by one, so the index stays exact.
struct IndexedList {
  CommandList records;
  std::unordered_map<std::string, size_t> firstByName;
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

void clearList(IndexedList& list) {
  list.records.clear();
  list.firstByName.clear();
}

}  // namespace

AuxiliaryLogicTable auxiliaryLogicTable;

const CommandList& commandList(const std::string& listId) { return listFor(listId).records; }

CommandList& mutableCommandList(const std::string& listId) { return listFor(listId).records; }

void appendCommand(const std::string& listId, CommandRecord record) {
  IndexedList& list = listFor(listId);
  list.firstByName.emplace(record.name, list.records.size());
  list.records.push_back(std::move(record));
}

bool hasCommandInList(const std::string& listId, const std::string& name) {
  const IndexedList& list = listFor(listId);
  return list.firstByName.count(name) != 0;
}

bool findCommandInList(const std::string& listId, const std::string& name, size_t& index) {
  const IndexedList& list = listFor(listId);
  auto found = list.firstByName.find(name);
  if (found == list.firstByName.end()) return false;
  index = found->second;
  return true;
}

bool findCommand(const std::string& name, CommandLocation& location) {
  for (int i = 0; i < 4; ++i) {
    auto found = lists[i].firstByName.find(name);
    if (found == lists[i].firstByName.end()) continue;
    location.listId = kCommandListIds[i];
    location.index = found->second;
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
