#include "ic/implicit_constructors.h"

#include <gtest/gtest.h>

#include <string>

#include "ic/ic_test_support.h"

namespace zav {
namespace {

using testing_support::captureOutput;

std::string gic(const std::string& key) {
  return captureOutput([&] { showImplicitConstructor(key); });
}

struct KeyWords {
  const char* key;
  IcScope scope;
  IcPosition position;
  IcType type;
  const char* typeAndPosition;
};

const KeyWords kKeys[] = {
    {"pre.zav.g", IcScope::global, IcPosition::prefix, IcType::zav, "ZAV Prefix"},
    {"pre.win.g", IcScope::global, IcPosition::prefix, IcType::win, "WIN Prefix"},
    {"suf.zav.g", IcScope::global, IcPosition::suffix, IcType::zav, "ZAV Suffix"},
    {"suf.win.g", IcScope::global, IcPosition::suffix, IcType::win, "WIN Suffix"},
    {"pre.zav.s", IcScope::specific, IcPosition::prefix, IcType::zav, "ZAV Prefix"},
    {"pre.win.s", IcScope::specific, IcPosition::prefix, IcType::win, "WIN Prefix"},
    {"suf.zav.s", IcScope::specific, IcPosition::suffix, IcType::zav, "ZAV Suffix"},
    {"suf.win.s", IcScope::specific, IcPosition::suffix, IcType::win, "WIN Suffix"},
    {"pre.zav.e", IcScope::exclusion, IcPosition::prefix, IcType::zav, "ZAV Prefix"},
    {"pre.win.e", IcScope::exclusion, IcPosition::prefix, IcType::win, "WIN Prefix"},
    {"suf.zav.e", IcScope::exclusion, IcPosition::suffix, IcType::zav, "ZAV Suffix"},
    {"suf.win.e", IcScope::exclusion, IcPosition::suffix, IcType::win, "WIN Suffix"},
};

const char* scopeWord(IcScope scope) {
  return scope == IcScope::global     ? "Global"
         : scope == IcScope::specific ? "Specific"
                                      : "Exclusion";
}

TEST(ImplicitConstructorListing, EveryKeyEmpty) {
  clearImplicitConstructors();
  for (const KeyWords& k : kKeys)
    EXPECT_EQ(gic(k.key), std::string("\n+ ") + k.typeAndPosition + " " + scopeWord(k.scope) +
                              " Implicit Constructor is empty\n")
        << k.key;
}

// Each key filled on its own, so a key that prints another key's store fails.
TEST(ImplicitConstructorListing, EveryKeyFilled) {
  for (const KeyWords& k : kKeys) {
    clearImplicitConstructors();
    IcStores stores = icStores(k.position, k.type);
    std::string expected;
    switch (k.scope) {
      case IcScope::global:
        stores.global = "common_opts";
        expected = std::string("\n  Global ") + k.typeAndPosition + " IC: common_opts\n";
        break;
      case IcScope::specific:
        stores.specific = {{"zeta", "x"}, {"Beta", "y"}, {"alpha", "z"}};
        expected = std::string("\n [ List of Specific ") + k.typeAndPosition +
                   " Implicit Constructors ]\n\n  Beta: y\n\n  alpha: z\n\n  zeta: x\n";
        break;
      case IcScope::exclusion:
        stores.exclusion = {"zeta", "alpha", "Beta"};
        expected = std::string("\n [ List of ") + k.typeAndPosition +
                   " Exclusion Implicit Constructors ]\n\n  zeta\n  alpha\n  Beta\n";
        break;
    }
    for (const KeyWords& other : kKeys) {
      std::string output = gic(other.key);
      if (other.key == k.key)
        EXPECT_EQ(output, expected) << k.key;
      else
        EXPECT_NE(output.find("is empty"), std::string::npos) << other.key << " with " << k.key;
    }
  }
}

TEST(ImplicitConstructorListing, InvalidSubCommands) {
  clearImplicitConstructors();
  icStores(IcPosition::prefix, IcType::zav).global = "x";
  for (const char* key : {"PRE.ZAV.G", "pre.zav", "pre.zav.g ", "pre.zav.x", ""})
    EXPECT_EQ(gic(key), "\n+ IC sub-command is not valid\n") << "[" << key << "]";
}

}  // namespace
}  // namespace zav
