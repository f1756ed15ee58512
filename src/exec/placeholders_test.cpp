// LIST files and per-item runs, on real files in a scratch directory.
#include "exec/placeholders.h"

#include <gtest/gtest.h>

#include "core/output_capture_test_support.h"
#include "exec/exec_test_support.h"

namespace zav {
namespace {

using testing_support::CapturedStreams;
using testing_support::ScratchDirectory;

std::string describe(const std::vector<ListItem>& items) {
  std::string out;
  for (const ListItem& item : items)
    out += "{" + item.value + (item.hasPrint ? "|print:" + item.printText : "") + "}";
  return out;
}

TEST(ListFile, UsableLinesAndTheirParts) {
  struct Case {
    const char* contents;
    const char* items;
  } cases[] = {
      {"tcp\nudp\n", "{tcp}{udp}"},
      {"   [%_PRINT<Transport>_%]tcp", "{tcp|print:Transport}"},
      {"[%_PRINT<Transport>_%] tcp", "{ tcp|print:Transport}"},  // the blank belongs to the value
      {"[%_PRINT<x>_%]", "{[%_PRINT<x>_%]}"},  // nothing after the heading: the line is the value
      {"[%_PRINT<50%>_%]x", "{[%_PRINT<50%>_%]x}"},  // "%" ends a heading
      {"   \n", "{ }"},                              // blanks only: the last blank is the value
      {"\t\tv  \n", "{v  }"},
      {"a\r\nb\r\n", "{a}{b}"},  // CR LF read as a line end
      {"a\rb\n", "{a}"},         // a lone CR ends the value
      {"\r\nx\n", "{x}"},
      {"\n\n\nlast", "{last}"},
      {"", ""},
      {"\n\n", ""},
  };
  ScratchDirectory directory;
  for (const Case& c : cases) {
    const std::string path = directory.write("list.txt", c.contents);
    std::vector<ListItem> items;
    CapturedStreams output;
    readListFile(path, items);
    EXPECT_EQ(describe(items), c.items) << c.contents;
    EXPECT_EQ(output.out(), "") << c.contents;
  }
}

TEST(ListFile, MissingFileOrDirectoryIsReported) {
  ScratchDirectory directory;
  const std::string names[] = {(directory.path() / "nope.txt").string(), directory.path().string()};
  for (const std::string& name : names) {
    std::vector<ListItem> items;
    CapturedStreams output;
    readListFile(name, items);
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(output.out(), "\n+ File \"" + name + "\" could not be opened.\n");
  }
}

// Runs the text per item with a runner that writes what it got, so the
// headings' places among the runs show in the output.
std::string runEachItem(const std::string& text) {
  CapturedStreams output;
  runForEachListItem(text,
                     [](const std::string& expanded) { std::cout << "<" << expanded << ">"; });
  return output.out();
}

TEST(ListFile, EachItemRunsAfterItsHeading) {
  ScratchDirectory directory;
  const std::string list =
      directory.write("protos.txt", "[%_PRINT<Transport>_%]tcp\nudp\n  [%_PRINT<Last>_%]icmp\n");
  EXPECT_EQ(runEachItem(" -Y [%_LIST<" + list + ">_%] -c 1"),
            "\nTransport\n< -Y tcp -c 1>< -Y udp -c 1>\nLast\n< -Y icmp -c 1>");
}

TEST(ListFile, ValuesAreReplacementFormats) {
  ScratchDirectory directory;
  const std::string list = directory.write("values.txt", "a$$b\n[$&]\nx$1y\n");
  EXPECT_EQ(runEachItem("v=[%_LIST<" + list + ">_%]"),
            "<v=a$b><v=[[%_LIST<" + list + ">_%]]><v=xy>");
}

TEST(ListFile, NothingRunsWithoutItems) {
  ScratchDirectory directory;
  const std::string empty = directory.write("empty.txt", "");
  EXPECT_EQ(runEachItem("[%_LIST<" + empty + ">_%]"), "");
  const std::string missing = (directory.path() / "missing.txt").string();
  EXPECT_EQ(runEachItem("[%_LIST<" + missing + ">_%]"),
            "\n+ File \"" + missing + "\" could not be opened.\n");
}

}  // namespace
}  // namespace zav
