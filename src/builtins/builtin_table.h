// The built-in commands, once: their words, the word counts they accept,
// what they run and how helper describes them. The dispatcher, getallcmds,
// helper and the shell's completion all read this table.
#ifndef ZAV_BUILTINS_BUILTIN_TABLE_H_
#define ZAV_BUILTINS_BUILTIN_TABLE_H_

#include <cstddef>
#include <string>
#include <vector>

namespace zav {

using Words = std::vector<std::string>;

inline constexpr size_t kAnyWordCount = static_cast<size_t>(-1);

struct BuiltinCommand {
  const char* name;
  // The word counts it accepts, the command word included. A known word
  // with another count is no built-in: the line reaches the dispatcher.
  size_t minWords;
  size_t maxWords;
  // Null for "exit", which the prompt loop itself ends with.
  void (*run)(const Words& words);
  // helper's two columns, and its place in helper's list.
  const char* usage;
  const char* description;
  int helpPosition;
};

// Every built-in in the order getallcmds lists them, "exit" last.
const std::vector<BuiltinCommand>& builtinCommands();

}  // namespace zav

#endif  // ZAV_BUILTINS_BUILTIN_TABLE_H_
