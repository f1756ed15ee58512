#include "ic/implicit_constructors.h"

#include "defs/command_store.h"

namespace zav {

ImplicitConstructorSet implicitConstructors;

IcStores icStores(IcPosition position, IcType type) {
  ImplicitConstructorSet& s = implicitConstructors;
  bool prefix = position == IcPosition::prefix;
  if (type == IcType::zav) {
    return prefix ? IcStores{s.preZavGlobal, s.preZavSpecific, s.preZavExclusion}
                  : IcStores{s.sufZavGlobal, s.sufZavSpecific, s.sufZavExclusion};
  }
  return prefix ? IcStores{s.preWinGlobal, s.preWinSpecific, s.preWinExclusion}
                : IcStores{s.sufWinGlobal, s.sufWinSpecific, s.sufWinExclusion};
}

const char* positionWord(IcPosition position) {
  return position == IcPosition::prefix ? "Prefix" : "Suffix";
}

const char* typeWord(IcType type) { return type == IcType::zav ? "ZAV" : "WIN"; }

const char* typeListId(IcType type) { return type == IcType::zav ? kZavExtList : kWinExtList; }

void clearImplicitConstructors() { implicitConstructors = ImplicitConstructorSet(); }

}  // namespace zav
