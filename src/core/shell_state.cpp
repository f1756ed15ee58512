#include "core/shell_state.h"

namespace zav {

std::string currentCapture;
HistoryList history;
unsigned parallelRuns = 1;

}  // namespace zav
