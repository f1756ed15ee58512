// The order in which a directory's file names are worked through.
#ifndef ZAV_PLATFORM_DIRECTORY_ORDER_H_
#define ZAV_PLATFORM_DIRECTORY_ORDER_H_

#include <string>
#include <vector>

namespace zav {
namespace platform {

// Puts names, as the system listed them, into the order users of this
// platform expect. NTFS already lists names in order, so Windows keeps the
// system's order; POSIX directories list in no useful order (hash or
// creation order), so the names are sorted byte-wise to make runs
// repeatable.
void orderDirectoryNames(std::vector<std::string>& names);

}  // namespace platform
}  // namespace zav

#endif  // ZAV_PLATFORM_DIRECTORY_ORDER_H_
