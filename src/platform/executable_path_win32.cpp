#include "platform/executable_path.h"

#include <windows.h>

#include <vector>

namespace zav {
namespace platform {

// The system always knows the module's own file.
void noteProgramName(const std::string&) {}

std::string executablePath() {
  // The module name is cut to the buffer without saying so but by a full
  // buffer, so the buffer grows until it is not full.
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    std::vector<char> buffer(size);
    const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
    if (length == 0) return std::string();
    if (length < size) return std::string(buffer.data(), length);
  }
  return std::string();
}

// SearchPath looks where CreateProcess would, with the usual extension.
std::string findProgram(const std::string& name) {
  char found[MAX_PATH];
  const DWORD length = SearchPathA(nullptr, name.c_str(), ".exe", MAX_PATH, found, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(found, length) : std::string();
}

}  // namespace platform
}  // namespace zav
