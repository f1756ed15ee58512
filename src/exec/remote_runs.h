// Spreading the TShark runs of one typed line over several hosts (`zav -S`,
// `--sshloginfile`): GNU parallel does the spreading, the logins, the
// retries and the copying; the shell hands it the runs and puts what comes
// back in the order, and with the headings, of a one-after-another run.
#ifndef ZAV_EXEC_REMOTE_RUNS_H_
#define ZAV_EXEC_REMOTE_RUNS_H_

#include <functional>
#include <string>

namespace zav {

struct RemoteHosts {
  std::string logins;     // -S: GNU parallel's sshlogin list; ":" is this host
  std::string loginFile;  // --sshloginfile
  bool transfer = false;  // --transfer: each capture is copied to its host
};

// False, with a one-line `message` ("zav: ..."), when the hosts cannot be
// used: GNU parallel or ssh is missing, the login file cannot be read, or
// --transfer comes without hosts. Otherwise the hosts are used from now on
// (none given: every run stays here).
bool useRemoteHosts(const RemoteHosts& hosts, std::string& message);

// True once hosts are in use.
bool runsGoToHosts();

// As runSideBySide (ordered_runs.h), with one GNU parallel run over the
// hosts in place of local children. False when Ctrl-C stopped the runs.
bool runOnHosts(const std::function<void()>& plan);

}  // namespace zav

#endif  // ZAV_EXEC_REMOTE_RUNS_H_
