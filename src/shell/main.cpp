// Everything else comes from ZAV.cfg and the options (shell/options.h).
#include <string>
#include <vector>

#include "shell/shell.h"

int main(int argc, char** argv) {
  return zav::runProgram(std::vector<std::string>(argv + 1, argv + argc));
}
