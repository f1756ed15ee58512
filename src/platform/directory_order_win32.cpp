#include "platform/directory_order.h"

namespace zav {
namespace platform {

// NTFS hands out a directory's names in its own collation order, which is
// what Explorer and "dir" show; keep it.
void orderDirectoryNames(std::vector<std::string>&) {}

}  // namespace platform
}  // namespace zav
