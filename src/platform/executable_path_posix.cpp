#include "platform/executable_path.h"

#include <filesystem>
#include <system_error>

namespace zav {
namespace platform {

// argv[0] is only the name typed, often without a directory; the kernel's
// link names the file itself.
std::string executablePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

}  // namespace platform
}  // namespace zav
