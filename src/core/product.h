// What the shell says about itself: its names, version, release and
// authors, and the console title made of them.
#ifndef ZAV_CORE_PRODUCT_H_
#define ZAV_CORE_PRODUCT_H_

#include <string>

namespace zav {

extern const std::string productShortName;  // "ZAV"
extern const std::string productFullName;
extern const std::string productVersion;
extern const std::string productEdition;
extern const std::string productReleaseDate;
extern const std::string productBuildVariant;
extern const std::string authorName;
extern const std::string authorEmail;
extern const std::string authorWebAddress;
extern const std::string consoleTitle;

}  // namespace zav

#endif  // ZAV_CORE_PRODUCT_H_
