// Both command-processor forms side by side: whatever a path holds, the
// capture path and the tool path must arrive as single, intact arguments.
#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace zav {
namespace platform {
namespace {

struct PathCase {
  const char* capturePath;
  const char* cmdExeLine;
  const char* posixLine;
};

const PathCase kCases[] = {
    {"D:\\caps\\a.pcap", "\"\"T\" -r \"D:\\caps\\a.pcap\"  -Y dns\"", "'T' -r 'D:\\caps\\a.pcap'  -Y dns"},
    {"my caps/a b.pcap", "\"\"T\" -r \"my caps/a b.pcap\"  -Y dns\"", "'T' -r 'my caps/a b.pcap'  -Y dns"},
    {"it's.pcap", "\"\"T\" -r \"it's.pcap\"  -Y dns\"", "'T' -r 'it'\\''s.pcap'  -Y dns"},
    {"x$(reboot).pcap", "\"\"T\" -r \"x$(reboot).pcap\"  -Y dns\"", "'T' -r 'x$(reboot).pcap'  -Y dns"},
    {"`id`$HOME;&.pcap", "\"\"T\" -r \"`id`$HOME;&.pcap\"  -Y dns\"", "'T' -r '`id`$HOME;&.pcap'  -Y dns"},
    {"100%^&.pcap", "\"\"T\" -r \"100%^&.pcap\"  -Y dns\"", "'T' -r '100%^&.pcap'  -Y dns"},
    {"q\"uote.pcap", "\"\"T\" -r \"q\"uote.pcap\"  -Y dns\"", "'T' -r 'q\"uote.pcap'  -Y dns"},
};

TEST(CommandLine, CapturePathsInBothForms) {
  for (const PathCase& c : kCases) {
    EXPECT_EQ(cmdExeTsharkCommandLine("T", c.capturePath, " -Y dns"), c.cmdExeLine) << c.capturePath;
    EXPECT_EQ(posixTsharkCommandLine("T", c.capturePath, " -Y dns"), c.posixLine) << c.capturePath;
  }
}

// The tool path gets the same protection as the capture path. Inside the
// quotes cmd.exe takes "&" and "^" literally; it would still expand a
// %NAME% of an existing variable, which no Windows path depends on.
struct ToolCase {
  const char* tsharkPath;
  const char* cmdExeLine;
  const char* posixLine;
};

const ToolCase kToolCases[] = {
    {"C:\\Program Files\\Wireshark\\tshark.exe",
     "\"\"C:\\Program Files\\Wireshark\\tshark.exe\" -r \"c\" x\"",
     "'C:\\Program Files\\Wireshark\\tshark.exe' -r 'c' x"},
    {"C:\\100%^&\\tshark.exe", "\"\"C:\\100%^&\\tshark.exe\" -r \"c\" x\"",
     "'C:\\100%^&\\tshark.exe' -r 'c' x"},
    {"/opt/$HOME/`id`/t", "\"\"/opt/$HOME/`id`/t\" -r \"c\" x\"", "'/opt/$HOME/`id`/t' -r 'c' x"},
    {"/opt/my tools/tshark's", "\"\"/opt/my tools/tshark's\" -r \"c\" x\"",
     "'/opt/my tools/tshark'\\''s' -r 'c' x"},
};

TEST(CommandLine, ToolPathsInBothForms) {
  for (const ToolCase& c : kToolCases) {
    EXPECT_EQ(cmdExeTsharkCommandLine(c.tsharkPath, "c", "x"), c.cmdExeLine) << c.tsharkPath;
    EXPECT_EQ(posixTsharkCommandLine(c.tsharkPath, "c", "x"), c.posixLine) << c.tsharkPath;
  }
}

TEST(CommandLine, DocumentedWindowsExampleAndUntouchedText) {
  EXPECT_EQ(cmdExeTsharkCommandLine("C:\\Tools\\tshark.exe", "D:\\caps\\a.pcap", " -Y dns"),
            "\"\"C:\\Tools\\tshark.exe\" -r \"D:\\caps\\a.pcap\"  -Y dns\"");
  // The text is the user's own: quotes and shell syntax in it pass as they are.
  EXPECT_EQ(posixTsharkCommandLine("/usr/bin/tshark", "a.pcap", "-Y 'dns' | head"),
            "'/usr/bin/tshark' -r 'a.pcap' -Y 'dns' | head");
  EXPECT_EQ(cmdExeTsharkCommandLine("T", "a", "-Y \"ip.addr == 1\" & echo ^x"),
            "\"\"T\" -r \"a\" -Y \"ip.addr == 1\" & echo ^x\"");
}

}  // namespace
}  // namespace platform
}  // namespace zav
