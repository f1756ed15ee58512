#include "defs/loader.h"

namespace zav {

void loadCommandFile() {}

}  // namespace zav
