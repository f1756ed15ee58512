#include "platform/environment.h"

#include <stdlib.h>
#include <windows.h>


namespace zav {
namespace platform {

// Two copies of the environment: the system's, which CreateProcess passes
// on, and the C runtime's, which system() passes on. _putenv changes both;
// the system call is made as well so that neither depends on the runtime
// doing it. "NAME=" removes the variable from both.
void setEnvironmentVariable(const std::string& name, const std::string& value) {
  const std::string assignment = name + "=" + value;
  _putenv(assignment.c_str());
  SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
}

}  // namespace platform
}  // namespace zav
