#include "exec/dispatch.h"

#include <iostream>

#include "platform/console.h"
#include "text/words.h"

namespace zav {

void dispatchCommand(std::string line) {
  if (splitWords(line).empty()) return;
  std::cout << '\n';
  std::cout.flush();
  platform::runCommandLine(line);
}

}  // namespace zav
