#include "defs/calls.h"

#include <string_view>
#include <unordered_map>
#include <utility>

#include "core/console_output.h"
#include "defs/command_store.h"
#include "defs/insert_and_call_expansion.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {

namespace {

// "[CALL(" + 64 name characters + ")]".
constexpr size_t kLongestCallMarker = 72;
constexpr const char* kCallLiteral = "[CALL(";

const Regex& callMarkerNamed() {
  static const Regex marker(patterns::callMarkerNamed);
  return marker;
}

// Copies of the logic of called commands, by name: the expansion pastes
// from a string that stays in place while it runs, and the commands
// themselves may still be packed. A rewritten command's copy is dropped.
std::unordered_map<std::string, std::string> calleeLogic;

const std::string* calledLogic(const std::string& name) {
  auto known = calleeLogic.find(name);
  if (known != calleeLogic.end()) return &known->second;
  CommandLocation location;
  if (!findCommand(name, location)) return nullptr;
  const std::string_view logic = commandLogicAt(location.listId, location.index);
  return &calleeLogic.emplace(name, std::string(logic)).first->second;
}

void rewriteLogic(const std::string& listId, size_t index, std::string logic) {
  // Dropped by name: if the copy held another command of that name (one in
  // a list searched first), it is only made again.
  calleeLogic.erase(std::string(commandNameAt(listId, index)));
  setCommandLogicAt(listId, index, std::move(logic));
}

void reportInvalidCall(const std::string& ref, const std::string& cmd) {
  printMessage("+ Referenced ZAV/WIN CMD \"" + ref + "\" inside the function CALL of \"" + cmd +
                   "\" is not valid.",
               "  Please rectify offending command and try again.");
}

void reportSelfCall(const std::string& ref, const std::string& cmd) {
  printMessage("+ Referenced ZAV/WIN CMD \"" + ref + "\" inside the function CALL of \"" + cmd +
                   "\" is calling itself.",
               "  Self-referencing is not allowed. Please rectify offending command and try "
               "again.");
}

void reportCallCycle(const std::string& ref, const std::string& cmd) {
  printMessage("+ Referenced ZAV/WIN CMD \"" + ref + "\" inside the function CALL of \"" + cmd +
                   "\" leads into a call cycle.",
               "  Cyclic calls are not allowed. Please rectify offending command and try again.");
}

void reportOversizedCalls(const std::string& cmd) {
  printMessage("+ The function CALLs of \"" + cmd + "\" grow beyond the size limit.",
               "  Its CALL statements are left in place. Please rectify offending command and "
               "try again.");
}

// True when every CALL marker in the list's logic names another command;
// `counter` grows by the number of markers checked. Reports the first
// problem.
bool validateCalls(const std::string& listId, std::uint32_t& counter) {
  RegexMatch match;
  for (size_t index = 0, count = commandCount(listId); index < count; ++index) {
    // Every marker begins with the literal; the pattern starts where it
    // stands, and most logic holds none.
    const std::string_view logic = commandLogicAt(listId, index);
    for (size_t position = logic.find(kCallLiteral);
         position != std::string::npos &&
         callMarkerNamed().search(logic, match, position) == SearchStatus::found;
         position = logic.find(kCallLiteral, match.end())) {
      std::string ref = match.group(logic, 1);
      const std::string name(commandNameAt(listId, index));
      CommandLocation location;
      if (!findCommand(ref, location)) {
        reportInvalidCall(ref, name);
        return false;
      }
      if (ref == name) {
        reportSelfCall(ref, name);
        return false;
      }
      ++counter;
    }
  }
  return true;
}

// Replaces the CALL markers of the list's records, nested calls included.
// A call that comes back to a command being pasted (the record itself or a
// command inside its calls) is reported and ends the expansion of the list.
void expandCalls(const std::string& listId) {
  static const MarkerKind kind{callMarkerNamed(), kCallLiteral, kLongestCallMarker, calledLogic};
  std::string logic;
  for (size_t index = 0, count = commandCount(listId); index < count; ++index) {
    const std::string_view stored = commandLogicAt(listId, index);
    if (stored.find(kCallLiteral) == std::string::npos) continue;
    logic.assign(stored);
    const std::string name(commandNameAt(listId, index));
    ExpansionOutcome outcome = expandMarkers(logic, kind, name);
    switch (outcome.stop) {
      case ExpansionStop::none:
        // A copy of its own size; `logic` keeps its memory for the next one.
        if (logic != commandLogicAt(listId, index)) rewriteLogic(listId, index, logic);
        continue;
      case ExpansionStop::cycle:
        // The command keeps its logic as far as it was expanded, the rest
        // of the list its markers.
        if (outcome.name == name)
          reportSelfCall(outcome.name, name);
        else
          reportCallCycle(outcome.name, name);
        rewriteLogic(listId, index, std::move(outcome.partial));
        return;
      case ExpansionStop::unknownName:  // a marker that pasting put together
        reportInvalidCall(outcome.name, name);
        rewriteLogic(listId, index, std::move(outcome.partial));
        return;
      case ExpansionStop::sizeLimit:
        reportOversizedCalls(name);
        return;
    }
  }
}

void expandEveryCall() {
  std::uint32_t counter = 0;
  for (const char* listId : kCommandListIds)
    if (!validateCalls(listId, counter)) return;
  if (counter == 0) return;
  for (const char* listId : kCommandListIds) expandCalls(listId);
}

}  // namespace

void resolveCalls() {
  expandEveryCall();
  std::unordered_map<std::string, std::string>().swap(calleeLogic);
  // The loader calls this once the file is gone: the records are made now,
  // each once and with its final logic.
  settleCommandLists();
}

}  // namespace zav
