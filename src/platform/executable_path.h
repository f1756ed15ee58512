// Where programs are: the running one's own file, so that what is installed
// beside it (the example workspace) can be found, and others on PATH.
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

// The program file a command processor would run for a bare name, looked
// up on PATH; empty when there is none.
std::string findProgram(const std::string& name);

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_EXECUTABLE_PATH_H_
