// The clipboard, for `ulogic`: the Windows clipboard, or on POSIX the
// terminal's own through OSC 52, which reaches the user's clipboard over SSH
// and inside tmux, where no local clipboard program would.
#ifndef ZAV_PLATFORM_CLIPBOARD_H_
#define ZAV_PLATFORM_CLIPBOARD_H_

#include <string>

namespace zav {
namespace platform {

// Each reports its own failures with the shell's "+ " messages.
void copyToClipboard(const std::string& text);
void clearClipboard();

// The messages, shared by both implementations.
inline constexpr const char* kNothingToCopy = "+ There is nothing to copy to the Clipboard";
inline constexpr const char* kCannotOpenClipboard = "+ Cannot open the clipboard";
inline constexpr const char* kCannotEmptyClipboard = "+ Cannot empty the clipboard";
inline constexpr const char* kHeapAllocationFailed = "+ Memory allocation on the heap failed";
inline constexpr const char* kCannotCopyToClipboard = "+ Cannot copy data to clipboard";
inline constexpr const char* kCannotCloseClipboard = "+ Cannot close clipboard";

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_CLIPBOARD_H_
