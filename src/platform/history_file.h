// The one file the shell writes: an append-only record of typed lines. Kept
// apart from the console because it needs the operating system's own file
// calls (creation permissions, a single append per line); one implementation
// per platform.
#ifndef ZAV_PLATFORM_HISTORY_FILE_H_
#define ZAV_PLATFORM_HISTORY_FILE_H_

#include <string>

#include "platform/file_handle.h"

namespace zav {
namespace platform {

// Opens `path` for reading from the start and appending at the end. A
// missing file is created readable and writable by its owner only, since it
// records everything the user typed. kNoFile when it cannot be opened.
FileHandle openAppendOnlyFile(const std::string& path);

// Reads from the current position to the end of the file, bytes unchanged.
// False when a read fails (what was read so far stays in `bytes`).
bool readToEnd(FileHandle file, std::string& bytes);

// Writes `bytes` at the end of the file with one system call, so that two
// shells appending to the same file never interleave parts of their lines.
// The bytes reach the operating system before it returns. False on failure
// (a full disk, say); the part that was written is then taken back, so
// that the file still ends at a line end and the next line is not glued
// onto a fragment.
bool appendAtEnd(FileHandle file, const std::string& bytes);

// How a line of a text file ends on this platform ("\n", or "\r\n" on
// Windows); readers accept both.
extern const char* const kTextLineEnd;

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_HISTORY_FILE_H_
