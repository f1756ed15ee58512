// Both command-processor forms side by side: whatever the paths hold, the
// tool path and the capture path arrive as single, intact arguments, and the
// text follows as the user typed it. Inside the quotes cmd.exe takes "&" and
// "^" literally; it would still expand a %NAME% of an existing variable,
// which no Windows path depends on.
#include "platform/command_line.h"

#include <gtest/gtest.h>

namespace zav {
namespace {

TEST(CommandLine, PathsAndTextInBothForms) {
  struct Case {
    const char *tool, *capture, *text, *cmdExe, *posix;
  } cases[] = {
      {"/opt/my tools/tshark's", "it's x$(reboot)`id`$HOME;&.pcap", "-Y 'dns' | head",
       R"(""/opt/my tools/tshark's" -r "it's x$(reboot)`id`$HOME;&.pcap" -Y 'dns' | head")",
       R"('/opt/my tools/tshark'\''s' -r 'it'\''s x$(reboot)`id`$HOME;&.pcap' -Y 'dns' | head)"},
      {R"(C:\100%^&\t.exe)", R"(100%^&q"uote.pcap)", R"( -Y "ip.addr == 1" & echo ^x)",
       R"(""C:\100%^&\t.exe" -r "100%^&q"uote.pcap"  -Y "ip.addr == 1" & echo ^x")",
       R"('C:\100%^&\t.exe' -r '100%^&q"uote.pcap'  -Y "ip.addr == 1" & echo ^x)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::cmdExeTsharkCommandLine(c.tool, c.capture, c.text), c.cmdExe) << c.capture;
    EXPECT_EQ(platform::posixTsharkCommandLine(c.tool, c.capture, c.text), c.posix) << c.capture;
  }
}

}  // namespace
}  // namespace zav
