// The history file on Windows: Win32 file handles, and CR LF as the line end
// of a text file, so the file reads as a text file in Notepad and in every
// text-mode reader.
#include "platform/history_file.h"

#include <windows.h>

#include <cstdint>

namespace zav {
namespace platform {

namespace {

HANDLE toHandle(FileHandle file) {
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(file));
}

// Win32 reads and writes take 32-bit counts.
constexpr DWORD kChunk = 1 << 20;

}  // namespace

const char* const kTextLineEnd = "\r\n";

FileHandle openAppendOnlyFile(const std::string& path) {
  // Write access, not only append access, so that a line cut short by a
  // full disk can be cut off again; every write still goes to the end in
  // one step (see appendAtEnd). Other shells may read and append meanwhile.
  // A new file takes the access rules of its directory, which for the
  // user's own directories is the user only.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return kNoFile;
  return static_cast<FileHandle>(reinterpret_cast<std::intptr_t>(file));
}

bool readToEnd(FileHandle file, std::string& bytes) {
  if (file == kNoFile) return false;
  // Sized up front, so the buffer is not regrown (old and new at once).
  LARGE_INTEGER size{}, at{}, zero{};
  if (GetFileSizeEx(toHandle(file), &size) &&
      SetFilePointerEx(toHandle(file), zero, &at, FILE_CURRENT) && size.QuadPart > at.QuadPart)
    bytes.reserve(bytes.size() + static_cast<size_t>(size.QuadPart - at.QuadPart));
  std::string buffer(kChunk, '\0');
  for (;;) {
    DWORD count = 0;
    if (!ReadFile(toHandle(file), &buffer[0], kChunk, &count, nullptr)) return false;
    if (count == 0) return true;
    bytes.append(buffer, 0, count);
  }
}

bool appendAtEnd(FileHandle file, const std::string& bytes) {
  if (file == kNoFile) return false;
  size_t written = 0;
  while (written < bytes.size()) {
    const size_t left = bytes.size() - written;
    // Both offset halves all ones: the system writes at the end of the file
    // in one step, as FILE_APPEND_DATA alone would, whatever other shells
    // appended meanwhile.
    OVERLAPPED atEnd{};
    atEnd.Offset = 0xFFFFFFFF;
    atEnd.OffsetHigh = 0xFFFFFFFF;
    DWORD count = 0;
    if (!WriteFile(toHandle(file), bytes.data() + written,
                   static_cast<DWORD>(left < kChunk ? left : kChunk), &count, &atEnd) ||
        count == 0) {
      // Our bytes are the last ones of the file: cut them off again.
      LARGE_INTEGER size;
      if (written > 0 && GetFileSizeEx(toHandle(file), &size) &&
          size.QuadPart >= static_cast<LONGLONG>(written)) {
        size.QuadPart -= static_cast<LONGLONG>(written);
        if (SetFilePointerEx(toHandle(file), size, nullptr, FILE_BEGIN))
          SetEndOfFile(toHandle(file));
      }
      return false;
    }
    written += count;
  }
  return true;
}

void closeFile(FileHandle file) {
  if (file != kNoFile) CloseHandle(toHandle(file));
}

}  // namespace platform
}  // namespace zav
