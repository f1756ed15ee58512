#include "exec/dispatch.h"

#include <iostream>
#include <string_view>
#include <vector>

#include "core/console_output.h"
#include "core/run_outcome.h"
#include "core/shell_state.h"
#include "defs/command_store.h"
#include "exec/launch.h"
#include "exec/ordered_runs.h"
#include "exec/placeholders.h"
#include "exec/remote_runs.h"
#include "text/words.h"

namespace zav {

namespace {

bool isTsharkList(const std::string& listId) {
  return listId == kZavExtList || listId == kZavIntList;
}

bool startsTail(std::string_view word) {
  return word == "|" || word == ">" || word == ">>" || word == "2>";
}

// Cuts the tail off the line: from the first such word after the first word,
// as typed, to the end. False, and nothing changed, when there is none.
bool cutTail(std::string& line, std::string& tail) {
  size_t i = 0;
  bool firstWord = true;
  while (i < line.size()) {
    while (i < line.size() && isWordSeparator(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !isWordSeparator(line[i])) ++i;
    if (i == start) break;
    if (!firstWord && startsTail(std::string_view(line).substr(start, i - start))) {
      tail = line.substr(start);
      line.erase(start);
      return true;
    }
    firstWord = false;
  }
  return false;
}

// Every command line of the typed line gets the tail, after one blank.
TextRunner withTail(const TextRunner& runner, const std::string& tail) {
  if (tail.empty()) return runner;
  return [runner, tail](const std::string& text) { runner(text + " " + tail); };
}

// A NUL can come with a logic, a fragment or a LIST item (typed lines are
// refused before they get here). The command processor and every C
// interface on the way to it would end the line there and run a command
// nobody wrote, so such a text runs nothing.
TextRunner refusingNul(const TextRunner& runner) {
  return [runner](const std::string& text) {
    if (text.find('\0') == std::string::npos) return runner(text);
    printMessage("+ The command text holds a NUL character and is not run.");
    noteFailedRun();
  };
}

}  // namespace

void dispatchCommand(std::string line) {
  std::vector<std::string> words = splitWords(line);
  if (words.empty()) return;

  // Only after one of our commands: any other line reaches the command
  // processor whole, pipes and all.
  std::string tail;
  CommandLocation first;
  if (findCommand(words.front(), first) && cutTail(line, tail)) words = splitWords(line);

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

  if (!findCommand(words.front(), first)) {
    // Not one of ours: the command processor gets the line exactly as typed.
    std::cout << '\n';
    runInCommandProcessor(line);
    return;
  }
  // Only the first word chooses the launcher, whatever the later words are.
  const TextRunner runner = refusingNul(
      withTail(isTsharkList(first.listId) ? launchers().tshark : launchers().windows, tail));
  const auto run = [&] {
    if (hasSingleListMarker(text))
      runForEachListItem(text, runner);
    else
      runner(text);
  };
  // Only TShark runs go side by side: they read captures and change
  // nothing, where a WIN command may depend on the one before it. A tail
  // is shared by every run of the line: a file must receive them in order
  // and a pager needs the terminal, so such a line runs one after another.
  // With hosts (-S), the same runs go to them instead.
  if (runsGoToHosts() && isTsharkList(first.listId) && tail.empty())
    runOnHosts(run);
  else if (parallelRuns > 1 && isTsharkList(first.listId) && tail.empty())
    runSideBySide(run, parallelRuns);
  else
    run();
}

}  // namespace zav
