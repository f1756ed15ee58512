// Standard output captured around one action, for every unit test that
// checks what the shell prints.
#ifndef ZAV_CORE_OUTPUT_CAPTURE_TEST_SUPPORT_H_
#define ZAV_CORE_OUTPUT_CAPTURE_TEST_SUPPORT_H_

#include <functional>
#include <iostream>
#include <sstream>
#include <string>

namespace zav {
namespace testing_support {

// What `action` writes to standard output.
inline std::string captureOutput(const std::function<void()>& action) {
  std::ostringstream captured;
  std::streambuf* saved = std::cout.rdbuf(captured.rdbuf());
  action();
  std::cout.rdbuf(saved);
  return captured.str();
}

}  // namespace testing_support
}  // namespace zav

#endif  // ZAV_CORE_OUTPUT_CAPTURE_TEST_SUPPORT_H_
