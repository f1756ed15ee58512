#include "defs/calls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "defs/command_store.h"
#include "defs/defs_test_support.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {
namespace {

using testing_support::captureOutput;
using testing_support::freshStores;

struct Command {
  const char* listId;
  std::string name, logic;
};

void store(const std::vector<Command>& commands) {
  freshStores();
  for (const Command& command : commands) {
    CommandRecord record;
    record.name = command.name;
    record.logic = command.logic;
    appendCommand(command.listId, record);
  }
}

std::string logicOf(const std::string& name) {
  CommandLocation location;
  return findCommand(name, location) ? recordAt(location).logic : "<none>";
}

std::string invalidCall(const std::string& ref, const std::string& cmd) {
  return "\n+ Referenced ZAV/WIN CMD \"" + ref + "\" inside the function CALL of \"" + cmd +
         "\" is not valid.\n  Please rectify offending command and try again.\n";
}

std::string selfCall(const std::string& ref, const std::string& cmd) {
  return "\n+ Referenced ZAV/WIN CMD \"" + ref + "\" inside the function CALL of \"" + cmd +
         "\" is calling itself.\n  Self-referencing is not allowed. Please rectify offending "
         "command and try again.\n";
}

std::string callCycle(const std::string& ref, const std::string& cmd) {
  return "\n+ Referenced ZAV/WIN CMD \"" + ref + "\" inside the function CALL of \"" + cmd +
         "\" leads into a call cycle.\n  Cyclic calls are not allowed. Please rectify offending "
         "command and try again.\n";
}

const char* Z = kZavExtList;
const char* W = kWinExtList;

// Each case: the commands, what resolveCalls prints, and the logic of named
// commands afterwards.
TEST(Calls, ResolveCalls) {
  struct Case {
    const char* title;
    std::vector<Command> commands;
    std::string output;
    std::vector<std::pair<std::string, std::string>> after;
  } cases[] = {
      {"simple", {{Z, "A", "x [CALL(B)] y"}, {Z, "B", "-b"}}, "", {{"A", "x -b y"}, {"B", "-b"}}},
      {"twice", {{Z, "A", "[CALL(B)] [CALL(B)]"}, {Z, "B", "b"}}, "", {{"A", "b b"}}},
      {"ZAV calls WIN", {{Z, "z", "[CALL(w)]"}, {W, "w", "dir"}}, "", {{"z", "dir"}}},
      {"WIN calls ZAV", {{W, "w", "cmd [CALL(z)]"}, {Z, "z", "-q"}}, "", {{"w", "cmd -q"}}},
      {"shared name calls the ZAV command",
       {{W, "w", "[CALL(run)]"}, {Z, "run", "zav"}, {W, "run", "win"}},
       "",
       {{"w", "zav"}}},
      {"not a marker",
       {{Z, "A", "[CALL( B)] [CALL(B"}, {Z, "B", "b"}},
       "",
       {{"A", "[CALL( B)] [CALL(B"}}},
      {"invalid reference blocks every replacement",
       {{Z, "A", "[CALL(B)]"}, {Z, "B", "b"}, {W, "w", "[CALL(missing)]"}},
       invalidCall("missing", "w"),
       {{"A", "[CALL(B)]"}, {"w", "[CALL(missing)]"}}},
      {"only the first problem is reported",
       {{Z, "A", "[CALL(A)]"}, {W, "w", "[CALL(missing)]"}},
       selfCall("A", "A"),
       {{"A", "[CALL(A)]"}}},
      {"self-reference after a valid call",
       {{Z, "A", "[CALL(B)] [CALL(A)]"}, {Z, "B", "b"}},
       selfCall("A", "A"),
       {{"A", "[CALL(B)] [CALL(A)]"}}},
      {"cycle through the command being expanded",
       {{Z, "A", "[CALL(B)]"}, {Z, "B", "[CALL(A)]"}, {W, "w", "[CALL(C)]"}, {W, "C", "c"}},
       selfCall("A", "A"),
       {{"A", "[CALL(A)]"}, {"B", "[CALL(A)]"}, {"w", "c"}}},
      {"cycle that does not pass through the command",
       {{Z, "A", "a [CALL(B)]"},
        {Z, "B", "b [CALL(C)]"},
        {Z, "C", "c [CALL(B)]"},
        {Z, "D", "[CALL(E)]"},
        {Z, "E", "e"},
        {W, "w", "[CALL(E)]"}},
       callCycle("B", "A"),
       {{"A", "a b c [CALL(B)]"}, {"B", "b [CALL(C)]"}, {"D", "[CALL(E)]"}, {"w", "e"}}},
      {"called logic that re-creates its marker",
       {{Z, "A", "[CALL(B)] tail"}, {Z, "B", "again $&"}},
       callCycle("B", "A"),
       {{"A", "again [CALL(B)] tail"}, {"B", "again $&"}}},
      {"called logic that copies the rest of the caller",
       {{Z, "A", "[CALL(B)]<[CALL(B)]>"}, {Z, "B", "$'"}},
       callCycle("B", "A"),
       {{"A", "<[CALL(B)]><[CALL(B)]>"}}},
      {"replacement formats",
       {{Z, "A", "a[CALL(B)]z"}, {Z, "B", "$$ $` $1"}},
       "",
       {{"A", "a$ a z"}}},
      {"pasting keeps completing a marker without end",
       {{W, "a", "[CALL(x[CALL(c)]"}, {Z, "b", "[CALL("}, {W, "c", "[CALL(b)]c)]"}},
       "\n+ The function CALLs of \"a\" grow beyond the size limit.\n  Its CALL statements "
       "are left in place. Please rectify offending command and try again.\n",
       {{"a", "[CALL(x[CALL(c)]"}, {"c", "[CALL(b)]c)]"}}},
      {"pasting completes a marker",
       {{Z, "A", "[CALL(B)]C)] end"}, {Z, "B", "[CALL("}, {Z, "C", "c"}},
       "",
       {{"A", "c end"}}},
  };
  for (const Case& c : cases) {
    store(c.commands);
    EXPECT_EQ(captureOutput(resolveCalls), c.output) << c.title;
    for (const auto& [name, logic] : c.after) EXPECT_EQ(logicOf(name), logic) << c.title;
  }
}

TEST(Calls, NestingToDepthThreeInEveryListOrder) {
  std::vector<Command> commands = {
      {Z, "A", "a [CALL(B)]"}, {Z, "B", "b [CALL(C)]"}, {Z, "C", "c [CALL(D)]"}, {Z, "D", "d"}};
  std::sort(commands.begin(), commands.end(),
            [](const Command& x, const Command& y) { return x.name < y.name; });
  do {
    store(commands);
    EXPECT_EQ(captureOutput(resolveCalls), "");
    EXPECT_EQ(logicOf("A"), "a b c d");
    EXPECT_EQ(logicOf("B"), "b c d");
    EXPECT_EQ(logicOf("C"), "c d");
  } while (
      std::next_permutation(commands.begin(), commands.end(),
                            [](const Command& x, const Command& y) { return x.name < y.name; }));
}

TEST(Calls, ArgumentCountIsNotRaisedByACall) {
  store({{Z, "A", "[%_ARG_%] [CALL(B)]"}, {Z, "B", "[%_ARG_%]"}});
  mutableCommandList(Z)[0].argCount = 1;
  captureOutput(resolveCalls);
  EXPECT_EQ(logicOf("A"), "[%_ARG_%] [%_ARG_%]");
  EXPECT_EQ(commandList(Z)[0].argCount, 1u);
}

TEST(Calls, ValidateCallsCountsMarkers) {
  store({{Z, "A", "[CALL(B)][CALL(B)]"}, {Z, "B", "b"}, {Z, "C", "[CALL(B)]"}});
  std::uint32_t counter = 5;
  EXPECT_TRUE(validateCalls(Z, counter));
  EXPECT_EQ(counter, 8u);
  EXPECT_TRUE(validateCalls(kZavIntList, counter));
  EXPECT_EQ(counter, 8u);
}

// Each command doubles the one it calls: thirty of them would make a
// gigabyte. The expansion stops at its size limit instead.
TEST(Calls, GrowthIsBounded) {
  std::vector<Command> commands;
  for (int i = 0; i < 30; ++i)
    commands.push_back(
        {Z, "A" + std::to_string(i),
         "[CALL(A" + std::to_string(i + 1) + ")][CALL(A" + std::to_string(i + 1) + ")]"});
  commands.push_back({Z, "A30", std::string(64, 'x')});
  store(commands);
  std::string output = captureOutput(resolveCalls);
  EXPECT_EQ(output,
            "\n+ The function CALLs of \"A0\" grow beyond the size limit.\n  Its CALL statements "
            "are left in place. Please rectify offending command and try again.\n");
  EXPECT_EQ(logicOf("A0"), "[CALL(A1)][CALL(A1)]");
  EXPECT_EQ(logicOf("A1"), "[CALL(A2)][CALL(A2)]");
}

// What the definition says, done literally for one list: replace the
// leftmost marker, search again from the start; a self-reference ends the
// list. Gives false when a record has not ended after `rounds` replacements.
bool literalExpandCalls(const char* listId, int rounds, std::string& output) {
  static const Regex named(patterns::callMarkerNamed);
  static const Regex plain(patterns::callMarker);
  for (CommandRecord& record : mutableCommandList(listId)) {
    int left = rounds;
    RegexMatch match;
    while (named.search(record.logic, match) == SearchStatus::found) {
      if (--left < 0 || record.logic.size() > 100000) return false;
      std::string ref = match.group(record.logic, 1);
      CommandLocation location;
      if (!findCommand(ref, location)) return false;
      if (ref == record.name) {
        output += selfCall(ref, record.name);
        return true;
      }
      std::string called = recordAt(location).logic;
      replaceFirst(record.logic, plain, called);
    }
  }
  return true;
}

TEST(Calls, ExpansionMatchesTheLiteralLoopOnRandomCommands) {
  const std::vector<std::string> pieces = {"[CALL(a)]", "[CALL(b)]", "[CALL(c)]", "[CALL(",
                                           "a)]",       "c)]",       "x",         " ",
                                           "$$",        "$&",        "$`",        "$'"};
  const char* names[] = {"a", "b", "c"};
  std::mt19937 random(7);
  int compared = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<Command> commands;
    for (const char* name : names) {
      std::string logic;
      int count = static_cast<int>(random() % 4);
      for (int i = 0; i < count; ++i) logic += pieces[random() % pieces.size()];
      commands.push_back({random() % 2 ? Z : W, name, logic});
    }
    store(commands);
    std::uint32_t counter = 0;
    bool valid = true;
    captureOutput([&] {
      for (const char* listId : kCommandListIds) valid = valid && validateCalls(listId, counter);
    });
    if (!valid || counter == 0) continue;
    std::string output = captureOutput([] {
      for (const char* listId : kCommandListIds) expandCalls(listId);
    });
    std::vector<std::string> engine;
    for (const char* name : names) engine.push_back(logicOf(name));

    store(commands);
    std::string literalOutput;
    bool ended = true;
    for (const char* listId : kCommandListIds)
      ended = ended && literalExpandCalls(listId, 100, literalOutput);
    if (output.find("call cycle") != std::string::npos ||
        output.find("size limit") != std::string::npos ||
        output.find("not valid") != std::string::npos)
      continue;  // the literal loop would not end there
    ASSERT_TRUE(ended) << commands[0].logic << " | " << commands[1].logic << " | "
                       << commands[2].logic;
    EXPECT_EQ(output, literalOutput);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(engine[i], logicOf(names[i])) << names[i];
    ++compared;
  }
  EXPECT_GT(compared, 500);
}

}  // namespace
}  // namespace zav
