// Sends what the shell writes to std::cout elsewhere while an instance
// lives, and puts the shell's own output back however the scope is left.
#ifndef ZAV_CORE_OUTPUT_REDIRECT_H_
#define ZAV_CORE_OUTPUT_REDIRECT_H_

#include <iostream>

namespace zav {

class RedirectedOutput {
 public:
  explicit RedirectedOutput(std::ostream& into) {
    std::cout.flush();
    saved_ = std::cout.rdbuf(into.rdbuf());
  }
  ~RedirectedOutput() { std::cout.rdbuf(saved_); }
  RedirectedOutput(const RedirectedOutput&) = delete;
  RedirectedOutput& operator=(const RedirectedOutput&) = delete;

 private:
  std::streambuf* saved_ = nullptr;
};

}  // namespace zav

#endif  // ZAV_CORE_OUTPUT_REDIRECT_H_
