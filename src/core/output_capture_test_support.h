// What the shell prints, captured for the unit tests: around one action, or
// while a CapturedStreams lives. Colours are switched off: they appear only
// when the tests run on a terminal and are no part of what is checked.
#ifndef ZAV_CORE_OUTPUT_CAPTURE_TEST_SUPPORT_H_
#define ZAV_CORE_OUTPUT_CAPTURE_TEST_SUPPORT_H_

#include <iostream>
#include <sstream>
#include <string>

#include "platform/console.h"

namespace zav {
namespace testing_support {

// Standard output and standard error while this lives.
class CapturedStreams {
 public:
  CapturedStreams() { platform::setColoursEnabled(false); }
  ~CapturedStreams() {
    std::cout.rdbuf(savedOut_);
    std::cerr.rdbuf(savedErr_);
  }
  std::string out() const { return out_.str(); }
  std::string err() const { return err_.str(); }

 private:
  std::ostringstream out_, err_;
  std::streambuf* savedOut_ = std::cout.rdbuf(out_.rdbuf());
  std::streambuf* savedErr_ = std::cerr.rdbuf(err_.rdbuf());
};

// What `action` writes to standard output.
template <typename Action>
std::string captureOutput(Action action) {
  CapturedStreams streams;
  action();
  return streams.out();
}

}  // namespace testing_support
}  // namespace zav

#endif  // ZAV_CORE_OUTPUT_CAPTURE_TEST_SUPPORT_H_
