#include "core/product.h"

namespace zav {

const std::string productShortName = "ZAV";
const std::string productFullName = "Vorrindal";
const std::string productVersion = "1.1";
const std::string productEdition = "Orvandel";
const std::string productReleaseDate = "November 05, 2017";
const std::string productBuildVariant = "64-bit";
const std::string authorName = "The ZAV developers";
const std::string authorEmail = "zav-dev@example.org";
const std::string authorWebAddress = "https://zav.example.org";
const std::string consoleTitle = productShortName + " (" + productFullName + ") " + "v" +
                                 productVersion + " (" + productBuildVariant + ") " +
                                 " Release Date: [" + productReleaseDate + "]";

}  // namespace zav
