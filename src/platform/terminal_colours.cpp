#include "platform/terminal_colours.h"

namespace zav {
namespace platform {

std::string colourSequence(TextAttribute attribute) {
  if ((attribute & 0x0f) == 15) return "\033[39;49m";
  // The console's bit order is blue, green, red; ANSI's is red, green, blue.
  int ansi = ((attribute & 4) ? 1 : 0) | ((attribute & 2) ? 2 : 0) | ((attribute & 1) ? 4 : 0);
  int base = (attribute & 8) ? 90 : 30;
  return "\033[" + std::to_string(base + ansi) + "m";
}

}  // namespace platform
}  // namespace zav
