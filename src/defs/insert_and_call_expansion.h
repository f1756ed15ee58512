// Replacing INSERT and CALL markers in command logic. Both follow one rule:
// replace the leftmost marker by the text its name stands for (used as an
// ECMAScript replacement format), then search the changed text again from
// its start, until no marker is left. Done literally that costs a copy of
// the whole text per marker and never ends when a pasted text brings its own
// marker back; this engine gives the same result in time linear in the text
// it produces, and stops the cases that would not end.
#ifndef ZAV_DEFS_INSERT_AND_CALL_EXPANSION_H_
#define ZAV_DEFS_INSERT_AND_CALL_EXPANSION_H_

#include <cstddef>
#include <string>

namespace zav {

class Regex;

struct MarkerKind {
  const Regex& namedMarker;  // group 1 is the name
  const char* literal;       // what every marker begins with, as plain text
  size_t longestMarker;      // the longest text a marker can have
  // The text that a name stands for, or nullptr when nothing bears the name.
  // It must stay in place, unchanged, while one expansion runs.
  const std::string* (*lookup)(const std::string& name);
};

enum class ExpansionStop {
  none,         // every marker was replaced
  unknownName,  // a marker made by pasting names nothing
  cycle,        // a marker names a text that is being pasted already
  sizeLimit,    // the text or the work grew past its limit
};

struct ExpansionOutcome {
  ExpansionStop stop = ExpansionStop::none;
  std::string name;  // the name of the marker at which the expansion stopped
  // For unknownName and cycle: the text as far as it was expanded, with the
  // offending marker as its leftmost one (what the literal loop held then).
  std::string partial;
};

// Expands every marker of `text`. On success `text` holds the result; on any
// stop it is left unchanged and the outcome says why. A marker naming
// `rootName` (the command whose logic this is; empty for none) is a cycle
// wherever it appears, as is a marker inside pasted text that names a text
// being pasted around it.
ExpansionOutcome expandMarkers(std::string& text, const MarkerKind& kind,
                               const std::string& rootName);

// What one expansion may do: grow the text by kExpansionGrowthLimit bytes,
// and spend kExpansionWorkLimit units of work (pasted bytes plus a fixed
// charge per replacement), out of the kExpansionLoadBudget that one load
// shares. Real command files stay far below all three; they bound what a
// hostile file can make the shell allocate and compute.
inline constexpr size_t kExpansionGrowthLimit = 16u << 20;
inline constexpr size_t kExpansionWorkLimit = 32u << 20;
inline constexpr size_t kExpansionLoadBudget = 256u << 20;

// Gives the load its full expansion budget again; the loader calls it first.
void resetExpansionBudget();

}  // namespace zav

#endif  // ZAV_DEFS_INSERT_AND_CALL_EXPANSION_H_
