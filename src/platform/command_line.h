// The two ways a TShark command line is written, one per command processor.
// Both are plain functions compiled on every platform so their tests run
// side by side; console_*.cpp picks the one its platform needs.
#ifndef ZAV_PLATFORM_COMMAND_LINE_H_
#define ZAV_PLATFORM_COMMAND_LINE_H_

#include <string>

namespace zav {
namespace platform {

// cmd.exe /c form: ""<tshark>" -r "<capture>" <text>". cmd.exe strips the
// first and the last quote of the line and runs the rest, so both paths
// arrive quoted. The text is the user's own and is used as it comes.
std::string cmdExeTsharkCommandLine(const std::string& tsharkPath, const std::string& capturePath,
                                    const std::string& text);

// /bin/sh -c form: '<tshark>' -r '<capture>' <text>. Single quotes stop the
// shell from expanding $(...), backticks and $VAR inside a path; a single
// quote inside a path is written '\''. The text is used as it comes.
std::string posixTsharkCommandLine(const std::string& tsharkPath, const std::string& capturePath,
                                   const std::string& text);

// One value single-quoted for /bin/sh.
std::string posixSingleQuoted(const std::string& value);

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_COMMAND_LINE_H_
