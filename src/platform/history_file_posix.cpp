#include "platform/history_file.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zav {
namespace platform {

const char* const kTextLineEnd = "\n";

FileHandle openAppendOnlyFile(const std::string& path) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) return kNoFile;
  // Only a regular file is a history: reading a FIFO would wait for ever and
  // a device such as /dev/zero would never end.
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    ::close(fd);
    return kNoFile;
  }
  return fd;
}

bool readToEnd(FileHandle file, std::string& bytes) {
  if (file == kNoFile) return false;
  // Sized up front: growing by doubling would hold the old and the new
  // buffer at once, half again the file's size, at the start-up peak.
  struct stat status {};
  const off_t at = ::lseek(static_cast<int>(file), 0, SEEK_CUR);
  if (at >= 0 && ::fstat(static_cast<int>(file), &status) == 0 && status.st_size > at)
    bytes.reserve(bytes.size() + static_cast<size_t>(status.st_size - at));
  char buffer[65536];
  for (;;) {
    ssize_t count = ::read(static_cast<int>(file), buffer, sizeof buffer);
    if (count == 0) return true;
    if (count > 0) {
      bytes.append(buffer, static_cast<size_t>(count));
    } else if (errno != EINTR) {  // Ctrl-C interrupts reads; that is no failure
      return false;
    }
  }
}

bool appendAtEnd(FileHandle file, const std::string& bytes) {
  if (file == kNoFile) return false;
  // O_APPEND moves to the end and writes in one step, so concurrent writers
  // cannot overwrite or split each other's records. A short write is
  // continued; when the rest cannot be written, the written part is cut
  // off again: after each of our writes the offset is the end of our own
  // bytes.
  const int fd = static_cast<int>(file);
  size_t written = 0;
  while (written < bytes.size()) {
    ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (count > 0) {
      written += static_cast<size_t>(count);
    } else if (count < 0 && errno == EINTR) {
      continue;
    } else {
      off_t end = ::lseek(fd, 0, SEEK_CUR);
      if (written > 0 && end >= static_cast<off_t>(written)) {
        while (::ftruncate(fd, end - static_cast<off_t>(written)) != 0 && errno == EINTR) {
        }
      }
      return false;
    }
  }
  return true;
}

void closeFile(FileHandle file) {
  if (file != kNoFile) ::close(static_cast<int>(file));
}

}  // namespace platform
}  // namespace zav
