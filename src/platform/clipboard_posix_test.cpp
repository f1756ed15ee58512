#include <gtest/gtest.h>

#include "core/output_capture_test_support.h"
#include "platform/clipboard.h"
#include "platform/console.h"

namespace zav {
namespace platform {
namespace {

using testing_support::captureOutput;

TEST(Clipboard, NothingToCopyComesFirst) {
  EXPECT_EQ(captureOutput([] { copyToClipboard(""); }),
            "\n+ There is nothing to copy to the Clipboard\n");
}

TEST(Clipboard, WithoutATerminalThereIsNoClipboard) {
  if (standardOutputIsTerminal()) GTEST_SKIP() << "standard output is a terminal";
  EXPECT_EQ(captureOutput([] { copyToClipboard("-Y dns"); }), "\n+ Cannot open the clipboard\n");
  EXPECT_EQ(captureOutput([] { clearClipboard(); }), "\n+ Cannot open the clipboard\n");
}

}  // namespace
}  // namespace platform
}  // namespace zav
