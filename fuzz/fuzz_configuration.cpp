// The configuration parser on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/configuration.h"
#include "core/shell_state.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool silenced = (zav::fuzz::silenceStandardOutput(), true);
  (void)silenced;
  zav::config = zav::ConfigRecord();
  zav::currentCapture.clear();
  zav::parseConfiguration(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
