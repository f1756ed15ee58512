#include "platform/process.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>

namespace zav {
namespace platform {

namespace {

HANDLE toHandle(std::int64_t value) {
  return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(value));
}

std::int64_t fromHandle(HANDLE handle) {
  return static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(handle));
}

// Not inheritable: every child started while it is open would otherwise
// inherit it. A child gets an inheritable copy made just for its start.
FileHandle openTemporaryFile() {
  char directory[MAX_PATH + 1];
  char name[MAX_PATH + 1];
  if (GetTempPathA(sizeof directory, directory) == 0 ||
      GetTempFileNameA(directory, "zav", 0, name) == 0)
    return kNoFile;
  HANDLE file = CreateFileA(
      name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DeleteFileA(name);
    return kNoFile;
  }
  return fromHandle(file);
}

HANDLE inheritableCopy(HANDLE handle) {
  HANDLE copy = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &copy, 0, TRUE,
                       DUPLICATE_SAME_ACCESS))
    return nullptr;
  return copy;
}

void copyToHandle(FileHandle from, DWORD standardHandle) {
  if (from == kNoFile) return;
  HANDLE file = toHandle(from);
  HANDLE to = GetStdHandle(standardHandle);
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  char buffer[65536];
  DWORD count = 0;
  while (ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0) {
    for (DWORD written = 0; written < count;) {
      DWORD step = 0;
      if (!WriteFile(to, buffer + written, count - written, &step, nullptr) || step == 0) return;
      written += step;
    }
  }
}

bool sameFile(HANDLE first, HANDLE second) {
  BY_HANDLE_FILE_INFORMATION a, b;
  if (!GetFileInformationByHandle(first, &a) || !GetFileInformationByHandle(second, &b))
    return false;
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

}  // namespace

bool outputAndErrorShareAFile() {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(output, &mode) && GetConsoleMode(error, &mode)) return true;
  return output == error || sameFile(output, error);
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
  copyToHandle(capture.output, STD_OUTPUT_HANDLE);
  copyToHandle(capture.error, STD_ERROR_HANDLE);
  closeFile(capture.output);
  closeFile(capture.error);
  capture = CapturedOutput();
}

bool startChild(const std::string& commandLine, const CapturedOutput* capture, ChildId& child) {
  // As system() does: %COMSPEC% /c and the line. cmd.exe removes the first
  // and the last double quote of the line when it starts with one, which
  // is why the TShark line carries an extra outer pair.
  const char* comspec = std::getenv("COMSPEC");
  std::string line =
      std::string("\"") + (comspec && *comspec ? comspec : "cmd.exe") + "\" /c " + commandLine;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  HANDLE output = nullptr;
  HANDLE error = nullptr;
  if (capture != nullptr) {
    output = inheritableCopy(toHandle(capture->output));
    error = inheritableCopy(toHandle(capture->error == kNoFile ? capture->output : capture->error));
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = error;
  }
  PROCESS_INFORMATION process{};
  // The child shares the console, so Ctrl-C reaches it as it reaches the shell.
  const bool started = (capture == nullptr || (output && error)) &&
                       CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  if (output) CloseHandle(output);
  if (error) CloseHandle(error);
  if (!started) return false;
  CloseHandle(process.hThread);
  child = fromHandle(process.hProcess);
  return true;
}

bool waitForAnyChild(const std::vector<ChildId>& children, size_t& ended) {
  // The scheduler runs at most MAXIMUM_WAIT_OBJECTS children at once.
  HANDLE handles[MAXIMUM_WAIT_OBJECTS] = {};
  const DWORD count = static_cast<DWORD>(children.size());
  for (DWORD i = 0; i < count; ++i) handles[i] = toHandle(children[i]);
  const DWORD result = WaitForMultipleObjects(count, handles, FALSE, INFINITE);
  ended = result >= WAIT_OBJECT_0 && result < WAIT_OBJECT_0 + count ? result - WAIT_OBJECT_0 : 0;
  CloseHandle(handles[ended]);
  return true;
}

// Ctrl-C reached every process on the console, TShark under cmd.exe
// included; ending cmd.exe covers a stop for any other reason.
void stopChild(ChildId child) { TerminateProcess(toHandle(child), 1); }

void waitForChild(ChildId child) {
  WaitForSingleObject(toHandle(child), INFINITE);
  CloseHandle(toHandle(child));
}

}  // namespace platform
}  // namespace zav
