// The shell's process-wide state: fixed names, product information, the
// selected capture, the configuration values and the in-memory history.
// The definition stores live in defs/command_store.h and
// ic/implicit_constructors.h.
#ifndef ZAV_CORE_SHELL_STATE_H_
#define ZAV_CORE_SHELL_STATE_H_

#include <string>
#include <vector>

#include "core/history_list.h"

namespace zav {

extern const std::string configFileName;    // "ZAV.cfg"
extern const std::string commandFileName;   // "CMD.zav"
extern const std::string historyFileName;   // ".zav_history"
extern const std::string productShortName;  // "ZAV"
extern const std::string productFullName;
extern const std::string productVersion;
extern const std::string productEdition;
extern const std::string productReleaseDate;
extern const std::string productBuildVariant;
extern const std::string authorName;
extern const std::string authorEmail;
extern const std::string authorWebAddress;
extern const std::string consoleTitle;

// Empty: no capture selected. "*AF*": every file of the capture directory.
extern std::string currentCapture;
// Every accepted line of this run (and of the history file), in entry order.
extern HistoryList history;

// "-j N": how many TShark runs of one typed line may run at once; 1 runs
// them one after another.
extern unsigned parallelRuns;

}  // namespace zav

#endif  // ZAV_CORE_SHELL_STATE_H_
