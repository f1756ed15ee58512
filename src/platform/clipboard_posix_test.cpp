#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

#include "platform/console.h"

namespace zav {
namespace platform {
namespace {

std::string capture(void (*action)()) {
  std::ostringstream captured;
  std::streambuf* saved = std::cout.rdbuf(captured.rdbuf());
  action();
  std::cout.rdbuf(saved);
  return captured.str();
}

TEST(Clipboard, NothingToCopyComesFirst) {
  EXPECT_EQ(capture([] { copyToClipboard(""); }),
            "\n+ There is nothing to copy to the Clipboard\n");
}

TEST(Clipboard, WithoutATerminalThereIsNoClipboard) {
  if (standardOutputIsTerminal()) GTEST_SKIP() << "standard output is a terminal";
  EXPECT_EQ(capture([] { copyToClipboard("-Y dns"); }), "\n+ Cannot open the clipboard\n");
  EXPECT_EQ(capture([] { clearClipboard(); }), "\n+ Cannot open the clipboard\n");
}

}  // namespace
}  // namespace platform
}  // namespace zav
