#include "platform/environment.h"

#include <stdlib.h>

namespace zav {
namespace platform {

void setEnvironmentVariable(const std::string& name, const std::string& value) {
  ::setenv(name.c_str(), value.c_str(), 1);
}

}  // namespace platform
}  // namespace zav
