// INSERT and CALL expansion against the documented rule done literally, on
// random texts of the markers' pieces: a fragment "a" and commands "b" and
// "c" in random lists. Where a load's expansion (INSERT markers, then the
// calls) reports nothing, the literal loop ends with the same logic. The
// stops and their messages are rows of builtins/command_file_loader_test.cpp.
#include "defs/insert_and_call_expansion.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "core/output_capture_test_support.h"
#include "defs/auxiliary_logic.h"
#include "defs/calls.h"
#include "defs/command_store.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {
namespace {

// Replace the leftmost marker by the text it names (as a replacement
// format) and search again from the start. False when a name is unknown or
// the loop has not ended after 200 rounds or grown past any sensible size.
bool literalLoop(std::string& text, bool calls,
                 const std::function<const std::string*(const std::string&)>& lookup) {
  static const Regex inserts(patterns::insertMarkerNamed), insert(patterns::insertMarker),
      callsNamed(patterns::callMarkerNamed), call(patterns::callMarker);
  RegexMatch match;
  for (int round = 0; round < 200 && text.size() < 100000; ++round) {
    if ((calls ? callsNamed : inserts).search(text, match) != SearchStatus::found) return true;
    const std::string* with = lookup(match.group(text, 1));
    if (with == nullptr) return false;
    replaceFirst(text, calls ? call : insert, *with);
  }
  return false;
}

TEST(InsertAndCallExpansion, AsTheLiteralLoop) {
  const std::vector<std::string> pieces = {
      "[INSERT(a)]", "[INSERT(", "a)]", "[CALL(b)]", "[CALL(c)]", "[CALL(", "b)]", "c)]",
      ")]",          "x",        " ",   "$$",        "$&",        "$`",     "$'",  "$1"};
  std::mt19937 random(7);
  int compared = 0;
  for (int round = 0; round < 5000; ++round) {
    std::string texts[3];  // fragment a, commands b and c
    for (std::string& text : texts)
      for (int n = random() % 4; n > 0; --n) text += pieces[random() % pieces.size()];
    const char* lists[] = {random() % 2 ? kZavExtList : kWinExtList,
                           random() % 2 ? kZavExtList : kWinExtList};
    if (Regex(patterns::insertMarker).contains(texts[0])) continue;  // fragments never hold one
    auto load = [&] {
      clearCommandStore();
      resetExpansionBudget();
      addAuxiliaryLogic("a", texts[0]);
      for (int i : {1, 2}) {
        CommandRecord record;
        record.name = i == 1 ? "b" : "c";
        record.logic = texts[i];
        appendCommand(lists[i - 1], record);
      }
    };
    auto logic = [] {
      std::string all;
      for (const char* listId : kCommandListIds)
        for (const CommandRecord& record : commandList(listId)) all += record.logic + "|";
      return all;
    };
    load();
    const std::string before = logic();
    const std::string output = testing_support::captureOutput([] {
      for (const char* listId : kCommandListIds)
        for (CommandRecord& record : mutableCommandList(listId))
          expandInserts(record.name, record.logic);
      resolveCalls();
    });
    const std::string expanded = logic();
    load();
    bool ended = true;
    for (bool calls : {false, true})
      for (const char* listId : kCommandListIds)
        for (CommandRecord& record : mutableCommandList(listId))
          ended = ended && literalLoop(record.logic, calls, [&](const std::string& name) {
                    CommandLocation location;
                    return !calls ? findAuxiliaryLogic(name)
                           : name != record.name && findCommand(name, location)
                               ? &recordAt(location).logic
                               : nullptr;
                  });
    if (!output.empty()) continue;
    ASSERT_TRUE(ended) << "a = " << texts[0] << ", b = " << texts[1] << ", c = " << texts[2];
    ASSERT_EQ(expanded, logic()) << "a = " << texts[0] << ", b = " << texts[1];
    compared += expanded != before;
  }
  EXPECT_GT(compared, 500);
}

}  // namespace
}  // namespace zav
