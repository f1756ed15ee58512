// Without a terminal there is no clipboard; an empty text is refused first.
#include "platform/clipboard.h"

#include <gtest/gtest.h>

#include "core/output_capture_test_support.h"
#include "platform/console.h"

namespace zav {
namespace {

TEST(Clipboard, MessagesWithoutATerminal) {
  EXPECT_EQ(testing_support::captureOutput([] { platform::copyToClipboard(""); }),
            "\n+ There is nothing to copy to the Clipboard\n");
  if (platform::standardOutputIsTerminal()) GTEST_SKIP() << "standard output is a terminal";
  EXPECT_EQ(testing_support::captureOutput(platform::clearClipboard),
            "\n+ Cannot open the clipboard\n");
}

}  // namespace
}  // namespace zav
