// Implicit Constructors: Auxiliary Logic put in front of (Prefix) or behind
// (Suffix) the logic of every command of a type (Global), of listed commands
// (Specific), or of all but listed ones (Exclusion).
#ifndef ZAV_IC_IMPLICIT_CONSTRUCTORS_H_
#define ZAV_IC_IMPLICIT_CONSTRUCTORS_H_

#include <map>
#include <string>
#include <unordered_set>
#include <vector>

namespace zav {

enum class IcPosition { prefix, suffix };
enum class IcType { zav, win };
enum class IcScope { global, specific, exclusion };

// The three stores of one position and type. Together the four slots are the
// twelve stores that `gic` addresses as "pre.zav.g" … "suf.win.e".
struct IcSlot {
  // Global: one Auxiliary Logic name; empty means none. Never overwritten
  // once set within a load.
  std::string global;
  // Specific: command name -> Auxiliary Logic name, ordered by command name.
  std::map<std::string, std::string> specific;
  // Exclusion: command names in the order they were accepted, each once.
  std::vector<std::string> exclusion;
  // The same names as `exclusion`, so membership costs no scan of the list.
  std::unordered_set<std::string> excluded;
};

struct ImplicitConstructorSet {
  IcSlot slots[2][2];  // [position][type]
};

extern ImplicitConstructorSet implicitConstructors;

IcSlot& icSlot(IcPosition position, IcType type);

// The words as the command file and every message write them.
const char* positionWord(IcPosition position);  // "Prefix" / "Suffix"
const char* typeWord(IcType type);              // "ZAV" / "WIN"
// The one command list whose commands an IC of this type may name.
const char* typeListId(IcType type);  // "ZAVExtCMDsList" / "WINExtCMDsList"

// Parses one command file's text into the stores (twelve passes), printing
// every problem. Called by the loader for the main file, then each include;
// each call builds on what the earlier calls of the same load stored.
void parseImplicitConstructors(std::string text);

// Adds the Implicit Constructor texts to the stored logic; once per load,
// after the last file has been parsed.
void applyImplicitConstructors();

// Empties all twelve stores (before `loadcmdfile` loads again).
void clearImplicitConstructors();

// `gic <key>`: prints one store, or "+ IC sub-command is not valid".
void showImplicitConstructor(const std::string& key);

}  // namespace zav

#endif  // ZAV_IC_IMPLICIT_CONSTRUCTORS_H_
