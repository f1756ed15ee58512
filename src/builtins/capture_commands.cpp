#include "builtins/capture_commands.h"

#include "builtins/command_file_loader.h"
#include "config/configuration.h"
#include "core/console_output.h"
#include "core/shell_state.h"
#include "defs/command_store.h"
#include "exec/launch.h"
#include "ic/implicit_constructors.h"
#include "platform/environment.h"

namespace zav {

void exportCaptureEnvironment() {
  platform::setEnvironmentVariable("ZAV_PCAP_DIR", config.PCAP_DIR_PATH);
  const bool oneCapture = !currentCapture.empty() && currentCapture != kAllFilesCapture;
  platform::setEnvironmentVariable("ZAV_PCAP",
                                   oneCapture ? config.PCAP_DIR_PATH + currentCapture : "");
}

void setCapture(const std::string& name) {
  currentCapture = name;
  exportCaptureEnvironment();
}

void showCapture() {
  if (currentCapture.empty()) {
    printMessage("+ Pcap file name is not set yet");
  } else {
    printMessage("+ Current pcap file name is: " + currentCapture);
  }
}

// Kept as typed, since stored lines may rely on it; the note says why a
// capture may then not be found.
void setCaptureDirectory(const std::string& directory) {
  config.PCAP_DIR_PATH = directory;
  exportCaptureEnvironment();
  const char last = directory.empty() ? '/' : directory.back();
  if (last != '/' && last != '\\')
    printMessage(
        "+ Note: the path does not end with a separator; capture names are appended to it as "
        "they are.");
}

void showCaptureDirectory() {
  printMessage("+ Current pcap path is set to: " + config.PCAP_DIR_PATH);
}

void reloadCommandFile() {
  clearCommandStore();
  clearImplicitConstructors();
  loadCommandFile();
}

}  // namespace zav
