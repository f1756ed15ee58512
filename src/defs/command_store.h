// Everything the command file defines: the four command lists, the
// Auxiliary Logic fragments, the Multi Command Units and the include names.
// Process-wide; filled by the loader, emptied only by `loadcmdfile`.
#ifndef ZAV_DEFS_COMMAND_STORE_H_
#define ZAV_DEFS_COMMAND_STORE_H_

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "defs/fixed_text.h"

namespace zav {

struct CommandRecord {
  std::string name;
  std::string logic;
  FixedText info;
  // The tag words in order of first appearance, each once, joined by "|"
  // ("gen|t3|k"): one text, which for most tag lines needs no memory of its
  // own. Read it with tagWords / hasTag.
  FixedText tags;
  // Both describe `logic` as it was right after INSERT expansion; later
  // rewrites (calls, Implicit Constructors, ulogic) leave them alone.
  std::uint32_t argCount = 0;
  bool hasList = false;
  bool hidden = false;
};

// The words of a joined tag text, in order; none for an empty one.
std::vector<std::string_view> tagWords(std::string_view tags);
// Whether `word` is one of the words of a joined tag text.
bool hasTag(std::string_view tags, std::string_view word);
// The joined tag text of tag words given one by one; a word already present
// is left out.
std::string joinTags(const std::vector<std::string_view>& words);

// A command as the block parser read it: views of the file's text and of
// the logic after INSERT expansion, to be copied into the store.
struct ParsedCommand {
  std::string_view name, logic, info, tags;
  std::uint32_t argCount = 0;
  bool hasList = false;
  bool hidden = false;
};

struct CommandLocation {
  std::string listId;
  std::uint64_t index = 0;
};

struct McuRecord {
  std::string name;
  std::vector<std::string> commands;
};

// The list ids, in lookup order. Only the two "Ext" lists are ever filled;
// the "Int" lists are searched and listed all the same.
inline constexpr const char* kZavExtList = "ZAVExtCMDsList";
inline constexpr const char* kZavIntList = "ZAVIntCMDsList";
inline constexpr const char* kWinExtList = "WINExtCMDsList";
inline constexpr const char* kWinIntList = "WINIntCMDsList";
extern const char* const kCommandListIds[4];

// --- Command lists.
// A deque, not a vector: appending never moves the records already there,
// so a load of many thousand commands writes each record once instead of
// copying the whole list at every growth.
using CommandList = std::deque<CommandRecord>;
// The records of a list, in load order. An unknown id gives an empty list.
// Commands appended with appendParsedCommand become records here, when the
// list is first read (also through mutableCommandList and recordAt).
const CommandList& commandList(const std::string& listId);
// Appends at the end of the list.
void appendCommand(const std::string& listId, CommandRecord record);
// Appends at the end of the list, packed: a few bytes besides its texts
// until the list is read as records.
void appendParsedCommand(const std::string& listId, const ParsedCommand& command);
// Whether the list holds a record of that exact name.
bool hasCommandInList(const std::string& listId, std::string_view name);
// A list's commands by position, without making records of packed ones:
// the call expansion reads logic before the lists are read as records, and
// rewrites it in list order, so that each record is made once, with its
// final logic.
size_t commandCount(const std::string& listId);
std::string_view commandNameAt(const std::string& listId, size_t index);
std::string_view commandLogicAt(const std::string& listId, size_t index);
// Gives the command this logic; it and the packed commands before it become
// records.
void setCommandLogicAt(const std::string& listId, size_t index, std::string logic);
// Makes records of every packed command (what reading a list does).
void settleCommandLists();
// The position of the first record of that exact name in one list; false
// (and `index` unchanged) when the list holds none.
bool findCommandInList(const std::string& listId, const std::string& name, size_t& index);
// Exact, case-sensitive lookup across the four lists in order; the first
// record of that name wins, hidden ones included. Leaves `location` alone
// when nothing is found.
bool findCommand(const std::string& name, CommandLocation& location);
// The record a location names (callers may rewrite its `logic`).
CommandRecord& recordAt(const CommandLocation& location);
// Every record of one list, for whole-list rewrites (calls, Implicit
// Constructors). Names must not be changed through it.
CommandList& mutableCommandList(const std::string& listId);

// --- Auxiliary Logic, ordered by name (byte-wise).
using AuxiliaryLogicTable = std::map<std::string, std::string>;
extern AuxiliaryLogicTable auxiliaryLogicTable;
// Inserts unless the name is present; true when inserted.
bool addAuxiliaryLogic(const std::string& name, const std::string& text);
// The text of a fragment, or nullptr.
const std::string* findAuxiliaryLogic(const std::string& name);

// --- Multi Command Units, in load order.
using McuList = std::vector<McuRecord>;
const McuList& mcuList();
void appendMcu(McuRecord record);
const McuRecord* findMcu(const std::string& name);

// --- Include file names, in discovery order.
using IncludeList = std::vector<std::string>;
const IncludeList& includeList();
void appendInclude(const std::string& name);
bool hasInclude(const std::string& name);

// Empties, in this order, the fragments, "ZAVExtCMDsList", "WINExtCMDsList",
// the units and the include names (what `loadcmdfile` needs before it loads
// again; the Implicit Constructors are cleared by their own module).
void clearCommandStore();

}  // namespace zav

#endif  // ZAV_DEFS_COMMAND_STORE_H_
