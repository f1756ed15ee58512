#include "platform/clipboard.h"

#include <windows.h>

#include <cstring>
#include <iostream>

namespace zav {
namespace platform {

namespace {

void printClipboardMessage(const char* message) {
  std::cout << '\n' << message << '\n';
  std::cout.flush();
}

// Both clipboard operations start alike; on failure the clipboard is left
// closed and the failure reported.
bool openAndEmptyClipboard() {
  if (!OpenClipboard(GetConsoleWindow())) {
    printClipboardMessage(kCannotOpenClipboard);
    return false;
  }
  if (!EmptyClipboard()) {
    CloseClipboard();
    printClipboardMessage(kCannotEmptyClipboard);
    return false;
  }
  return true;
}

}  // namespace

void copyToClipboard(const std::string& text) {
  if (text.empty()) {
    printClipboardMessage(kNothingToCopy);
    return;
  }
  if (!openAndEmptyClipboard()) return;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
  if (!block) {
    CloseClipboard();
    printClipboardMessage(kHeapAllocationFailed);
    return;
  }
  if (void* bytes = GlobalLock(block)) {
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
  }
  const bool handedOver = SetClipboardData(CF_TEXT, block) != nullptr;
  if (!handedOver) printClipboardMessage(kCannotCopyToClipboard);
  if (!CloseClipboard()) printClipboardMessage(kCannotCloseClipboard);
  // Once handed over, the block belongs to the clipboard.
  if (!handedOver) GlobalFree(block);
}

void clearClipboard() {
  if (!openAndEmptyClipboard()) return;
  if (!CloseClipboard()) printClipboardMessage(kCannotCloseClipboard);
}

}  // namespace platform
}  // namespace zav
