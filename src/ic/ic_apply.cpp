// Writing the Implicit Constructor texts into the stored command logic, once
// at the end of every load. Per position a command gets the Specific text if
// one names it, else nothing if it is excluded, else the Global text.
#include "ic/implicit_constructors.h"

#include <map>
#include <string>
#include <unordered_set>

#include "defs/command_store.h"

namespace zav {
namespace {

// Builds the new logic in a string of its exact size: growing the old one
// in place would double its capacity, for every command of the type.
void addText(std::string& logic, const std::string& text, IcPosition position) {
  std::string joined;
  joined.reserve(logic.size() + text.size());
  if (position == IcPosition::prefix)
    joined.append(text).append(logic);
  else
    joined.append(logic).append(text);
  logic.swap(joined);
}

// Phase 1: every command of the type that neither a Specific IC nor an
// Exclusion of the same position claims.
void applyGlobal(IcPosition position, IcType type) {
  IcStores stores = icStores(position, type);
  if (stores.global.empty()) return;
  // The parse only stores defined names; a missing one is skipped all the same.
  const std::string* text = findAuxiliaryLogic(stores.global);
  if (text == nullptr) return;
  // Indexed once, so each command costs two lookups, not a scan of the list.
  std::unordered_set<std::string> excluded(stores.exclusion.begin(), stores.exclusion.end());
  for (CommandRecord& record : mutableCommandList(typeListId(type))) {
    if (stores.specific.count(record.name) != 0 || excluded.count(record.name) != 0) continue;
    addText(record.logic, *text, position);
  }
}

// Phase 2: each Specific entry, in command-name order, to the first command
// of that name in the type's own list.
void applySpecific(IcPosition position, IcType type) {
  const std::map<std::string, std::string>& specific = icStores(position, type).specific;
  if (specific.empty()) return;
  CommandList& records = mutableCommandList(typeListId(type));
  for (const auto& [name, al] : specific) {
    const std::string* text = findAuxiliaryLogic(al);
    size_t index = 0;
    if (text == nullptr || !findCommandInList(typeListId(type), name, index)) continue;
    addText(records[index].logic, *text, position);
  }
}

}  // namespace

void applyImplicitConstructors() {
  using P = IcPosition;
  using T = IcType;
  applyGlobal(P::prefix, T::zav);
  applyGlobal(P::prefix, T::win);
  applyGlobal(P::suffix, T::zav);
  applyGlobal(P::suffix, T::win);
  applySpecific(P::prefix, T::zav);
  applySpecific(P::prefix, T::win);
  applySpecific(P::suffix, T::zav);
  applySpecific(P::suffix, T::win);
}

}  // namespace zav
