#include "builtins/definition_views.h"

#include <algorithm>
#include <iostream>

#include "builtins/builtin_table.h"
#include "core/console_output.h"
#include "defs/command_store.h"

namespace zav {

namespace {

struct ListSection {
  const char* listId;
  const char* heading;
  const char* emptyText;
};

const ListSection kCommandSections[4] = {
    {kZavExtList, " [ External ZAV CMD List ]", " - External ZAV CMD List is empty."},
    {kZavIntList, " [ Internal ZAV CMD List ]", " - Internal ZAV CMD List is empty."},
    {kWinExtList, " [ External WIN CMD List ]", " - External WIN CMD List is empty."},
    {kWinIntList, " [ Internal WIN CMD List ]", " - Internal WIN CMD List is empty."},
};

// The lists in the order "gcwt" visits them: internal before external.
const char* const kTagSearchOrder[4] = {kZavIntList, kZavExtList, kWinIntList, kWinExtList};

// A heading of a plain listing: a line feed, the heading, an empty line.
void printHeading(const std::string& heading) {
  std::cout << '\n' << heading << "\n\n";
  std::cout.flush();
}

void printNumberedItem(size_t number, const std::string& text) {
  std::cout << "  " << number << ". " << text << '\n';
  std::cout.flush();
}

void printNumberedList(const std::vector<std::string>& items) {
  for (size_t i = 0; i < items.size(); ++i) printNumberedItem(i + 1, items[i]);
}

bool carriesTag(const CommandRecord& record, const std::string& tag) {
  return hasTag(record.tags, tag);
}

}  // namespace

void printCommandNotValid(const std::string& name) {
  printMessage("+ cmd " + name + " is not valid");
}

namespace {

// The value that "tag" shows for a joined tag text (CommandRecord::tags):
// " TAG list is empty", or each tag framed by "| " and " | ".
std::string tagListText(const std::string& tags) {
  if (tags.empty()) return " TAG list is empty";
  std::string text = "| ";
  for (std::string_view tag : tagWords(tags)) text.append(tag).append(" | ");
  return text;
}

}  // namespace

void showInfo(const std::string& name) {
  CommandLocation location;
  if (!findCommand(name, location)) {
    printMessage("+ cmd " + name + " is not valid.");
    return;
  }
  printField(kFieldColour, name, recordAt(location).info.str());
}

void showLogic(const std::string& name) {
  CommandLocation location;
  if (!findCommand(name, location)) {
    printCommandNotValid(name);
    return;
  }
  printField(kFieldColour, name, recordAt(location).logic);
}

void showTags(const std::string& name) {
  CommandLocation location;
  if (!findCommand(name, location)) {
    printCommandNotValid(name);
    return;
  }
  printField(kFieldColour, name, tagListText(recordAt(location).tags));
}

void showAuxiliaryLogic(const std::vector<std::string>& words) {
  if (words.size() <= 1) {
    if (auxiliaryLogicTable.empty()) {
      printMessage("+ No Auxiliary logic was found");
      return;
    }
    for (const auto& fragment : auxiliaryLogicTable)
      printField(kFieldColour, fragment.first, fragment.second);
    return;
  }
  for (size_t i = 1; i < words.size(); ++i) {
    const std::string* text = findAuxiliaryLogic(words[i]);
    if (text == nullptr) {
      printMessage("+ Entered Auxiliary Logic name \"" + words[i] + "\" is not valid");
    } else {
      printField(kFieldColour, words[i], *text);
    }
  }
}

void listCommandsWithTags(const std::vector<std::string>& words) {
  std::vector<std::string> names;
  for (const char* listId : kTagSearchOrder) {
    for (const CommandRecord& record : commandList(listId)) {
      bool matches = words.size() > 1;
      for (size_t i = 1; i < words.size() && matches; ++i) matches = carriesTag(record, words[i]);
      if (matches) names.push_back(record.name);
    }
  }
  if (names.empty()) {
    printMessage("+ No matches were found");
    return;
  }
  printHeading(" [ List of CMDs that match requested tag ]");
  for (const std::string& name : names) std::cout << "  - " << name << '\n';
  std::cout.flush();
}

void listAllCommands() {
  for (const ListSection& section : kCommandSections) {
    std::cout << '\n';
    printColoured(kHeadingColour, section.heading);
    std::cout << "\n\n";
    std::cout.flush();
    const CommandList& records = commandList(section.listId);
    if (records.empty()) {
      std::cout << section.emptyText << '\n';
      std::cout.flush();
      continue;
    }
    size_t number = 0;
    for (const CommandRecord& record : records)
      if (!record.hidden) printNumberedItem(++number, record.name);
  }
  std::cout << '\n';
  printColoured(kHeadingColour, " [ Internal ZAV Helper CMD List ]");
  std::cout << "\n\n";
  std::cout.flush();
  std::vector<std::string> names;
  for (const BuiltinCommand& command : builtinCommands()) names.push_back(command.name);
  printNumberedList(names);
}

void listIncludeFiles() {
  if (includeList().empty()) {
    printMessage("+ List of include file(s) is empty");
    return;
  }
  printHeading(" [ List of include file(s) ]");
  printNumberedList(includeList());
}

void listMcus() {
  if (mcuList().empty()) {
    printMessage("+ List of MCU(s) is empty");
    return;
  }
  printHeading(" [ List of MCUs ]");
  size_t number = 0;
  for (const McuRecord& unit : mcuList()) printNumberedItem(++number, unit.name);
}

}  // namespace zav
