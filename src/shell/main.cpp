// Everything else comes from ZAV.cfg and the options (shell/options.h).
#include <string>
#include <vector>

#include "platform/executable_path.h"
#include "shell/shell.h"

int main(int argc, char** argv) {
  if (argc > 0) zav::platform::noteProgramName(argv[0]);
  return zav::runProgram(std::vector<std::string>(argv + 1, argv + argc));
}
