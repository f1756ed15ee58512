#include "core/console_output.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/output_capture_test_support.h"
#include "core/shell_state.h"

namespace zav {
namespace {

using testing_support::captureOutput;

TEST(ConsoleOutput, FieldsAndMessagesHaveTheirShape) {
  EXPECT_EQ(captureOutput([] { printField(kFieldColour, "dns", ""); }), "\n  dns: \n");
  EXPECT_EQ(captureOutput([] { printMessage("+ a", "  b"); }), "\n+ a\n  b\n");
  platform::setTextAttribute(kNormalColour);
  captureOutput([] { printColoured(kHeadingColour, "x"); });
  EXPECT_EQ(platform::currentTextAttribute(), kNormalColour);
}

TEST(ConsoleOutput, BannerShape) {
  for (const char* row : kBannerArt) EXPECT_EQ(std::strlen(row), 32u) << row;
  std::string banner = captureOutput(showBanner);
  EXPECT_EQ(banner.substr(0, 3), "\n  ");
  EXPECT_NE(banner.find("  Vor        rin      dal\n"), std::string::npos);
}

TEST(ShellState, ConsoleTitle) {
  EXPECT_EQ(consoleTitle, "ZAV (Vorrindal) v1.1 (64-bit)  Release Date: [November 05, 2017]");
  EXPECT_EQ(builtinNames.size(), 23u);
  EXPECT_EQ(builtinNames.back(), "exit");
}

}  // namespace
}  // namespace zav
