// Loading include graphs held in memory: the files read in their order (the
// main file once, every include once per pass), every message, the logic
// command "A" ends with and what `gic` then lists.
#include "builtins/command_file_loader.h"

#include <gtest/gtest.h>

#include <map>

#include "builtins/fresh_stores_test_support.h"
#include "config/configuration.h"
#include "core/output_capture_test_support.h"
#include "core/whole_file.h"
#include "defs/command_store.h"
#include "ic/implicit_constructors.h"
#include "text/words.h"

namespace zav {
namespace {

std::string message(const std::string& text) { return "\n+ " + text + "\n"; }
std::string block(const std::string& name, const std::string& logic, const char* kind = "ZAV") {
  return std::string(kind) + "() {\nNAME = " + name + "\nLOGIC = " + logic + "\nINFO = i\n}\n";
}

class CommandFileLoader : public testing_support::FreshStores {};

TEST_F(CommandFileLoader, ReadsMessagesLogicAndListings) {
  const std::string h = "<ZAV CONTROL COMMANDS>\n", mcu = "MCU(m){x};\n";
  const std::string ics = h + "L.x = X\nL.y = Y\n" + block("a", "-q") + block("b", "-q") +
                          block("dir_all", "dir", "WIN");
  std::string notConformant, empty;
  for (int parser = 0; parser < 5; ++parser) {
    notConformant += message("ZAV CMD file CMD.zav is not conformant.");
    empty += message("ZAV CMD file CMD.zav is empty.") +
             message("ZAV CMD file CMD.zav is not conformant.");
  }
  const std::string construct = "\n+ Referenced construct name ", n64(64, 'n');
  std::string doubling = h + block("A30", "x");  // thirty calls doubling the next: a gigabyte
  for (int i = 0; i < 30; ++i) {
    const std::string next = "[CALL(A" + std::to_string(i + 1) + ")]";
    doubling += block(i ? "A" + std::to_string(i) : "A", next + next);
  }
  struct {
    std::string name;
    std::map<std::string, std::string> files;
    std::string output, reads = "CMD.zav,", logicOfA = "", gicKeys = "", directory = "LOCAL";
  } rows[] = {
      // clang-format off
      {"a missing main file",
       {}, message("File \"NO_MATCHCMD.zav\" could not be opened.") + notConformant,
       "NO_MATCHCMD.zav,", "", "", "NO_MATCH"},
      {"an empty main file", {{"CMD.zav", ""}}, empty},
      // Include line forms, breadth first, each file read once per pass;
      // duplicates and the main file are reported.
      {"include line forms",
       {{"CMD.zav", h + "#include <a>\n#include<b>\n  \t#include \t <c d>\n#include < e>\n"
                        "#include\n<f>\n#include <g> \n#include <g>;\n// #include <g>\n"
                        "#Include <g>\n#include <>\n#include <g>h>\n#include <g>\r\n"},
        {"a", h + "#include <f>\n#include <CMD.zav>\n#include <cmd.zav>"}, {"b", h}, {"c d", h},
        {" e", h}, {"f", h}, {"cmd.zav", h}},
       message("Include file with the name \"f\" in \"a\" is a duplicate. Please remove "
               "duplicate.") +
           message("\"CMD.zav\" is self-included."),
       "CMD.zav,a,b,c d, e,f,cmd.zav,a,b,c d, e,f,cmd.zav,a,b,c d, e,f,cmd.zav,"},
      // Every definition may use any other, whatever file it stands in.
      {"definitions across files",
       {{"CMD.zav", h + mcu + "#include <i>\nSuffix.ZAV = {*} -> [L.f]\n" +
                        block("A", "[INSERT(f)] [CALL(b)][INSERT(" + n64 + ")]")},
        {"i", h + "L.f = F\nL.p = P \nL.r = again $&\nL." + n64 + " = $$G\nPrefix.ZAV = {A} -> [L.p]\n" +
                  block("b", "[INSERT(f)]2") + block("l", "[%_LIST<a>_%][%_LIST<b>_%]") +
                  block("k", "[%_LIST<a>_%]") + block("e", "x [INSERT(r)] y") +
                  block("w", "dir", "WIN") + block("w", "ls", "WIN")}},
       message("Only one LIST object is allowed") +
           "\n+ The auxiliary logic \"r\" inside the INSERT statement of \"e\" re-creates an "
           "INSERT statement of itself.\n  Its INSERT statements are left in place. Please "
           "rectify offending auxiliary logic and try again.\n" +
           message("The WIN CMD with the name \"w\" is a duplicate. Please remove duplicate "
                   "command."),
       "CMD.zav,i,i,i,", "P F F2$GF"},
      // After a self-call no call is replaced.
      {"a self-call", {{"CMD.zav", h + mcu + block("A", "[CALL(B)] [CALL(A)]") + block("B", "b")}},
       "\n+ Referenced ZAV/WIN CMD \"A\" inside the function CALL of \"A\" is calling itself.\n  "
       "Self-referencing is not allowed. Please rectify offending command and try again.\n",
       "CMD.zav,", "[CALL(B)] [CALL(A)]"},
      // A cycle that skips the command, and pasted logic bringing its
      // marker back, each end their list.
      {"call cycles", {{"CMD.zav", h + block("A", "a [CALL(B)]") + block("B", "b [CALL(C)]") +
                        block("C", "c [CALL(B)]") + block("w", "[CALL(D)] x", "WIN") +
                        block("D", "again $&")}},
       "\n+ Referenced ZAV/WIN CMD \"B\" inside the function CALL of \"A\" leads into a call "
       "cycle.\n  Cyclic calls are not allowed. Please rectify offending command and try again.\n"
       "\n+ Referenced ZAV/WIN CMD \"D\" inside the function CALL of \"w\" leads into a call "
       "cycle.\n  Cyclic calls are not allowed. Please rectify offending command and try again.\n",
       "CMD.zav,", "a b c [CALL(B)]"},
      {"calls growing past the limit", {{"CMD.zav", doubling}},
       "\n+ The function CALLs of \"A\" grow beyond the size limit.\n  Its CALL statements are "
       "left in place. Please rectify offending command and try again.\n",
       "CMD.zav,", "[CALL(A1)][CALL(A1)]"},
      // Messages in pass order: Specific Prefix ZAV, Prefix WIN, Exclusion Suffix ZAV.
      {"Implicit Constructor messages in pass order",
       {{"CMD.zav", ics + "Suffix.ZAV = {!b, !nope, !a, !b}\nPrefix.WIN = {dir_all} -> [L.nope]\n"
                          "Prefix.ZAV = {b, nope,\n a, a} -> [L.x]"}},
       construct + "\"nope\" in the Local ZAV Prefix Implicit Constructor is not valid.\n  Please "
           "rectify offending command and try again.\n" + construct +
           "\"a\" in the Local ZAV Prefix Implicit Constructor is already assigned an AL value.\n"
           "  Only the first instance is taken.\n"
           "\n+ Referenced auxiliary logic \"nope\" in the Local WIN Prefix Implicit Constructor "
           "is not valid.\n  Please rectify offending reference and try again.\n" + construct +
           "\"nope\" in the Local ZAV Suffix Implicit Constructor (exclude) is not valid.\n"
           "  Please rectify offending command and try again.\n" + construct +
           "\"b\" in the Local ZAV Suffix Implicit Constructor is already excluded.\n"
           "\n [ List of Specific ZAV Prefix Implicit Constructors ]\n\n  a: x\n\n  b: x\n"
           "\n [ List of ZAV Suffix Exclusion Implicit Constructors ]\n\n  b\n  a\n"
           "\n+ WIN Prefix Specific Implicit Constructor is empty\n",
       "CMD.zav,", "", "pre.zav.s suf.zav.e pre.win.s"},
      {"one global suffix WIN",
       {{"CMD.zav", ics + "Suffix.WIN = {*} -> [L.y]\nSuffix.WIN = {*} -> [L.x]"}},
       "\n+ Only one Global Suffix WIN Implicit Constructor is allowed. Only the first will be "
       "parsed.\n\n  Global WIN Suffix IC: y\n", "CMD.zav,", "", "suf.win.g"},
      {"an unknown gic key",
       {{"CMD.zav", h}}, "\n+ IC sub-command is not valid\n", "CMD.zav,", "", "pre.zav"}};
  // clang-format on
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    resetStores();
    config.ZAV_CMD_FILE_PATH = row.directory;
    std::string reads;
    EXPECT_EQ(testing_support::captureOutput([&] {
                loadCommandFile([&](const std::string& path) {
                  reads += path + ",";
                  if (row.files.count(path) != 0) return row.files.at(path);
                  printCouldNotOpen(path);
                  return std::string(kFileNotFound);
                });
                for (const std::string& key : splitWords(row.gicKeys)) showImplicitConstructor(key);
              }),
              row.output);
    EXPECT_EQ(reads, row.reads);
    CommandLocation a;
    EXPECT_EQ(findCommand("A", a) ? recordAt(a).logic : "", row.logicOfA);
  }
}

}  // namespace
}  // namespace zav
