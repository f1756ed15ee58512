// Implicit Constructors: Auxiliary Logic put in front of (Prefix) or behind
// (Suffix) the logic of every command of a type (Global), of listed commands
// (Specific), or of all but listed ones (Exclusion).
#ifndef ZAV_IC_IMPLICIT_CONSTRUCTORS_H_
#define ZAV_IC_IMPLICIT_CONSTRUCTORS_H_

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zav {

enum class IcPosition { prefix, suffix };
enum class IcType { zav, win };
enum class IcScope { global, specific, exclusion };

// The twelve stores, addressed by the `gic` keys "pre.zav.g" … "suf.win.e".
struct ImplicitConstructorSet {
  // Global: one Auxiliary Logic name each; empty means none. Never
  // overwritten once set within a load.
  std::string preZavGlobal, sufZavGlobal, preWinGlobal, sufWinGlobal;
  // Specific: command name -> Auxiliary Logic name, ordered by command name.
  std::map<std::string, std::string> preZavSpecific, sufZavSpecific, preWinSpecific, sufWinSpecific;
  // Exclusion: command names in the order they were accepted, each once.
  std::vector<std::string> preZavExclusion, sufZavExclusion, preWinExclusion, sufWinExclusion;
};

extern ImplicitConstructorSet implicitConstructors;

// The three stores of one position and type.
struct IcStores {
  std::string& global;
  std::map<std::string, std::string>& specific;
  std::vector<std::string>& exclusion;
};
IcStores icStores(IcPosition position, IcType type);

// The words as the command file and every message write them.
const char* positionWord(IcPosition position);  // "Prefix" / "Suffix"
const char* typeWord(IcType type);              // "ZAV" / "WIN"
// The one command list whose commands an IC of this type may name.
const char* typeListId(IcType type);  // "ZAVExtCMDsList" / "WINExtCMDsList"

// Parses one command file's text into the stores (twelve passes), printing
// every problem. Called by the loader for the main file, then each include;
// each call builds on what the earlier calls of the same load stored. The
// text may also be what implicitConstructorLines made of one: both parse
// alike.
void parseImplicitConstructors(std::string_view text);

// The parts of a text where an Implicit Constructor can stand: around every
// "Prefix." and "Suffix.", from the white space before it to the furthest
// place a match could end, each part cut out whole and the parts kept apart
// by a character none of the patterns takes. Every pattern finds in it the
// matches it finds in the whole text (each match lies inside one part, and
// "^" holds at the same places), so the twelve passes read a few lines
// instead of the file, and the loader can let the file go before them.
std::string implicitConstructorLines(std::string_view text);

// Adds the Implicit Constructor texts to the stored logic; once per load,
// after the last file has been parsed.
void applyImplicitConstructors();

// Empties all twelve stores (before `loadcmdfile` loads again).
void clearImplicitConstructors();

// `gic <key>`: prints one store, or "+ IC sub-command is not valid".
void showImplicitConstructor(const std::string& key);

}  // namespace zav

#endif  // ZAV_IC_IMPLICIT_CONSTRUCTORS_H_
