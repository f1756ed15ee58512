#include "core/run_outcome.h"

namespace zav {

namespace {

bool failed = false;

}  // namespace

void noteFailedRun() { failed = true; }

bool anyRunFailed() { return failed; }

void resetRunOutcome() { failed = false; }

}  // namespace zav
