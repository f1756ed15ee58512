// Where the running program's file is, so that what is installed beside it
// (the example workspace) can be found.
#ifndef ZAV_PLATFORM_EXECUTABLE_PATH_H_
#define ZAV_PLATFORM_EXECUTABLE_PATH_H_

#include <string>

namespace zav {
namespace platform {

// The name the program was started by (argv[0]), noted at start-up for
// systems that cannot say where the running program is.
void noteProgramName(const std::string& startedAs);

// The full path of the running program, links resolved; empty when the
// system cannot tell.
std::string executablePath();

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_EXECUTABLE_PATH_H_
