// Children that run side by side: started through the command processor,
// either writing to the shell's own standard output and error or into
// temporary files that are copied out later. One implementation per
// platform (process_posix.cpp, process_win32.cpp).
#ifndef ZAV_PLATFORM_PROCESS_H_
#define ZAV_PLATFORM_PROCESS_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/history_file.h"

namespace zav {
namespace platform {

// A started child: a process id, or a process handle on Windows.
using ChildId = std::int64_t;

// The most children waited for at once (the Windows wait takes 64 handles).
inline constexpr size_t kMostChildrenAtOnce = 64;

// Where a child's output waits for its turn: temporary files that are gone
// once closed. `error` is kNoFile when both streams share `output`.
struct CapturedOutput {
  FileHandle output = kNoFile;
  FileHandle error = kNoFile;
};

// True when the shell's standard output and standard error are one file (a
// terminal, or output redirected with 2>&1). A child's two streams then go
// into one capture, so that they keep their mutual order; otherwise each
// goes into its own and is copied to its own stream.
bool outputAndErrorShareAFile();

// Opens the temporary file(s) of one capture. False (nothing left open)
// when the temporary directory cannot take them.
bool openCapture(bool separateError, CapturedOutput& capture);

// Copies a finished child's captured bytes, unchanged, to the shell's
// standard output (and standard error), and closes the capture. The caller
// flushes its own buffered output first.
void releaseCapture(CapturedOutput& capture);

// Starts a command line through the command processor (/bin/sh -c, or
// cmd.exe /c with its outer-quote rule, as runCommandLine does). With no
// capture the child writes where the shell writes. False when it could not
// be started.
bool startChild(const std::string& commandLine, const CapturedOutput* capture, ChildId& child);

// Waits until one of `children` ends and gives its position. False when a
// signal cut the wait short (the caller asks takeInterrupt why); nothing
// was reaped then.
bool waitForAnyChild(const std::vector<ChildId>& children, size_t& ended);

// Stops a running child and whatever it started; the caller still waits
// for it.
void stopChild(ChildId child);
void waitForChild(ChildId child);

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_PROCESS_H_
