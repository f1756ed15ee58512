// The process's own environment, which every program the shell starts
// inherits.
#ifndef ZAV_PLATFORM_ENVIRONMENT_H_
#define ZAV_PLATFORM_ENVIRONMENT_H_

#include <string>

namespace zav {
namespace platform {

// Sets `name` to `value` for this process and every program it starts from
// now on. An empty value leaves the variable empty on POSIX; on Windows,
// where cmd.exe knows no empty variables ("set NAME=" removes one), it
// removes the variable, so that "if defined NAME" tells the two apart.
// Called from the main thread only, while no program is being started.
void setEnvironmentVariable(const std::string& name, const std::string& value);

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_ENVIRONMENT_H_
