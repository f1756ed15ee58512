// The program takes no arguments; everything comes from ZAV.cfg.
#include "core/shell.h"

int main() { return zav::runProgram(); }
