// An open file of the operating system, as the platform files pass it
// around: a descriptor on POSIX, a handle on Windows.
#ifndef ZAV_PLATFORM_FILE_HANDLE_H_
#define ZAV_PLATFORM_FILE_HANDLE_H_

#include <cstdint>

namespace zav {
namespace platform {

// An open file, or kNoFile. Wide enough for a descriptor or a handle.
using FileHandle = std::int64_t;
inline constexpr FileHandle kNoFile = -1;

void closeFile(FileHandle file);

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_FILE_HANDLE_H_
