#include "builtins/dispatcher.h"

namespace zav {

bool dispatchBuiltin(std::string) { return false; }

}  // namespace zav
