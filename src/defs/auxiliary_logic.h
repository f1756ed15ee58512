// Auxiliary Logic: named fragments ("L.name = text") and the INSERT markers
// ("[INSERT(name)]") that paste them into command logic.
#ifndef ZAV_DEFS_AUXILIARY_LOGIC_H_
#define ZAV_DEFS_AUXILIARY_LOGIC_H_

#include <cstdint>
#include <string>

namespace zav {

// Adds every fragment line of one file's text to the table (the first
// definition of a name wins, later ones are reported), then cleans the
// table of INSERT markers.
void parseAuxiliaryLogic(const std::string& fileName, const std::string& text);

// Replaces the INSERT markers of a command's logic by their fragments. With
// a bad reference, or a fragment whose pasted text would bring its own
// marker back, the logic keeps every marker and the problem is reported.
void expandInserts(const std::string& cmd, std::string& logic);

}  // namespace zav

#endif  // ZAV_DEFS_AUXILIARY_LOGIC_H_
