#include "platform/directory_order.h"

#include <algorithm>

namespace zav {
namespace platform {

// std::string compares as unsigned bytes (char_traits<char>::lt), so names
// outside ASCII sort by their byte values, independent of the locale.
void orderDirectoryNames(std::vector<std::string>& names) { std::sort(names.begin(), names.end()); }

}  // namespace platform
}  // namespace zav
