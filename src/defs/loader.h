// Loading CMD.zav and its include files into the command store.
#ifndef ZAV_DEFS_LOADER_H_
#define ZAV_DEFS_LOADER_H_

#include <string>

namespace zav {

// Reads the main command file (ZAV_CMD_FILE_PATH + "CMD.zav", or "CMD.zav"
// for "LOCAL") and every include file, and runs the parsers in their fixed
// order of passes. Adds to whatever the stores hold; prints every problem.
void loadCommandFile();

}  // namespace zav

#endif  // ZAV_DEFS_LOADER_H_
