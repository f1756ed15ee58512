// `zav --init DIR`: a first workspace, copied from the example workspace
// that is installed with zav (or lies in the source tree beside the build).
#ifndef ZAV_SHELL_WORKSPACE_INIT_H_
#define ZAV_SHELL_WORKSPACE_INIT_H_

#include <string>

namespace zav {

// Copies ZAV.cfg, the command library (*.zav, *.lst) and the sample
// captures into `directory`, creating it when missing; says what it did and
// how to start there. Overwrites nothing: when any of the files is there
// already, names them and copies nothing. Returns the exit status: 0, or 1
// when nothing could be copied.
int initWorkspace(const std::string& directory);

}  // namespace zav

#endif  // ZAV_SHELL_WORKSPACE_INIT_H_
