// The history file ".zav_history": loaded at start, appended to per line.
#ifndef ZAV_BUILTINS_HISTORY_H_
#define ZAV_BUILTINS_HISTORY_H_

#include <string>

namespace zav {

// Opens the history file for reading and appending (creating it) and adds
// its non-empty lines to `history`. `historyDirValue` is HISTORY_DIR_PATH:
// "LOCAL" or a directory prefix.
void loadHistory(const std::string& historyDirValue);

// Appends one accepted line to the open history file and flushes it; does
// nothing when the file is not open.
void appendToHistoryFile(const std::string& line);

void closeHistoryFile();

}  // namespace zav

#endif  // ZAV_BUILTINS_HISTORY_H_
