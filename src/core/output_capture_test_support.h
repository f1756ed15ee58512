// What the shell prints, captured for the unit tests: around one action, or
// while a CapturedStreams lives.
#ifndef ZAV_CORE_OUTPUT_CAPTURE_TEST_SUPPORT_H_
#define ZAV_CORE_OUTPUT_CAPTURE_TEST_SUPPORT_H_

#include <cctype>
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

// Standard output and standard error while this lives.
class CapturedStreams {
 public:
  CapturedStreams()
      : savedOut_(std::cout.rdbuf(out_.rdbuf())), savedErr_(std::cerr.rdbuf(err_.rdbuf())) {}
  ~CapturedStreams() {
    std::cout.rdbuf(savedOut_);
    std::cerr.rdbuf(savedErr_);
  }
  CapturedStreams(const CapturedStreams&) = delete;
  CapturedStreams& operator=(const CapturedStreams&) = delete;

  // Colour sequences are dropped: they appear when the tests run on a
  // terminal and are no part of what is checked here.
  std::string out() const { return withoutEscapes(out_.str()); }
  std::string err() const { return err_.str(); }

 private:
  static std::string withoutEscapes(const std::string& text) {
    std::string plain;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\033') {
        plain += text[i];
        continue;
      }
      if (i + 1 < text.size() && text[i + 1] == ']') {  // OSC, ended by BEL
        size_t end = text.find('\a', i);
        i = end == std::string::npos ? text.size() : end;
      } else {  // CSI, ended by a letter
        while (i < text.size() && !std::isalpha(static_cast<unsigned char>(text[i]))) ++i;
      }
    }
    return plain;
  }

  std::ostringstream out_;
  std::ostringstream err_;
  std::streambuf* savedOut_;
  std::streambuf* savedErr_;
};


}  // namespace testing_support
}  // namespace zav

#endif  // ZAV_CORE_OUTPUT_CAPTURE_TEST_SUPPORT_H_
