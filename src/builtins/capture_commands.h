// Selecting the capture that TShark commands read, and reloading the
// command file: "setpcap", "getpcap", "setpcappath", "getpcappath",
// "loadcmdfile".
#ifndef ZAV_BUILTINS_CAPTURE_COMMANDS_H_
#define ZAV_BUILTINS_CAPTURE_COMMANDS_H_

#include <string>

namespace zav {

// Puts the capture directory and the selected capture, as TShark gets it,
// into the environment of every program started from now on: ZAV_PCAP_DIR
// is PCAP_DIR_PATH, ZAV_PCAP is PCAP_DIR_PATH + the capture, or empty when
// none is selected or in all-files mode. The setters below call it; start-up
// calls it once the configuration is read.
void exportCaptureEnvironment();

// The name is taken as typed: no check that such a file exists.
void setCapture(const std::string& name);
void showCapture();

// The directory is a plain prefix of the capture name; nothing is added.
void setCaptureDirectory(const std::string& directory);
void showCaptureDirectory();

// Empties every definition store, Implicit Constructors included, and runs
// the loader whatever LOAD_CMD_ZAV_FILE says. A failed load leaves the
// stores empty.
void reloadCommandFile();

}  // namespace zav

#endif  // ZAV_BUILTINS_CAPTURE_COMMANDS_H_
