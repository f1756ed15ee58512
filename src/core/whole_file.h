// Reading definition, configuration and list files whole, in text mode.
#ifndef ZAV_CORE_WHOLE_FILE_H_
#define ZAV_CORE_WHOLE_FILE_H_

#include <string>

namespace zav {

// The text that readWholeFile gives for a file it could not open.
inline constexpr const char* kFileNotFound = "FILE_NOT_FOUND";

// Reads `directoryPrefix + fileName` (or `fileName` alone when the prefix is
// empty) whole. When the file cannot be opened, or is not a regular file,
// prints "+ File "<path>" could not be opened." and gives "FILE_NOT_FOUND".
// (A directory cannot be opened as a file on Windows; a device such as
// /dev/zero or a FIFO would never end or never answer.)
std::string readWholeFile(const std::string& fileName, const std::string& directoryPrefix);

// The file's bytes, unchanged; false (and nothing printed) when it cannot be
// opened or is a special file.
bool readFileBytes(const std::string& path, std::string& bytes);

// Text mode on every platform: each CR LF becomes LF, so CRLF files behave
// exactly like LF files. A lone CR stays.
std::string toTextMode(std::string bytes);

// The "could not be opened" message, shared by every reader of files.
void printCouldNotOpen(const std::string& path);

}  // namespace zav

#endif  // ZAV_CORE_WHOLE_FILE_H_
