#include "exec/remote_runs.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "config/configuration.h"
#include "core/console_output.h"
#include "core/output_redirect.h"
#include "core/run_outcome.h"
#include "core/shell_state.h"
#include "exec/child_processes.h"
#include "exec/launch.h"
#include "exec/ordered_runs.h"
#include "platform/command_line.h"
#include "platform/console.h"
#include "platform/executable_path.h"
#include "platform/process.h"

namespace zav {

namespace {

// A host that drops out gives its runs to the others; a run is lost only
// after this many tries.
constexpr const char* kTriesPerRun = "3";

RemoteHosts hostsInUse;
bool hostsAreUsed = false;

// ":" alone (or a list of them) never logs in anywhere.
bool onlyThisHost(const std::string& logins) {
  std::istringstream list(logins);
  std::string login;
  while (std::getline(list, login, ','))
    if (login != ":") return false;
  return true;
}

struct NotedRun {
  std::string textBefore;
  std::string commandLine;
  std::string capture;  // with --transfer: the file to copy, "/./" before its name
};

struct NotedRuns {
  std::vector<NotedRun> runs;
  std::string textAfter;
};

NotedRuns noteRuns(const std::function<void()>& plan) {
  PlannedLine line = planLine(plan);
  NotedRuns noted;
  for (PlannedCommand& command : line.commands)
    noted.runs.push_back(
        NotedRun{std::move(command.textBefore), std::move(command.commandLine), ""});
  noted.textAfter = std::move(line.textAfter);
  return noted;
}

// With --transfer a run reads its capture from its working directory on
// the host, where GNU parallel has copied it; its command line names the
// copy. False when a run names no capture of this line.
bool pointRunsAtCopies(NotedRuns& noted) {
  std::vector<std::string> captures;
  if (currentCapture == kAllFilesCapture) {
    std::ostringstream ignored;  // the line itself has already said what is wrong
    RedirectedOutput redirected(ignored);
    listCaptureFiles(captures);
  } else {
    captures.push_back(config.PCAP_DIR_PATH + currentCapture);
  }
  for (NotedRun& run : noted.runs) {
    bool found = false;
    for (const std::string& capture : captures) {
      const std::string prefix = platform::tsharkCommandLine(config.TSHARK_EXE_PATH, capture, "");
      if (run.commandLine.compare(0, prefix.size(), prefix) != 0) continue;
      std::error_code error;
      const std::filesystem::path full = std::filesystem::absolute(capture, error);
      const std::string name = full.filename().string();
      run.capture = full.parent_path().string() + "/./" + name;
      run.commandLine = platform::tsharkCommandLine(config.TSHARK_EXE_PATH, name, "") +
                        run.commandLine.substr(prefix.size());
      found = true;
      break;
    }
    if (!found) return false;
  }
  return true;
}

// Sixteen random hexadecimal digits: a run's output that holds them by
// chance is not to be expected.
std::string freshNonce() {
  std::random_device random;
  std::ostringstream nonce;
  nonce << std::hex;
  for (int i = 0; i < 4; ++i) nonce << ((random() & 0xffffu) | 0x10000u);
  return nonce.str();
}

// The text of one run as GNU parallel receives it: the command line through
// /bin/sh, then the end markers that tell where its output ends and how it
// ended.
std::string remoteJobText(const std::string& commandLine, const std::string& marker,
                          bool errorIntoOutput) {
  using platform::posixSingleQuoted;
  // The marker's status is the run's own; the job itself succeeds, so that
  // GNU parallel retries only runs whose host failed them.
  std::string text = "sh -c " + posixSingleQuoted(commandLine);
  if (errorIntoOutput) text += " 2>&1";
  text += "; printf '%s%d\\n' " + posixSingleQuoted(marker) + " $?";
  if (!errorIntoOutput) text += "; printf '%s' " + posixSingleQuoted(marker) + " >&2";
  return text;
}

// The runs' command lines (and captures), NUL-separated, for GNU parallel
// to read: no length limit, and any byte but NUL may occur in a line.
bool writeJobFiles(const std::filesystem::path& directory, const NotedRuns& noted,
                   const std::string& marker, bool errorIntoOutput) {
  std::ofstream jobs(directory / "runs", std::ios::binary);
  std::ofstream captures(directory / "captures", std::ios::binary);
  for (const NotedRun& run : noted.runs) {
    // GNU parallel copies nothing for a run on this host (":"): that run
    // reads the capture where it is.
    if (!run.capture.empty()) {
      const size_t cut = run.capture.rfind("/./");
      jobs << "[ -e " << platform::posixSingleQuoted(run.capture.substr(cut + 3)) << " ] || cd "
           << platform::posixSingleQuoted(run.capture.substr(0, cut)) << "; ";
    }
    jobs << remoteJobText(run.commandLine, marker, errorIntoOutput) << '\0';
    captures << run.capture << '\0';
  }
  jobs.close();
  captures.close();
  return jobs.good() && captures.good();
}

std::string parallelCommandLine(const std::filesystem::path& directory, bool withCaptures) {
  using platform::posixSingleQuoted;
  std::string line = "parallel --will-cite --keep-order --halt never --retries ";
  line += kTriesPerRun;
  line += " --null --link --arg-file " + posixSingleQuoted((directory / "runs").string());
  if (!hostsInUse.logins.empty()) line += " --sshlogin " + posixSingleQuoted(hostsInUse.logins);
  if (!hostsInUse.loginFile.empty())
    line += " --sshloginfile " + posixSingleQuoted(hostsInUse.loginFile);
  if (withCaptures) {
    line += " --arg-file " + posixSingleQuoted((directory / "captures").string());
    // A working directory of its own for each run, removed with its copy.
    line += " --workdir ... --transferfile '{2}' --cleanup";
  } else {
    // Relative paths in ZAV.cfg mean the same on every host.
    std::error_code error;
    line += " --workdir " + posixSingleQuoted(std::filesystem::current_path(error).string());
  }
  return line + " sh -c '{1}'";
}

// Splits one of GNU parallel's streams at the runs' end markers and writes
// each part, in the order of the runs, preceded on standard output by the
// run's own text.
class RemoteRun {
 public:
  RemoteRun(const NotedRuns& noted, const std::string& marker, ChildProcesses& children)
      : noted_(noted), children_(children) {
    output_.marker = marker;
    output_.carriesStatus = true;
    error_.marker = marker;
    error_.toError = true;
  }

  bool run(const std::string& commandLine) {
    platform::ChildId child = 0;
    platform::StartFailure failure = platform::StartFailure::none;
    if (!children_.start(commandLine, child, failure)) {
      reportEndedRun(commandLine, failure, -1);
      return true;
    }
    for (;;) {
      platform::ChildEvent event;
      if (!children_.next(!stopped_, event)) break;
      if (event.kind == platform::ChildEventKind::interrupted) {
        // GNU parallel passes the signal on to every run, over ssh too.
        stopped_ = true;
        children_.stop(child);
      } else if (event.kind == platform::ChildEventKind::ended) {
        if (event.child == child) {
          parallelStatus_ = event.status;
          break;
        }
      } else if (!stopped_) {
        feed(event.kind == platform::ChildEventKind::error ? error_ : output_, event.bytes);
      }
    }
    if (stopped_) return false;
    finish();
    return true;
  }

  bool lostRuns() const { return lost_; }

 private:
  struct Stream {
    bool toError = false;
    bool carriesStatus = false;  // standard output's marker ends with the status
    std::string marker;
    std::string pending;
    size_t run = 0;  // the run whose output comes now
  };

  void feed(Stream& stream, const std::string& bytes) {
    stream.pending += bytes;
    for (;;) {
      const size_t at = stream.pending.find(stream.marker);
      if (at == std::string::npos) {
        // Whatever cannot be the start of a marker is written now.
        const size_t keep = std::min(stream.pending.size(), stream.marker.size() - 1);
        emit(stream, stream.pending.substr(0, stream.pending.size() - keep));
        stream.pending.erase(0, stream.pending.size() - keep);
        return;
      }
      size_t end = at + stream.marker.size();
      if (stream.carriesStatus) {
        end = stream.pending.find('\n', end);
        if (end == std::string::npos) {
          emit(stream, stream.pending.substr(0, at));
          stream.pending.erase(0, at);
          return;
        }
      }
      emit(stream, stream.pending.substr(0, at));
      // A run that failed on its host counts as one that failed here.
      const size_t statusAt = at + stream.marker.size();
      if (stream.carriesStatus && stream.pending.compare(statusAt, end - statusAt, "0") != 0)
        noteFailedRun();
      stream.pending.erase(0, end + (stream.carriesStatus ? 1 : 0));
      if (!stream.toError) showTextBefore(stream.run);
      ++stream.run;
    }
  }

  void emit(const Stream& stream, const std::string& bytes) {
    if (bytes.empty()) return;
    if (!stream.toError) showTextBefore(stream.run);
    std::string reason;
    if (!children_.writeBytes(stream.toError, bytes, reason) && lostReason_.empty())
      lostReason_ = reason;
  }

  void showTextBefore(size_t run) {
    while (shownTexts_ <= run && shownTexts_ < noted_.runs.size())
      children_.writeText(noted_.runs[shownTexts_++].textBefore);
  }

  // What GNU parallel wrote after the last marker is its own word (a host
  // that could not be reached, say); the runs without an end marker never
  // ended on any host.
  void finish() {
    for (Stream* stream : {&output_, &error_}) {
      std::string rest;
      rest.swap(stream->pending);
      emit(*stream, rest);
    }
    const size_t ended = output_.run;
    if (ended == 0 && !noted_.runs.empty() && !platform::runSucceeded(parallelStatus_)) {
      lost_ = true;
      printMessage("+ No host ran the TShark runs of this line (see -S and --sshloginfile).");
      std::cout.flush();
    } else {
      for (size_t i = ended; i < noted_.runs.size(); ++i) {
        lost_ = true;
        showTextBefore(i);
        printMessage("+ No host ran \"" + noted_.runs[i].commandLine + "\" to its end.");
        std::cout.flush();
      }
    }
    if (!lostReason_.empty()) {
      lost_ = true;
      std::cerr << "+ The output of this line is incomplete: " << lostReason_ << "." << std::endl;
    }
    children_.writeText(noted_.textAfter);
  }

  const NotedRuns& noted_;
  ChildProcesses& children_;
  Stream output_;
  Stream error_;
  size_t shownTexts_ = 0;
  bool stopped_ = false;
  bool lost_ = false;
  int parallelStatus_ = 0;
  std::string lostReason_;
};

}  // namespace

bool useRemoteHosts(const RemoteHosts& hosts, std::string& message) {
  const bool given = !hosts.logins.empty() || !hosts.loginFile.empty();
  if (!given) {
    if (hosts.transfer) message = "zav: --transfer needs -S or --sshloginfile";
    return !hosts.transfer;
  }
  // Looked up once, here, so that a missing program is a wrong option rather
  // than a message on every line.
  if (platform::findProgram("parallel").empty()) {
    message =
        "zav: -S and --sshloginfile need GNU parallel, which was not found (package parallel)";
    return false;
  }
  if ((!hosts.loginFile.empty() || !onlyThisHost(hosts.logins)) &&
      platform::findProgram("ssh").empty()) {
    message = "zav: -S and --sshloginfile need ssh, which was not found (package openssh-client)";
    return false;
  }
  if (hosts.transfer && platform::findProgram("rsync").empty()) {
    message = "zav: --transfer needs rsync, which was not found (package rsync)";
    return false;
  }
  if (!hosts.loginFile.empty() && !std::ifstream(hosts.loginFile).is_open()) {
    message = "zav: cannot read the login file " + hosts.loginFile;
    return false;
  }
  hostsInUse = hosts;
  if (!hosts.loginFile.empty()) {
    std::error_code error;
    hostsInUse.loginFile = std::filesystem::absolute(hosts.loginFile, error).string();
  }
  hostsAreUsed = true;
  return true;
}

bool runsGoToHosts() { return hostsAreUsed; }

bool runOnHosts(const std::function<void()>& plan) {
  NotedRuns noted = noteRuns(plan);
  ChildProcesses& children = *launchers().children;
  // A single run gains nothing from a host; it runs here, as without -S.
  if (noted.runs.size() < 2) {
    for (const NotedRun& run : noted.runs) {
      children.writeText(run.textBefore);
      runInCommandProcessor(run.commandLine);
    }
    children.writeText(noted.textAfter);
    return true;
  }
  if (hostsInUse.transfer && !pointRunsAtCopies(noted)) {
    printMessage("+ --transfer: a run of this line reads no capture of the capture directory.");
    return true;
  }
  std::error_code error;
  const std::string nonce = freshNonce();
  const std::string marker = "zav-run-end-" + nonce + ":";
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path(error) / ("zav-hosts-" + nonce);
  const bool errorIntoOutput = platform::outputAndErrorShareAFile();
  if (error || !std::filesystem::create_directory(directory, error) ||
      !writeJobFiles(directory, noted, marker, errorIntoOutput)) {
    printMessage("+ The runs of this line could not be handed to GNU parallel: " +
                 (error ? error.message() : std::string("cannot write ") + directory.string()) +
                 ".");
    std::filesystem::remove_all(directory, error);
    return true;
  }
  RemoteRun remote(noted, marker, children);
  const bool completed = remote.run(parallelCommandLine(directory, hostsInUse.transfer));
  if (remote.lostRuns()) noteFailedRun();
  std::filesystem::remove_all(directory, error);
  return completed;
}

}  // namespace zav
