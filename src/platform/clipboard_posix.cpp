#include "platform/clipboard.h"

#include <iostream>

#include "platform/console.h"

namespace zav {
namespace platform {

namespace {

void printClipboardMessage(const char* message) {
  std::cout << '\n' << message << '\n';
  std::cout.flush();
}

void writeToTerminal(const std::string& bytes) {
  std::cout << bytes;
  std::cout.flush();
}

std::string base64(const std::string& bytes) {
  static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    unsigned n = (static_cast<unsigned char>(bytes[i]) << 16) |
                 (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                 static_cast<unsigned char>(bytes[i + 2]);
    out += table[(n >> 18) & 63];
    out += table[(n >> 12) & 63];
    out += table[(n >> 6) & 63];
    out += table[n & 63];
  }
  if (i < bytes.size()) {
    unsigned n = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += table[(n >> 18) & 63];
    out += table[(n >> 12) & 63];
    out += (i + 1 < bytes.size()) ? table[(n >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

}  // namespace

void copyToClipboard(const std::string& text) {
  if (text.empty()) {
    printClipboardMessage(kNothingToCopy);
    return;
  }
  if (!outputTakesControlSequences()) {
    printClipboardMessage(kCannotOpenClipboard);
    return;
  }
  writeToTerminal("\033]52;c;" + base64(text) + "\007");
}

void clearClipboard() {
  if (!outputTakesControlSequences()) {
    printClipboardMessage(kCannotOpenClipboard);
    return;
  }
  writeToTerminal("\033]52;c;!\007");
}

}  // namespace platform
}  // namespace zav
