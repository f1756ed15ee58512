// The history: the history file ".zav_history", loaded at start and
// appended to per accepted line, and the commands "history", "chistory" and
// "exh".
#ifndef ZAV_BUILTINS_HISTORY_H_
#define ZAV_BUILTINS_HISTORY_H_

#include <string>
#include <vector>

namespace zav {

// Opens the history file for reading and appending (creating it) and adds
// its non-empty lines to `history`. `historyDirValue` is HISTORY_DIR_PATH:
// "LOCAL" or a directory prefix. When the file cannot be opened it says so
// and the history stays in memory only. A history file inside the installed
// data (share/zav of the installation, with the example workspace) is
// neither read nor written, silently: the history stays in memory.
void loadHistory(const std::string& historyDirValue);

// Appends one accepted line to the open history file at once; does nothing
// when the file is not open. A line that cannot be written whole (a full
// disk) is left out of the file, which is said; the line stays in `history`.
void appendToHistoryFile(const std::string& line);

void closeHistoryFile();

// "history": every entry with its number, from 0.
void showHistory();

// "chistory": empties the in-memory history; the file keeps its lines.
void clearHistory();

// "exh": runs the entries numbered by the words after the first, in order,
// through the dispatchers, without recording them.
void rerunHistory(const std::vector<std::string>& words);

}  // namespace zav

#endif  // ZAV_BUILTINS_HISTORY_H_
