// The first bytes that make a FILE operand a capture rather than lines.
#include "shell/given_lines.h"

#include <gtest/gtest.h>

#include <string>

namespace zav {
namespace {

TEST(GivenLines, CaptureMagicNumbers) {
  const struct {
    std::string bytes;
    bool capture;
  } cases[] = {
      {"\xd4\xc3\xb2\xa1\x02\x00", true},  // pcap, little-endian, microseconds
      {"\xa1\xb2\xc3\xd4", true},          // pcap, big-endian
      {"\x4d\x3c\xb2\xa1", true},          // pcap, nanoseconds
      {"\xa1\xb2\x3c\x4d", true},
      {std::string("\x0a\x0d\x0d\x0a\x1c\x00", 6), true},  // pcapng
      {"\xd4\xc3\xb2", false},                             // cut short
      {"getpcap\ndns\n", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(startsLikeCapture(c.bytes), c.capture) << c.bytes;
}

}  // namespace
}  // namespace zav
