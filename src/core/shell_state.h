// The session's state: the selected capture, the lines of this run and of
// the history file, and how many runs may go side by side. The definition
// stores live in defs/command_store.h and ic/implicit_constructors.h, the
// configuration in config/configuration.h.
#ifndef ZAV_CORE_SHELL_STATE_H_
#define ZAV_CORE_SHELL_STATE_H_

#include <string>
#include <vector>

#include "core/history_list.h"

namespace zav {


// Empty: no capture selected. "*AF*": every file of the capture directory.
extern std::string currentCapture;
// Every accepted line of this run (and of the history file), in entry order.
extern HistoryList history;

// "-j N": how many TShark runs of one typed line may run at once; 1 runs
// them one after another.
extern unsigned parallelRuns;

}  // namespace zav

#endif  // ZAV_CORE_SHELL_STATE_H_
