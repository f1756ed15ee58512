// Multi Command Units: "MCU(name){ lines };", a named list of lines that
// `exmcu` runs one after the other.
#ifndef ZAV_DEFS_MCU_DEFINITIONS_H_
#define ZAV_DEFS_MCU_DEFINITIONS_H_

#include <string>
#include <vector>

namespace zav {

// Appends every unit of one file's text to the unit list; a name already
// listed is reported and the later unit dropped.
void parseMcus(const std::string& fileName, const std::string& text);

}  // namespace zav

#endif  // ZAV_DEFS_MCU_DEFINITIONS_H_
