// ZAV.cfg: the seven settings and their checks.
#ifndef ZAV_CONFIG_CONFIGURATION_H_
#define ZAV_CONFIG_CONFIGURATION_H_

#include <string>

namespace zav {

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
// A switch is on only when its value is exactly "TRUE".
inline bool switchIsOn(const std::string& value) { return value == "TRUE"; }

// The value a key gets when the file has no valid setting for it.
inline constexpr const char* kNoMatch = "NO_MATCH";

// Checks the text, fills `config` and `currentCapture`, and prints every
// problem. An empty or header-less text sets nothing. True when the text
// was conformant: no message was printed.
bool parseConfiguration(const std::string& text);

}  // namespace zav

#endif  // ZAV_CONFIG_CONFIGURATION_H_
