#include "ic/implicit_constructors.h"

#include "defs/command_store.h"

namespace zav {

ImplicitConstructorSet implicitConstructors;

IcSlot& icSlot(IcPosition position, IcType type) {
  return implicitConstructors.slots[static_cast<int>(position)][static_cast<int>(type)];
}

const char* positionWord(IcPosition position) {
  return position == IcPosition::prefix ? "Prefix" : "Suffix";
}

const char* typeWord(IcType type) { return type == IcType::zav ? "ZAV" : "WIN"; }

const char* typeListId(IcType type) { return type == IcType::zav ? kZavExtList : kWinExtList; }

void clearImplicitConstructors() { implicitConstructors = ImplicitConstructorSet(); }

}  // namespace zav
