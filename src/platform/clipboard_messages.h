// The clipboard's messages, shared by both platform implementations.
#ifndef ZAV_PLATFORM_CLIPBOARD_MESSAGES_H_
#define ZAV_PLATFORM_CLIPBOARD_MESSAGES_H_

namespace zav {
namespace platform {

inline constexpr const char* kNothingToCopy = "+ There is nothing to copy to the Clipboard";
inline constexpr const char* kCannotOpenClipboard = "+ Cannot open the clipboard";
inline constexpr const char* kCannotEmptyClipboard = "+ Cannot empty the clipboard";
inline constexpr const char* kHeapAllocationFailed = "+ Memory allocation on the heap failed";
inline constexpr const char* kCannotCopyToClipboard = "+ Cannot copy data to clipboard";
inline constexpr const char* kCannotCloseClipboard = "+ Cannot close clipboard";

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_CLIPBOARD_MESSAGES_H_
