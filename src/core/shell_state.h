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

// The seven configuration values, named by their keys in ZAV.cfg.
struct ConfigRecord {
  std::string ZAV_CMD_FILE_PATH;
  std::string LOAD_CMD_ZAV_FILE;
  std::string TSHARK_EXE_PATH;
  std::string PCAP_DIR_PATH;
  std::string DEFAULT_PCAP_NAME;
  std::string HISTORY_DIR_PATH;
  std::string LOAD_HISTORY_FILE;
};

extern ConfigRecord config;
// Empty: no capture selected. "*AF*": every file of the capture directory.
extern std::string currentCapture;
// Every accepted line of this run (and of the history file), in entry order.
extern HistoryList history;

// "-j N": how many TShark runs of one typed line may run at once; 1 runs
// them one after another.
extern unsigned parallelRuns;

// A switch is on only when its value is exactly "TRUE".
inline bool switchIsOn(const std::string& value) { return value == "TRUE"; }

}  // namespace zav

#endif  // ZAV_CORE_SHELL_STATE_H_
