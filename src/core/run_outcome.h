// Whether everything the lines of -c or FILE asked for succeeded, which
// their exit status tells a script. Process-wide; the prompt ignores it.
#ifndef ZAV_CORE_RUN_OUTCOME_H_
#define ZAV_CORE_RUN_OUTCOME_H_

namespace zav {

// Notes that something a line asked for did not succeed: a command line
// ended with a status other than 0, was killed or could not be started; a
// line or command text was refused; or a file the run needs (ZAV.cfg, a
// command file, a LIST file) could not be read.
void noteFailedRun();

// True once noteFailedRun was called since the start or the last reset.
bool anyRunFailed();
void resetRunOutcome();

}  // namespace zav

#endif  // ZAV_CORE_RUN_OUTCOME_H_
