// Where the running program's file is, so that what is installed beside it
// (the example workspace) can be found.
#ifndef ZAV_PLATFORM_EXECUTABLE_PATH_H_
#define ZAV_PLATFORM_EXECUTABLE_PATH_H_

#include <string>

namespace zav {
namespace platform {

// The full path of the running program, links resolved; empty when the
// system cannot tell (a POSIX system without /proc).
std::string executablePath();

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_EXECUTABLE_PATH_H_
