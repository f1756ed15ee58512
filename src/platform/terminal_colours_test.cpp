#include "platform/terminal_colours.h"

#include <gtest/gtest.h>

namespace zav {
namespace platform {
namespace {

struct ColourCase {
  TextAttribute attribute;
  const char* sequence;
};

// The colours the shell uses, a dark one, and background bits that must not
// leak into the foreground.
const ColourCase kCases[] = {
    {15, "\033[39;49m"}, {10, "\033[92m"},      {11, "\033[96m"},
    {13, "\033[95m"},    {1, "\033[34m"},       {4, "\033[31m"},
    {7, "\033[37m"},     {0x1f, "\033[39;49m"}, {0x4a, "\033[92m"},
};

TEST(TerminalColours, ConsoleAttributesBecomeSgrSequences) {
  for (const ColourCase& c : kCases)
    EXPECT_EQ(colourSequence(c.attribute), c.sequence) << "attribute " << c.attribute;
}

}  // namespace
}  // namespace platform
}  // namespace zav
