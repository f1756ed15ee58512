// A fixture for the unit tests that change what the shell holds: each test
// starts and ends with empty stores (commands, Implicit Constructors,
// history), the default configuration, no capture, the real launchers and
// the working directory it started in, so no test leans on another's leftovers.
#ifndef ZAV_BUILTINS_FRESH_STORES_TEST_SUPPORT_H_
#define ZAV_BUILTINS_FRESH_STORES_TEST_SUPPORT_H_

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "config/configuration.h"
#include "core/shell_state.h"
#include "defs/command_store.h"
#include "exec/launch.h"
#include "ic/implicit_constructors.h"

namespace zav {
namespace testing_support {

class FreshStores : public ::testing::Test {
 protected:
  FreshStores() { resetStores(); }
  ~FreshStores() override {
    resetStores();
    std::filesystem::current_path(startDirectory_);
    if (!scratch_.empty()) std::filesystem::remove_all(scratch_);
  }
  static void resetStores() {
    clearCommandStore();
    clearImplicitConstructors();
    history.clear();
    config = ConfigRecord();
    currentCapture.clear();
    launchers() = realLaunchers();
  }
  // Moves into a new empty directory, removed after the test.
  void enterScratchDirectory() {
    char pattern[] = "/tmp/zav-test-XXXXXX";
    scratch_ = mkdtemp(pattern);
    std::filesystem::current_path(scratch_);
  }

 private:
  const std::filesystem::path startDirectory_ = std::filesystem::current_path();
  std::filesystem::path scratch_;
};

}  // namespace testing_support
}  // namespace zav

#endif  // ZAV_BUILTINS_FRESH_STORES_TEST_SUPPORT_H_
