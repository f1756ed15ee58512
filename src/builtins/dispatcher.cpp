#include "builtins/dispatcher.h"

#include <cstddef>
#include <vector>

#include "builtins/about_help.h"
#include "builtins/capture_commands.h"
#include "builtins/definition_views.h"
#include "builtins/history.h"
#include "builtins/logic_update.h"
#include "builtins/mcu_execution.h"
#include "ic/implicit_constructors.h"
#include "text/words.h"

namespace zav {

namespace {

using Words = std::vector<std::string>;

constexpr size_t kAnyCount = static_cast<size_t>(-1);

// One built-in: its word, the word counts it accepts (the command word
// included) and what it runs. A known word with another count is no
// built-in, so the line reaches the command dispatcher.
struct BuiltinRow {
  const char* name;
  size_t minWords;
  size_t maxWords;
  void (*run)(const Words& words);
};

const BuiltinRow kBuiltins[] = {
    {"setpcap", 2, 2, [](const Words& w) { setCapture(w[1]); }},
    {"getpcap", 1, 1, [](const Words&) { showCapture(); }},
    {"setpcappath", 2, 2, [](const Words& w) { setCaptureDirectory(w[1]); }},
    {"getpcappath", 1, 1, [](const Words&) { showCaptureDirectory(); }},
    {"loadcmdfile", 1, 1, [](const Words&) { reloadCommandFile(); }},
    {"getallcmds", 1, 1, [](const Words&) { listAllCommands(); }},
    {"getinclist", 1, 1, [](const Words&) { listIncludeFiles(); }},
    {"about", 1, 1, [](const Words&) { showAbout(); }},
    {"version", 1, 1, [](const Words&) { showAbout(); }},
    {"info", 2, 2, [](const Words& w) { showInfo(w[1]); }},
    {"logic", 2, 2, [](const Words& w) { showLogic(w[1]); }},
    {"auxl", 1, kAnyCount, [](const Words& w) { showAuxiliaryLogic(w); }},
    {"ulogic", 2, 2, [](const Words& w) { updateLogic(w[1]); }},
    {"tag", 2, 2, [](const Words& w) { showTags(w[1]); }},
    {"gcwt", 2, kAnyCount, [](const Words& w) { listCommandsWithTags(w); }},
    {"gic", 2, 2, [](const Words& w) { showImplicitConstructor(w[1]); }},
    {"history", 1, 1, [](const Words&) { showHistory(); }},
    {"chistory", 1, 1, [](const Words&) { clearHistory(); }},
    {"exh", 2, kAnyCount, [](const Words& w) { rerunHistory(w); }},
    {"getmculist", 1, 1, [](const Words&) { listMcus(); }},
    {"exmcu", 2, 2, [](const Words& w) { runMcu(w[1]); }},
    {"helper", 1, 1, [](const Words&) { showHelp(); }},
};

}  // namespace

bool dispatchBuiltin(std::string line) {
  const Words words = splitWords(line);
  if (words.empty()) return false;
  for (const BuiltinRow& row : kBuiltins) {
    if (words[0] != row.name) continue;
    if (words.size() < row.minWords || words.size() > row.maxWords) continue;
    row.run(words);
    return true;
  }
  return false;
}

}  // namespace zav
