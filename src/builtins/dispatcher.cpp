#include "builtins/dispatcher.h"

#include "builtins/builtin_table.h"
#include "text/words.h"

namespace zav {

bool dispatchBuiltin(std::string line) {
  const Words words = splitWords(line);
  if (words.empty()) return false;
  for (const BuiltinCommand& command : builtinCommands()) {
    if (words[0] != command.name || command.run == nullptr) continue;
    if (words.size() < command.minWords || words.size() > command.maxWords) continue;
    command.run(words);
    return true;
  }
  return false;
}

}  // namespace zav
