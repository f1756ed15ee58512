// Shared by the Implicit Constructor tests: a command store filled directly,
// captured standard output and a one-line picture of the twelve stores.
#ifndef ZAV_IC_IC_TEST_SUPPORT_H_
#define ZAV_IC_IC_TEST_SUPPORT_H_

#include <string>

#include "core/output_capture_test_support.h"
#include "defs/command_store.h"
#include "ic/implicit_constructors.h"

namespace zav {
namespace testing_support {

inline void addCommand(const char* listId, const std::string& name, const std::string& logic,
                       bool hidden = false) {
  CommandRecord record;
  record.name = name;
  record.logic = logic;
  record.hidden = hidden;
  appendCommand(listId, record);
}

// ZAV commands a, b, c, stats, hid (hidden) and run; WIN commands dir_all,
// list_tmp and run (so "run" is found as the ZAV one); fragments x, y,
// common_opts and to_file.
inline void fillStandardStore() {
  clearCommandStore();
  clearImplicitConstructors();
  for (const char* name : {"a", "b", "c", "stats"}) addCommand(kZavExtList, name, "-q");
  addCommand(kZavExtList, "hid", "-q", true);
  addCommand(kZavExtList, "run", "-q");
  for (const char* name : {"dir_all", "list_tmp", "run"}) addCommand(kWinExtList, name, "dir");
  addAuxiliaryLogic("x", "X ");
  addAuxiliaryLogic("y", " Y");
  addAuxiliaryLogic("common_opts", "-n ");
  addAuxiliaryLogic("to_file", " > out.txt");
}

// The non-empty stores in `gic` key order, e.g.
// "pre.zav.g=x pre.zav.s={a:x,b:x} suf.win.e=[c,a]".
inline std::string describeStores() {
  std::string out;
  auto separate = [&] {
    if (!out.empty()) out += ' ';
  };
  for (IcScope scope : {IcScope::global, IcScope::specific, IcScope::exclusion}) {
    for (IcPosition position : {IcPosition::prefix, IcPosition::suffix}) {
      for (IcType type : {IcType::zav, IcType::win}) {
        IcStores stores = icStores(position, type);
        std::string key = std::string(position == IcPosition::prefix ? "pre." : "suf.") +
                          (type == IcType::zav ? "zav." : "win.");
        if (scope == IcScope::global && !stores.global.empty()) {
          separate();
          out += key + "g=" + stores.global;
        } else if (scope == IcScope::specific && !stores.specific.empty()) {
          separate();
          out += key + "s={";
          for (const auto& [name, al] : stores.specific)
            out += name + ":" + al + (name == stores.specific.rbegin()->first ? "}" : ",");
        } else if (scope == IcScope::exclusion && !stores.exclusion.empty()) {
          separate();
          out += key + "e=[";
          for (size_t i = 0; i < stores.exclusion.size(); ++i)
            out += stores.exclusion[i] + (i + 1 == stores.exclusion.size() ? "]" : ",");
        }
      }
    }
  }
  return out;
}

}  // namespace testing_support
}  // namespace zav

#endif  // ZAV_IC_IC_TEST_SUPPORT_H_
