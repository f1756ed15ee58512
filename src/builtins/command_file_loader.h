// Loading CMD.zav and its include files into the command store: the passes
// over the files that let every definition refer to any other, whatever
// stands where. It sits above the definition parsers and the Implicit
// Constructors, which it runs in turn.
#ifndef ZAV_BUILTINS_COMMAND_FILE_LOADER_H_
#define ZAV_BUILTINS_COMMAND_FILE_LOADER_H_

#include <functional>
#include <string>

namespace zav {

// Gives a file's text (CR LF read as LF), or, when it cannot be opened,
// reports it and gives "FILE_NOT_FOUND".
using FileReader = std::function<std::string(const std::string& path)>;

// readWholeFile on the path, against the current directory.
std::string readCommandFileFromDisk(const std::string& path);

// Reads the main command file (ZAV_CMD_FILE_PATH + "CMD.zav", or "CMD.zav"
// for "LOCAL") and every include file through `read`, and runs the parsers
// in their fixed order of passes. Adds to whatever the stores hold; prints
// every problem. Tests hand in a reader that serves texts from memory.
void loadCommandFile(const FileReader& read = readCommandFileFromDisk);

}  // namespace zav

#endif  // ZAV_BUILTINS_COMMAND_FILE_LOADER_H_
