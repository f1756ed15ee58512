// Reading definition, configuration and list files whole, in text mode.
#ifndef ZAV_CONFIG_WHOLE_FILE_H_
#define ZAV_CONFIG_WHOLE_FILE_H_

#include <string>

namespace zav {

// The text that readWholeFile gives for a file it could not open.
inline constexpr const char* kFileNotFound = "FILE_NOT_FOUND";

// Reads `directoryPrefix + fileName` (or `fileName` alone when the prefix is
// empty) whole. When the file cannot be opened, prints
// "+ File "<path>" could not be opened." and gives "FILE_NOT_FOUND".
std::string readWholeFile(const std::string& fileName, const std::string& directoryPrefix);

// Text mode on every platform: each CR LF becomes LF, so CRLF files behave
// exactly like LF files. A lone CR stays.
std::string toTextMode(std::string bytes);

// The "could not be opened" message, shared by every reader of files.
void printCouldNotOpen(const std::string& path);

}  // namespace zav

#endif  // ZAV_CONFIG_WHOLE_FILE_H_
