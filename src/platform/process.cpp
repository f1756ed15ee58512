// What both platforms build the same way on the calls of process_*.cpp.
#include "platform/process.h"

#include <cstdio>
#include <iostream>

namespace zav {
namespace platform {

int runCommandLine(const std::string& commandLine, StartFailure& failure) {
  std::cout.flush();
  std::fflush(stdout);
  ChildId child = 0;
  if (!startChild(commandLine, ChildStart(), child, failure)) return -1;
  ChildEvent event;
  while (nextChildEvent(false, event))
    if (event.kind == ChildEventKind::ended && event.child == child) return event.status;
  return -1;
}

}  // namespace platform
}  // namespace zav
