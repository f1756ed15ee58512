// Helpers shared by the definition parsers' unit tests.
#ifndef ZAV_DEFS_DEFS_TEST_SUPPORT_H_
#define ZAV_DEFS_DEFS_TEST_SUPPORT_H_

#include <string>

#include "core/output_capture_test_support.h"
#include "defs/command_store.h"
#include "defs/insert_and_call_expansion.h"

namespace zav {
namespace testing_support {

inline const std::string kControlHeader = "<ZAV CONTROL COMMANDS>\n";

// Empty stores and a full expansion budget, as at the start of a load.
inline void freshStores() {
  clearCommandStore();
  resetExpansionBudget();
}

// The shape of every diagnostic: an empty line before it.
inline std::string message(const std::string& text) { return "\n" + text + "\n"; }

}  // namespace testing_support
}  // namespace zav

#endif  // ZAV_DEFS_DEFS_TEST_SUPPORT_H_
