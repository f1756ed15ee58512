#include "builtins/about_help.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/output_capture_test_support.h"

namespace zav {
namespace {

TEST(About, DrawingIsSixRowsOf33PrintableCharacters) {
  for (const char* row : kAboutArt) {
    EXPECT_EQ(std::strlen(row), 33u) << row;
    for (const char* c = row; *c != '\0'; ++c) EXPECT_TRUE(*c >= ' ' && *c <= '~') << row;
  }
  EXPECT_EQ(aboutBannerText().size(), 6u * 36u + 1u);  // two blanks, row, line end; empty line
}

TEST(About, InformationTextEndsTheVersionLineWithABlank) {
  const std::string text = aboutInformationText();
  EXPECT_EQ(text.substr(0, 35), "\n\n  ZAV (Vorrindal) v1.1 (64-bit) \n");
  EXPECT_NE(text.find("\n  Release Date: [November 05, 2017]\n  Edition: Orvandel\n\n  "),
            std::string::npos);
}

TEST(About, TypeOutWritesTheTextUnchanged) {
  testing_support::CapturedStreams output;
  typeOut("a\nb c\n", 0);
  typeOut("", 40);
  typeOut("d", -3);
  EXPECT_EQ(output.out(), "a\nb c\nd");
}

}  // namespace
}  // namespace zav
