#include "platform/process.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zav {
namespace platform {

namespace {

// Created and unlinked at once: nothing is left behind if the shell dies.
// Close-on-exec, so a child gets only the copies put on its fds 1 and 2.
FileHandle openTemporaryFile() {
  const char* directory = getenv("TMPDIR");
  std::string name = std::string(directory && *directory ? directory : "/tmp") + "/zav-run-XXXXXX";
  int fd = mkostemp(&name[0], O_CLOEXEC);
  if (fd < 0) return kNoFile;
  unlink(name.c_str());
  return fd;
}

void copyToDescriptor(FileHandle from, int to) {
  if (from == kNoFile) return;
  const int fd = static_cast<int>(from);
  lseek(fd, 0, SEEK_SET);
  char buffer[65536];
  for (;;) {
    ssize_t count = read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return;
    for (ssize_t written = 0; written < count;) {
      ssize_t step = write(to, buffer + written, static_cast<size_t>(count - written));
      if (step < 0 && errno == EINTR) continue;
      if (step <= 0) return;  // a closed reader: the rest has nowhere to go
      written += step;
    }
  }
}

}  // namespace

bool outputAndErrorShareAFile() {
  struct stat output {
  }, error{};
  if (fstat(STDOUT_FILENO, &output) != 0 || fstat(STDERR_FILENO, &error) != 0) return false;
  return output.st_dev == error.st_dev && output.st_ino == error.st_ino;
}

bool openCapture(bool separateError, CapturedOutput& capture) {
  capture.output = openTemporaryFile();
  if (capture.output == kNoFile) return false;
  if (!separateError) return true;
  capture.error = openTemporaryFile();
  if (capture.error != kNoFile) return true;
  closeFile(capture.output);
  capture.output = kNoFile;
  return false;
}

void releaseCapture(CapturedOutput& capture) {
  copyToDescriptor(capture.output, STDOUT_FILENO);
  copyToDescriptor(capture.error, STDERR_FILENO);
  closeFile(capture.output);
  closeFile(capture.error);
  capture = CapturedOutput();
}

bool startChild(const std::string& commandLine, const CapturedOutput* capture, ChildId& child) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (capture != nullptr) {
    const int output = static_cast<int>(capture->output);
    const int error = capture->error == kNoFile ? output : static_cast<int>(capture->error);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, error, STDERR_FILENO);
  }
  // Each child leads a process group of its own, so that stopping it stops
  // everything it started (a wrapper script's TShark too): Ctrl-C at the
  // terminal reaches the shell, which passes the stop on to every group.
  // Such a group cannot read the terminal; TShark reading a capture never
  // does. exec puts the shell's handlers back to the default.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  std::string line = commandLine;
  char shell[] = "sh";
  char dashC[] = "-c";
  char* argv[] = {shell, dashC, &line[0], nullptr};
  pid_t pid = 0;
  const int status = posix_spawn(&pid, "/bin/sh", &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (status != 0) return false;
  child = pid;
  return true;
}

bool waitForAnyChild(const std::vector<ChildId>& children, size_t& ended) {
  for (;;) {
    int status = 0;
    pid_t pid = waitpid(-1, &status, 0);
    if (pid < 0 && errno == EINTR) return false;
    if (pid < 0) {
      // No child left to wait for: whatever is listed has already gone.
      ended = 0;
      return true;
    }
    for (size_t i = 0; i < children.size(); ++i) {
      if (children[i] == pid) {
        ended = i;
        return true;
      }
    }
  }
}

void stopChild(ChildId child) {
  // SIGTERM rather than SIGINT: a non-interactive sh waiting for a command
  // lets SIGINT pass; both stop TShark cleanly.
  kill(-static_cast<pid_t>(child), SIGTERM);
}

void waitForChild(ChildId child) {
  int status = 0;
  while (waitpid(static_cast<pid_t>(child), &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace platform
}  // namespace zav
