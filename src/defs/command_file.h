// The file level of the command files: the main file's path, the checks
// every parser gives a file's text, and include lines. Loading the files in
// their passes is builtins/command_file_loader.h.
#ifndef ZAV_DEFS_COMMAND_FILE_H_
#define ZAV_DEFS_COMMAND_FILE_H_

#include <string>

namespace zav {

// The main command file's path for a ZAV_CMD_FILE_PATH value: the value is
// a plain prefix, no separator is put in.
std::string commandFilePath(const std::string& directoryValue);

// The two warnings every parser gives a file's text before parsing it: an
// empty text, and a text without "<ZAV CONTROL COMMANDS>". Parsing goes on.
void checkFileText(const std::string& fileName, const std::string& text);

// Appends the include names of one file's text to the include list, in
// written order; the main file and names already listed are reported.
void scanIncludes(const std::string& fileName, const std::string& text);

// A parser whose pattern ran into the engine's resource limits on one
// construct skips that construct, says so, and searches on behind it. The
// searches run in linear time, so only a pattern engine without a JIT and
// with tight limits could still get here.
void reportSearchGaveUp(const std::string& fileName, const std::string& construct);

}  // namespace zav

#endif  // ZAV_DEFS_COMMAND_FILE_H_
