#include "exec/dispatch.h"

#include <iostream>
#include <vector>

#include "core/shell_state.h"
#include "defs/command_store.h"
#include "exec/launch.h"
#include "exec/ordered_runs.h"
#include "exec/placeholders.h"
#include "text/words.h"

namespace zav {

namespace {

bool isTsharkList(const std::string& listId) {
  return listId == kZavExtList || listId == kZavIntList;
}

}  // namespace

void dispatchCommand(std::string line) {
  const std::vector<std::string> words = splitWords(line);
  if (words.empty()) return;

  // Every command word adds its logic in line order; its argument words are
  // skipped so they are not looked up as commands themselves.
  std::string text;
  CommandLocation location;
  for (size_t position = 0; position < words.size(); ++position) {
    if (!findCommand(words[position], location)) continue;
    const CommandRecord& record = recordAt(location);
    text += record.logic;
    substituteArguments(text, record, position, words);
  }

  CommandLocation first;
  if (!findCommand(words.front(), first)) {
    // Not one of ours: the command processor gets the line exactly as typed.
    std::cout << '\n';
    runInCommandProcessor(line);
    return;
  }
  // Only the first word chooses the launcher, whatever the later words are.
  const TextRunner& runner = isTsharkList(first.listId) ? launchers().tshark : launchers().windows;
  const auto run = [&] {
    if (hasSingleListMarker(text))
      runForEachListItem(text, runner);
    else
      runner(text);
  };
  // Only TShark runs go side by side: they read captures and change
  // nothing, where a WIN command may depend on the one before it.
  if (parallelRuns > 1 && isTsharkList(first.listId))
    runSideBySide(run, parallelRuns);
  else
    run();
}

}  // namespace zav
