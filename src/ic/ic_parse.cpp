// Reading Implicit Constructor lines out of one command file's text into the
// twelve stores, with every problem reported and skipped.
#include "ic/implicit_constructors.h"

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/console_output.h"
#include "defs/command_store.h"
#include "text/line_keyword.h"
#include "text/patterns.h"
#include "text/regex.h"

namespace zav {
namespace {

// --- Messages. Global ones name position before type, the others type
// before position.

std::string globalKeyWords(IcPosition position, IcType type) {
  return std::string("Global ") + positionWord(position) + " " + typeWord(type);
}

std::string localKeyWords(IcPosition position, IcType type) {
  return std::string("Local ") + typeWord(type) + " " + positionWord(position);
}

std::string constructNamed(const std::string& name, IcPosition position, IcType type) {
  return "+ Referenced construct name \"" + name + "\" in the " + localKeyWords(position, type) +
         " Implicit Constructor";
}

std::string notOfType(IcType type) {
  return std::string(type == IcType::zav ? "an " : "a ") + typeWord(type) + " construct.";
}

constexpr const char* kRectifyReference = "  Please rectify offending reference and try again.";
constexpr const char* kRectifyCommand = "  Please rectify offending command and try again.";

void printOnlyOneGlobal(IcPosition position, IcType type) {
  printMessage("+ Only one " + globalKeyWords(position, type) +
               " Implicit Constructor is allowed. Only the first will be parsed.");
}

void printGlobalReferenceInvalid(const std::string& al, IcPosition position, IcType type) {
  printMessage("+ Referenced auxiliary logic \"" + al + "\" in the first " +
                   globalKeyWords(position, type) + " Implicit Constructor is not valid.",
               kRectifyReference);
}

void printLocalReferenceInvalid(const std::string& al, IcPosition position, IcType type) {
  printMessage("+ Referenced auxiliary logic \"" + al + "\" in the " +
                   localKeyWords(position, type) + " Implicit Constructor is not valid.",
               kRectifyReference);
}

void printSpecificNameInvalid(const std::string& name, IcPosition position, IcType type) {
  printMessage(constructNamed(name, position, type) + " is not valid.", kRectifyCommand);
}

void printSpecificWrongType(const std::string& name, IcPosition position, IcType type) {
  printMessage(constructNamed(name, position, type) + " is not " + notOfType(type),
               kRectifyCommand);
}

void printAlreadyAssigned(const std::string& name, IcPosition position, IcType type) {
  printMessage(constructNamed(name, position, type) + " is already assigned an AL value.",
               "  Only the first instance is taken.");
}

void printExcludedNameInvalid(const std::string& name, IcPosition position, IcType type) {
  printMessage(constructNamed(name, position, type) + " (exclude) is not valid.", kRectifyCommand);
}

void printExcludedWrongType(const std::string& name, IcPosition position, IcType type) {
  printMessage(constructNamed(name, position, type) + " (exclude) is not " + notOfType(type),
               kRectifyCommand);
}

void printAlreadyExcluded(const std::string& name, IcPosition position, IcType type) {
  printMessage(constructNamed(name, position, type) + " is already excluded.");
}

// --- Patterns, each compiled on first use and kept for the run.

const Regex& passPattern(IcScope scope, IcPosition position, IcType type) {
  static std::unique_ptr<Regex> compiled[3][2][2];
  std::unique_ptr<Regex>& slot =
      compiled[static_cast<int>(scope)][static_cast<int>(position)][static_cast<int>(type)];
  if (!slot) {
    std::string positionText = positionWord(position);
    std::string typeText = typeWord(type);
    std::string pattern = scope == IcScope::global ? patterns::icGlobal(positionText, typeText)
                          : scope == IcScope::specific
                              ? patterns::icSpecific(positionText, typeText)
                              : patterns::icExclusion(positionText, typeText);
    // Each pattern begins with "^[\s\t]*<position>.<type>": compiled anchored,
    // it is tried only where that keyword stands (see passKeyword).
    slot = std::make_unique<Regex>(pattern, RegexAnchor::atStart);
  }
  return *slot;
}

std::string passKeyword(IcPosition position, IcType type) {
  return std::string(positionWord(position)) + "." + typeWord(type);
}

const Regex& nameSplitter() {
  static const Regex splitter(patterns::icNameSplitter);
  return splitter;
}

// Calls `handle` for every match, left to right, each search running on the
// rest of the text as a new text so that "^" holds right behind the previous
// match: two ICs of one key on one line are both found. An engine error ends
// the walk like the end of the matches.
// With a keyword, `regex` is anchored and tried only at that keyword's lines.
template <typename Handle>
void forEachMatch(const Regex& regex, const std::string& text, Handle handle,
                  const std::string& keyword = std::string()) {
  RegexMatch match;
  size_t start = 0;
  auto next = [&] {
    return keyword.empty()
               ? regex.search(text, match, start, SearchFrom::restAsNewText)
               : searchLineKeyword(regex, keyword, text, match, start, SearchFrom::restAsNewText);
  };
  while (start <= text.size() && next() == SearchStatus::found) {
    handle(match);
    // None of these patterns matches an empty text; the guard only keeps a
    // changed pattern from looping for ever.
    start = match.end() > start ? match.end() : start + 1;
  }
}

// Every name of a list run such as "a, b,\n" or "!a, !b, ".
template <typename Handle>
void forEachListedName(const std::string& run, Handle handle) {
  forEachMatch(nameSplitter(), run, [&](const RegexMatch& match) { handle(match.group(run, 1)); });
}

enum class NameKind { missing, ownType, otherType };

NameKind classifyName(const std::string& name, IcType type) {
  CommandLocation location;
  if (!findCommand(name, location)) return NameKind::missing;
  return location.listId == typeListId(type) ? NameKind::ownType : NameKind::otherType;
}

// --- The three kinds of pass.

void globalPass(const std::string& text, IcPosition position, IcType type) {
  size_t count = 0;
  std::string al;
  forEachMatch(
      passPattern(IcScope::global, position, type), text,
      [&](const RegexMatch& match) {
        if (count++ == 0) al = match.group(text, 1);
      },
      passKeyword(position, type));
  if (count >= 2) printOnlyOneGlobal(position, type);
  if (count == 0) return;
  if (findAuxiliaryLogic(al) == nullptr) {
    printGlobalReferenceInvalid(al, position, type);
    return;
  }
  std::string& store = icStores(position, type).global;
  // An earlier file of the same load keeps its Global IC, silently.
  if (store.empty()) store = al;
}

void registerSpecific(const std::string& name, const std::string& al, IcPosition position,
                      IcType type) {
  switch (classifyName(name, type)) {
    case NameKind::missing:
      printSpecificNameInvalid(name, position, type);
      return;
    case NameKind::otherType:
      printSpecificWrongType(name, position, type);
      return;
    case NameKind::ownType:
      if (!icStores(position, type).specific.emplace(name, al).second)
        printAlreadyAssigned(name, position, type);
      return;
  }
}

void specificPass(const std::string& text, IcPosition position, IcType type) {
  forEachMatch(
      passPattern(IcScope::specific, position, type), text,
      [&](const RegexMatch& match) {
        std::string al = match.group(text, 4);
        // An undefined AL rejects the whole IC before any of its names is read.
        if (findAuxiliaryLogic(al) == nullptr) {
          printLocalReferenceInvalid(al, position, type);
          return;
        }
        forEachListedName(match.group(text, 1), [&](const std::string& name) {
          registerSpecific(name, al, position, type);
        });
        registerSpecific(match.group(text, 3), al, position, type);
      },
      passKeyword(position, type));
}

// One Exclusion store with an index of its names, so that a long list is
// not scanned for every name a file adds to it.
struct ExclusionTarget {
  std::vector<std::string>& names;
  std::unordered_set<std::string> accepted;

  explicit ExclusionTarget(std::vector<std::string>& store)
      : names(store), accepted(store.begin(), store.end()) {}
};

void exclude(const std::string& name, ExclusionTarget& target, IcPosition position, IcType type) {
  switch (classifyName(name, type)) {
    case NameKind::missing:
      printExcludedNameInvalid(name, position, type);
      return;
    case NameKind::otherType:
      printExcludedWrongType(name, position, type);
      return;
    case NameKind::ownType:
      if (!target.accepted.insert(name).second) {
        printAlreadyExcluded(name, position, type);
        return;
      }
      target.names.push_back(name);
      return;
  }
}

void exclusionPass(const std::string& text, IcPosition position, IcType type) {
  ExclusionTarget target(icStores(position, type).exclusion);
  forEachMatch(
      passPattern(IcScope::exclusion, position, type), text,
      [&](const RegexMatch& match) {
        forEachListedName(match.group(text, 1),
                          [&](const std::string& name) { exclude(name, target, position, type); });
        // The last item is captured with its "!".
        exclude(match.group(text, 3).substr(1), target, position, type);
      },
      passKeyword(position, type));
}

// --- Where the patterns can match.

// Every character an Implicit Constructor match can hold: white space, name
// characters and "= { } * , ! - > [ ] .".
bool isIcChar(char c) {
  return isPatternSpace(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         (c >= '0' && c <= '9') ||
         std::string_view("_={}*,!->[].").find(c) != std::string_view::npos;
}

// Kept between the parts of implicitConstructorLines: no pattern takes it,
// and it is not a line feed, so "^" does not hold behind it.
constexpr char kPartGap = '\0';

// No match that begins at the keyword at `keyword` ends behind the returned
// position. Every pattern takes the list up to the first "}" (no list holds
// one), then white space, and the Global and Specific ones an arrow up to
// its first "]" and the white space behind it; a character no pattern takes
// ends every match earlier.
size_t furthestMatchEnd(std::string_view text, size_t keyword) {
  auto upTo = [&](size_t at, char close) {
    while (at < text.size() && text[at] != close && isIcChar(text[at])) ++at;
    return at;
  };
  auto skipSpace = [&](size_t at) {
    while (at < text.size() && isPatternSpace(text[at])) ++at;
    return at;
  };
  size_t at = upTo(keyword, '}');
  if (at == text.size() || text[at] != '}') return at;
  at = skipSpace(at + 1);
  if (text.substr(at, 2) != "->") return at;
  at = upTo(at, ']');
  if (at == text.size() || text[at] != ']') return at;
  return skipSpace(at + 1);
}

}  // namespace

std::string implicitConstructorLines(std::string_view text) {
  std::string lines;
  bool open = false;
  size_t partBegin = 0;
  size_t partEnd = 0;
  auto closePart = [&] {
    if (partBegin > 0) lines += kPartGap;
    lines.append(text.substr(partBegin, partEnd - partBegin));
    if (partEnd < text.size()) lines += kPartGap;
  };
  for (size_t at = text.find("fix."); at != std::string_view::npos;
       at = text.find("fix.", at + 1)) {
    if (at < 3) continue;
    std::string_view word = text.substr(at - 3, 3);
    if (word != "Pre" && word != "Suf") continue;
    size_t keyword = at - 3;
    size_t begin = keyword;
    while (begin > 0 && isPatternSpace(text[begin - 1])) --begin;
    size_t end = furthestMatchEnd(text, keyword);
    if (open && begin <= partEnd) {
      partEnd = std::max(partEnd, end);
      continue;
    }
    if (open) closePart();
    open = true;
    partBegin = begin;
    partEnd = end;
  }
  if (open) closePart();
  return lines;
}

void parseImplicitConstructors(std::string_view fileText) {
  using P = IcPosition;
  using T = IcType;
  const std::string text = implicitConstructorLines(fileText);
  // The order of the passes is the order of their messages: Global takes
  // both positions of ZAV, then of WIN; Specific and Exclusion take both
  // types of Prefix, then of Suffix.
  globalPass(text, P::prefix, T::zav);
  globalPass(text, P::suffix, T::zav);
  globalPass(text, P::prefix, T::win);
  globalPass(text, P::suffix, T::win);
  specificPass(text, P::prefix, T::zav);
  specificPass(text, P::prefix, T::win);
  specificPass(text, P::suffix, T::zav);
  specificPass(text, P::suffix, T::win);
  exclusionPass(text, P::prefix, T::zav);
  exclusionPass(text, P::prefix, T::win);
  exclusionPass(text, P::suffix, T::zav);
  exclusionPass(text, P::suffix, T::win);
}

}  // namespace zav
