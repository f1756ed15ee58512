// Children on Windows: %COMSPEC% /c through CreateProcess, each in a job
// object of its own that dies with the shell, so that stopping a child,
// Ctrl-Break and closing the console end everything it started. Anonymous
// pipes cannot be waited on, so each captured stream has a reader thread
// and each child a waiter; they post what they see to one queue.
#include "platform/process.h"

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/console.h"

namespace zav {
namespace platform {

namespace {

struct RunningChild {
  ChildId id = 0;
  HANDLE process = nullptr;
  HANDLE job = nullptr;
  bool reading = true;
  int openStreams = 0;  // reader threads still running
  bool exited = false;
  DWORD exitCode = 0;
  std::vector<std::thread> threads;
};

std::mutex lock;
std::condition_variable changed;
std::deque<ChildEvent> pending;
std::vector<std::unique_ptr<RunningChild>> running;
ChildId lastId = 0;

RunningChild* find(ChildId id) {
  for (auto& child : running)
    if (child->id == id) return child.get();
  return nullptr;
}

// Reads one stream until its end. Waits between reads while the shell does
// not read this child, so the child blocks on a full pipe.
void readStream(ChildId id, HANDLE pipe, ChildEventKind kind) {
  char buffer[65536];
  for (;;) {
    {
      std::unique_lock<std::mutex> held(lock);
      changed.wait(held, [&] {
        RunningChild* child = find(id);
        return child == nullptr || child->reading;
      });
    }
    DWORD count = 0;
    if (!ReadFile(pipe, buffer, sizeof buffer, &count, nullptr) || count == 0) break;
    ChildEvent event;
    event.kind = kind;
    event.child = id;
    event.bytes.assign(buffer, count);
    std::lock_guard<std::mutex> held(lock);
    pending.push_back(std::move(event));
    changed.notify_all();
  }
  CloseHandle(pipe);
  std::lock_guard<std::mutex> held(lock);
  if (RunningChild* child = find(id)) --child->openStreams;
  changed.notify_all();
}

void awaitExit(ChildId id, HANDLE process) {
  WaitForSingleObject(process, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(process, &code);
  std::lock_guard<std::mutex> held(lock);
  if (RunningChild* child = find(id)) {
    child->exited = true;
    child->exitCode = code;
  }
  changed.notify_all();
}

// A job that ends its processes when its last handle closes: the shell's
// handle, so that nothing outlives the shell however it ends.
HANDLE newJob() {
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  if (job == nullptr) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  return job;
}

bool openPipe(HANDLE& readEnd, HANDLE& writeEnd) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0)) return false;
  // Only the child's end is inherited.
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  return true;
}

bool takeEnded(ChildEvent& event) {
  for (size_t i = 0; i < running.size(); ++i) {
    RunningChild& child = *running[i];
    if (!child.exited || child.openStreams > 0) continue;
    event = ChildEvent();
    event.kind = ChildEventKind::ended;
    event.child = child.id;
    event.status = static_cast<int>(child.exitCode);
    // The console's handler may not have run yet when a child stopped by
    // Ctrl-C has ended; cmd.exe then passes on the child's
    // STATUS_CONTROL_C_EXIT, which tells the same.
    if (child.exitCode == 0xC000013Au) noteInterrupt();
    std::unique_ptr<RunningChild> ended = std::move(running[i]);
    running.erase(running.begin() + static_cast<std::ptrdiff_t>(i));
    lock.unlock();
    for (std::thread& thread : ended->threads) thread.join();
    CloseHandle(ended->process);
    CloseHandle(ended->job);
    lock.lock();
    return true;
  }
  return false;
}

}  // namespace

void chooseCommandGroup() {}

bool startChild(const std::string& commandLine, const ChildStart& how, ChildId& child,
                StartFailure& failure) {
  failure = StartFailure::other;
  // As system() does: %COMSPEC% /c and the line. cmd.exe removes the first
  // and the last double quote of the line when it starts with one, which
  // is why the TShark line carries an extra outer pair.
  const char* comspec = std::getenv("COMSPEC");
  std::string line =
      std::string("\"") + (comspec && *comspec ? comspec : "cmd.exe") + "\" /c " + commandLine;
  // CreateProcess takes 32,767 characters at most, and cmd.exe only 8,191.
  if (line.size() > 8191) {
    failure = StartFailure::tooLong;
    return false;
  }
  HANDLE outputRead = nullptr, outputWrite = nullptr, errorRead = nullptr, errorWrite = nullptr;
  HANDLE nullInput = nullptr;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (how.captureOutput) {
    if (!openPipe(outputRead, outputWrite)) return false;
    if (how.separateError && !openPipe(errorRead, errorWrite)) {
      CloseHandle(outputRead);
      CloseHandle(outputWrite);
      return false;
    }
  }
  if (how.group == ChildGroup::own) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    nullInput = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                            OPEN_EXISTING, 0, nullptr);
  }
  if (how.captureOutput || nullInput != nullptr) {
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullInput != nullptr ? nullInput : GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = how.captureOutput ? outputWrite : GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = how.captureOutput ? (errorWrite ? errorWrite : outputWrite)
                                          : GetStdHandle(STD_ERROR_HANDLE);
  }
  HANDLE job = newJob();
  PROCESS_INFORMATION process{};
  // The child shares the console, so Ctrl-C reaches it as it reaches the
  // shell. It starts suspended until it is in its job, so that nothing it
  // starts escapes the job.
  const bool started = job != nullptr &&
                       CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                                      nullptr, nullptr, &startup, &process);
  const DWORD startError = GetLastError();
  for (HANDLE handle : {outputWrite, errorWrite, nullInput})
    if (handle != nullptr) CloseHandle(handle);
  if (!started) {
    for (HANDLE handle : {outputRead, errorRead, job})
      if (handle != nullptr) CloseHandle(handle);
    if (startError == ERROR_FILENAME_EXCED_RANGE) failure = StartFailure::tooLong;
    return false;
  }
  AssignProcessToJobObject(job, process.hProcess);
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);

  std::lock_guard<std::mutex> held(lock);
  auto entry = std::make_unique<RunningChild>();
  entry->id = ++lastId;
  entry->process = process.hProcess;
  entry->job = job;
  entry->openStreams = (outputRead ? 1 : 0) + (errorRead ? 1 : 0);
  if (outputRead) entry->threads.emplace_back(readStream, entry->id, outputRead, ChildEventKind::output);
  if (errorRead) entry->threads.emplace_back(readStream, entry->id, errorRead, ChildEventKind::error);
  entry->threads.emplace_back(awaitExit, entry->id, process.hProcess);
  child = entry->id;
  running.push_back(std::move(entry));
  failure = StartFailure::none;
  return true;
}

void setReading(ChildId child, bool reading) {
  std::lock_guard<std::mutex> held(lock);
  if (RunningChild* found = find(child)) found->reading = reading;
  changed.notify_all();
}

bool nextChildEvent(bool wakeOnInterrupt, ChildEvent& event) {
  std::unique_lock<std::mutex> held(lock);
  for (;;) {
    if (!pending.empty()) {
      event = std::move(pending.front());
      pending.pop_front();
      return true;
    }
    if (running.empty()) return false;
    if (takeEnded(event)) return true;
    if (wakeOnInterrupt && interruptPending()) {
      event = ChildEvent();
      event.kind = ChildEventKind::interrupted;
      return true;
    }
    // The console's handler thread wakes the wait; the time-out only bounds
    // the damage should a wake-up ever be missed.
    changed.wait_for(held, std::chrono::seconds(1));
  }
}

void stopChild(ChildId child) {
  std::lock_guard<std::mutex> held(lock);
  if (RunningChild* found = find(child)) TerminateJobObject(found->job, 1);
}

bool runSucceeded(int status) { return status == 0; }

bool outputAndErrorShareAFile() {
  HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(output, &mode) && GetConsoleMode(error, &mode)) return true;
  if (output == error) return true;
  BY_HANDLE_FILE_INFORMATION a, b;
  if (!GetFileInformationByHandle(output, &a) || !GetFileInformationByHandle(error, &b))
    return false;
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber && a.nFileIndexHigh == b.nFileIndexHigh &&
         a.nFileIndexLow == b.nFileIndexLow;
}

bool writeToShellStream(bool toError, const std::string& bytes, std::string& reason) {
  HANDLE to = GetStdHandle(toError ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
  for (size_t written = 0; written < bytes.size();) {
    DWORD step = 0;
    const DWORD count = static_cast<DWORD>(bytes.size() - written);
    if (!WriteFile(to, bytes.data() + written, count, &step, nullptr) || step == 0) {
      reason = "error " + std::to_string(GetLastError());
      return false;
    }
    written += step;
  }
  return true;
}

// Ctrl-C reaches every process on the console by itself.
void forwardInterrupt(int) {}

void wakeChildWaiter() { changed.notify_all(); }

void endEveryChild(int) {
  std::lock_guard<std::mutex> held(lock);
  for (auto& child : running) TerminateJobObject(child->job, 1);
}

}  // namespace platform
}  // namespace zav
