// Test support: what the shell writes to standard output and standard error
// while an object of this type lives.
#ifndef ZAV_BUILTINS_OUTPUT_CAPTURE_FOR_TESTS_H_
#define ZAV_BUILTINS_OUTPUT_CAPTURE_FOR_TESTS_H_

#include <cctype>
#include <iostream>
#include <sstream>
#include <string>

namespace zav {

class CapturedOutput {
 public:
  CapturedOutput()
      : savedOut_(std::cout.rdbuf(out_.rdbuf())), savedErr_(std::cerr.rdbuf(err_.rdbuf())) {}
  ~CapturedOutput() {
    std::cout.rdbuf(savedOut_);
    std::cerr.rdbuf(savedErr_);
  }
  CapturedOutput(const CapturedOutput&) = delete;
  CapturedOutput& operator=(const CapturedOutput&) = delete;

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

}  // namespace zav

#endif  // ZAV_BUILTINS_OUTPUT_CAPTURE_FOR_TESTS_H_
