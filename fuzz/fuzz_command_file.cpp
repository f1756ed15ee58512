// A whole load of CMD.zav and its include files, from empty stores, as
// `loadcmdfile` does it.
#include <cstddef>
#include <cstdint>

#include "core/shell_state.h"
#include "defs/command_store.h"
#include "defs/loader.h"
#include "fuzz_input.h"
#include "ic/implicit_constructors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool silenced = (zav::fuzz::silenceStandardOutput(), true);
  (void)silenced;
  zav::fuzz::writeScratchFiles(zav::fuzz::parseFuzzInput(data, size));
  zav::config.ZAV_CMD_FILE_PATH = "LOCAL";
  zav::clearCommandStore();
  zav::clearImplicitConstructors();
  zav::loadCommandFile();
  return 0;
}
