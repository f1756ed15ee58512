// The files the shell reads and writes by fixed names.
#ifndef ZAV_CORE_FILE_NAMES_H_
#define ZAV_CORE_FILE_NAMES_H_

#include <string>

namespace zav {

inline const std::string configFileName = "ZAV.cfg";
inline const std::string commandFileName = "CMD.zav";
inline const std::string historyFileName = ".zav_history";

}  // namespace zav

#endif  // ZAV_CORE_FILE_NAMES_H_
