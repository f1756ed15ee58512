#include "platform/environment.h"

#include <stdlib.h>
#include <unistd.h>

#include <vector>

namespace zav {
namespace platform {

void setEnvironmentVariable(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

// Linux names the program in /proc; elsewhere the answer is empty, which
// only means that the installed examples are not told apart (see
// builtins/history.cpp).
std::string executablePath() {
  std::vector<char> buffer(4096);
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return "";
  return std::string(buffer.data(), static_cast<size_t>(length));
}

}  // namespace platform
}  // namespace zav
