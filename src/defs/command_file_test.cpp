#include "defs/command_file.h"

#include <gtest/gtest.h>

#include "defs/command_store.h"
#include "defs/defs_test_support.h"

namespace zav {
namespace {

using testing_support::captureOutput;
using testing_support::freshStores;
using testing_support::kControlHeader;
using testing_support::message;

TEST(Loader, MainPathRule) {
  EXPECT_EQ(commandFilePath("LOCAL"), "CMD.zav");
  EXPECT_EQ(commandFilePath("D:\\defs\\"), "D:\\defs\\CMD.zav");
  EXPECT_EQ(commandFilePath("D:\\defs"), "D:\\defsCMD.zav");
  EXPECT_EQ(commandFilePath("/srv/defs/"), "/srv/defs/CMD.zav");
  EXPECT_EQ(commandFilePath("NO_MATCH"), "NO_MATCHCMD.zav");
  EXPECT_EQ(commandFilePath("local"), "localCMD.zav");
}

TEST(Loader, CheckFileText) {
  struct Case {
    std::string text, output;
  } cases[] = {
      {"", message("+ ZAV CMD file f.zav is empty.") +
               message("+ ZAV CMD file f.zav is not conformant.")},
      {"ZAV() {}", message("+ ZAV CMD file f.zav is not conformant.")},
      {"<zav control commands>", message("+ ZAV CMD file f.zav is not conformant.")},
      {"text <ZAV CONTROL COMMANDS> anywhere", ""},
      {"FILE_NOT_FOUND", message("+ ZAV CMD file f.zav is not conformant.")},
  };
  for (const Case& c : cases)
    EXPECT_EQ(captureOutput([&] { checkFileText("f.zav", c.text); }), c.output) << c.text;
}

TEST(Loader, IncludeLineForms) {
  struct Case {
    std::string text;
    std::vector<std::string> names;
  } cases[] = {
      {"#include <x.zav>", {"x.zav"}},
      {"#include<x.zav>", {"x.zav"}},
      {"  \t#include \t <x.zav>\n#include <y.zav>\n", {"x.zav", "y.zav"}},
      {"#include <dir/my file.zav>", {"dir/my file.zav"}},  // taken as written
      {"#include < x.zav>", {" x.zav"}},
      {"#include\n<x.zav>", {"x.zav"}},
      {"#include <x.zav> ", {}},  // ">" must end its line
      {"#include <x.zav>;\n", {}},
      {"// #include <x.zav>", {}},
      {"#Include <x.zav>", {}},
      {"#include <>", {}},
      {"#include <a>b>", {}},
      {"#include <x.zav>\r\n", {}},  // a lone CR is not a line end
  };
  for (const Case& c : cases) {
    freshStores();
    EXPECT_EQ(captureOutput([&] { scanIncludes("CMD.zav", kControlHeader + c.text); }), "")
        << c.text;
    EXPECT_EQ(includeList(), c.names) << c.text;
  }
}

TEST(Loader, SelfIncludeAndDuplicates) {
  freshStores();
  std::string output = captureOutput([] {
    scanIncludes("CMD.zav", kControlHeader +
                                "#include <a.zav>\n#include <CMD.zav>\n"
                                "#include <cmd.zav>\n#include <a.zav>");
    scanIncludes("b.zav", kControlHeader + "#include <a.zav>\n#include <CMD.zav>");
  });
  EXPECT_EQ(output,
            message("+ \"CMD.zav\" is self-included.") +
                message("+ Include file with the name \"a.zav\" in \"CMD.zav\" is a duplicate. "
                        "Please remove duplicate.") +
                message("+ Include file with the name \"a.zav\" in \"b.zav\" is a duplicate. "
                        "Please remove duplicate.") +
                message("+ \"CMD.zav\" is self-included."));
  EXPECT_EQ(includeList(), (std::vector<std::string>{"a.zav", "cmd.zav"}));
}

}  // namespace
}  // namespace zav
