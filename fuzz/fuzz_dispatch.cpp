// Typed lines dispatched against a store loaded from the input's command
// files, with the command processor replaced by a recorder: the launchers
// build their command lines as they would for real, and nothing starts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/configuration.h"
#include "core/shell_state.h"
#include "defs/command_store.h"
#include "defs/loader.h"
#include "exec/dispatch.h"
#include "exec/launch.h"
#include "fuzz_input.h"
#include "ic/implicit_constructors.h"

namespace {

size_t recordedBytes = 0;

void setUpOnce() {
  zav::fuzz::silenceStandardOutput();
  zav::launchers().commandProcessor = [](const std::string& commandLine) {
    recordedBytes += commandLine.size();
  };
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool ready = (setUpOnce(), true);
  (void)ready;
  const zav::fuzz::FuzzInput input = zav::fuzz::parseFuzzInput(data, size);
  zav::fuzz::writeScratchFiles(input);
  zav::config = zav::ConfigRecord();
  zav::config.TSHARK_EXE_PATH = "tshark";
  zav::config.PCAP_DIR_PATH = "./";
  zav::currentCapture = "a.pcap";
  // A configuration in the input may choose the capture ("*AF*" lists the
  // scratch directory); the command file is always the local one.
  for (const auto& [name, content] : input.files)
    if (name == zav::configFileName) zav::parseConfiguration(content);
  zav::config.ZAV_CMD_FILE_PATH = "LOCAL";
  zav::clearCommandStore();
  zav::clearImplicitConstructors();
  zav::loadCommandFile();
  for (const std::string& line : input.typedLines) zav::dispatchCommand(line);
  return 0;
}
