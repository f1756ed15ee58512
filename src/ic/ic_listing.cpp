// `gic <key>`: what one of the twelve Implicit Constructor stores holds.
#include "ic/implicit_constructors.h"

#include <iostream>
#include <string>

#include "core/console_output.h"

namespace zav {
namespace {

struct SubCommand {
  const char* key;
  IcScope scope;
  IcType type;
  IcPosition position;
};

// In the order the argument is compared with them.
constexpr SubCommand kSubCommands[] = {
    {"pre.zav.g", IcScope::global, IcType::zav, IcPosition::prefix},
    {"pre.win.g", IcScope::global, IcType::win, IcPosition::prefix},
    {"suf.zav.g", IcScope::global, IcType::zav, IcPosition::suffix},
    {"suf.win.g", IcScope::global, IcType::win, IcPosition::suffix},
    {"pre.zav.s", IcScope::specific, IcType::zav, IcPosition::prefix},
    {"pre.win.s", IcScope::specific, IcType::win, IcPosition::prefix},
    {"suf.zav.s", IcScope::specific, IcType::zav, IcPosition::suffix},
    {"suf.win.s", IcScope::specific, IcType::win, IcPosition::suffix},
    {"pre.zav.e", IcScope::exclusion, IcType::zav, IcPosition::prefix},
    {"pre.win.e", IcScope::exclusion, IcType::win, IcPosition::prefix},
    {"suf.zav.e", IcScope::exclusion, IcType::zav, IcPosition::suffix},
    {"suf.win.e", IcScope::exclusion, IcType::win, IcPosition::suffix},
};

void printEmpty(const std::string& typeAndPosition, const char* scopeWord) {
  printMessage("+ " + typeAndPosition + " " + scopeWord + " Implicit Constructor is empty");
}

void showGlobal(const IcStores& stores, const std::string& typeAndPosition) {
  if (stores.global.empty()) return printEmpty(typeAndPosition, "Global");
  printField(kFieldColour, "Global " + typeAndPosition + " IC", stores.global);
}

void showSpecific(const IcStores& stores, const std::string& typeAndPosition) {
  if (stores.specific.empty()) return printEmpty(typeAndPosition, "Specific");
  std::cout << "\n [ List of Specific " << typeAndPosition << " Implicit Constructors ]\n";
  for (const auto& [name, al] : stores.specific) printField(kFieldColour, name, al);
}

void showExclusion(const IcStores& stores, const std::string& typeAndPosition) {
  if (stores.exclusion.empty()) return printEmpty(typeAndPosition, "Exclusion");
  std::cout << "\n [ List of " << typeAndPosition << " Exclusion Implicit Constructors ]\n\n";
  for (const std::string& name : stores.exclusion) {
    std::cout << "  ";
    printColoured(kFieldColour, name);
    std::cout << '\n';
  }
  std::cout.flush();
}

}  // namespace

void showImplicitConstructor(const std::string& key) {
  for (const SubCommand& sub : kSubCommands) {
    if (key != sub.key) continue;
    IcStores stores = icStores(sub.position, sub.type);
    // Listings put the type before the position, as the Local messages do.
    std::string typeAndPosition =
        std::string(typeWord(sub.type)) + " " + positionWord(sub.position);
    switch (sub.scope) {
      case IcScope::global:
        return showGlobal(stores, typeAndPosition);
      case IcScope::specific:
        return showSpecific(stores, typeAndPosition);
      case IcScope::exclusion:
        return showExclusion(stores, typeAndPosition);
    }
  }
  printMessage("+ IC sub-command is not valid");
}

}  // namespace zav
