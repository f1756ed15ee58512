#include "config/configuration.h"

#include <map>
#include <memory>

#include "core/console_output.h"
#include "core/file_names.h"
#include "core/shell_state.h"
#include "text/line_keyword.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {

ConfigRecord config;

namespace {

const char* const kConfigHeader = "<ZAV CONFIGURATION FILE>";

void printNotConformant() {
  printMessage("+ Configuration file " + configFileName + " is not conformant.");
}

void printParameterNotConformant(const std::string& key) {
  printMessage("+ The value of the parameter " + key + " in the Configuration file " +
               configFileName + " is not conformant.");
}

const Regex& settingPattern(const std::string& key) {
  static std::map<std::string, std::unique_ptr<Regex>> compiled;
  auto& slot = compiled[key];
  if (!slot) slot = std::make_unique<Regex>(patterns::configSetting(key), RegexAnchor::atStart);
  return *slot;
}

bool isSwitchValue(const std::string& value) { return value == "TRUE" || value == "FALSE"; }

// A setting ends at its first ";", so no setting can begin behind the last
// one, and a key line there is not looked at: otherwise every one of many
// key lines without ";" would read the rest of the file. Before it, a key
// line whose "=" matched runs to the next ";" and matches there.
std::string lookupConfigValue(const std::string& text, const std::string& key) {
  RegexMatch match;
  size_t lastSemicolon = text.rfind(';');
  std::string_view settings(text.data(),
                            lastSemicolon == std::string::npos ? 0 : lastSemicolon + 1);
  if (searchLineKeyword(settingPattern(key), key, settings, match) == SearchStatus::found)
    return match.group(text, 1);
  printNotConformant();
  return kNoMatch;
}

}  // namespace

bool parseConfiguration(const std::string& text) {
  if (text.empty()) {
    printMessage("+ Configuration file " + configFileName + " is empty.");
    return false;
  }
  if (text.find(kConfigHeader) == std::string::npos) {
    printNotConformant();
    return false;
  }
  // This order fixes the order of the messages.
  config.ZAV_CMD_FILE_PATH = lookupConfigValue(text, "ZAV_CMD_FILE_PATH");
  config.TSHARK_EXE_PATH = lookupConfigValue(text, "TSHARK_EXE_PATH");
  config.PCAP_DIR_PATH = lookupConfigValue(text, "PCAP_DIR_PATH");
  config.DEFAULT_PCAP_NAME = lookupConfigValue(text, "DEFAULT_PCAP_NAME");
  config.HISTORY_DIR_PATH = lookupConfigValue(text, "HISTORY_DIR_PATH");
  config.LOAD_HISTORY_FILE = lookupConfigValue(text, "LOAD_HISTORY_FILE");
  currentCapture = config.DEFAULT_PCAP_NAME;
  config.LOAD_CMD_ZAV_FILE = lookupConfigValue(text, "LOAD_CMD_ZAV_FILE");
  if (!isSwitchValue(config.LOAD_CMD_ZAV_FILE)) printParameterNotConformant("LOAD_CMD_ZAV_FILE");
  if (!isSwitchValue(config.LOAD_HISTORY_FILE)) printParameterNotConformant("LOAD_HISTORY_FILE");
  const std::string values[] = {config.ZAV_CMD_FILE_PATH, config.TSHARK_EXE_PATH,
                                config.PCAP_DIR_PATH,     config.DEFAULT_PCAP_NAME,
                                config.HISTORY_DIR_PATH,  config.LOAD_HISTORY_FILE,
                                config.LOAD_CMD_ZAV_FILE};
  for (const std::string& value : values)
    if (value == kNoMatch) return false;
  return isSwitchValue(config.LOAD_CMD_ZAV_FILE) && isSwitchValue(config.LOAD_HISTORY_FILE);
}

}  // namespace zav
