// Implicit Constructors: Auxiliary Logic put in front of (Prefix) or behind
// (Suffix) the logic of every command of a type (Global), of listed commands
// (Specific), or of all but listed ones (Exclusion).
#ifndef ZAV_IC_IMPLICIT_CONSTRUCTORS_H_
#define ZAV_IC_IMPLICIT_CONSTRUCTORS_H_

#include <map>
#include <string>
#include <vector>

namespace zav {

// The twelve stores, addressed by the `gic` keys "pre.zav.g" … "suf.win.e".
struct ImplicitConstructorSet {
  // Global: one Auxiliary Logic name each; empty means none.
  std::string preZavGlobal, sufZavGlobal, preWinGlobal, sufWinGlobal;
  // Specific: command name -> Auxiliary Logic name, ordered by command name.
  std::map<std::string, std::string> preZavSpecific, sufZavSpecific, preWinSpecific,
      sufWinSpecific;
  // Exclusion: command names in the order they were accepted.
  std::vector<std::string> preZavExclusion, sufZavExclusion, preWinExclusion, sufWinExclusion;
};

extern ImplicitConstructorSet implicitConstructors;

// Parses one command file's text into the stores (twelve passes), printing
// every problem. Called by the loader for the main file, then each include.
void parseImplicitConstructors(std::string text);

// Adds the Implicit Constructor texts to the stored logic; once per load.
void applyImplicitConstructors();

// Empties all twelve stores (before `loadcmdfile` loads again).
void clearImplicitConstructors();

// `gic <key>`: prints one store.
void showImplicitConstructor(const std::string& key);

}  // namespace zav

#endif  // ZAV_IC_IMPLICIT_CONSTRUCTORS_H_
