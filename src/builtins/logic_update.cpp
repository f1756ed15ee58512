#include "builtins/logic_update.h"

#include <iostream>

#include "builtins/introspection.h"
#include "core/console_output.h"
#include "core/line_reader.h"
#include "defs/command_store.h"
#include "platform/console.h"

namespace zav {

void updateLogic(const std::string& name) {
  CommandLocation location;
  if (!findCommand(name, location)) {
    printCommandNotValid(name);
    return;
  }
  const std::string oldLogic = recordAt(location).logic;
  std::cout << "\nPlease enter new logic for ZAV/WIN CMD \"" << name << "\": ";
  std::cout.flush();
  platform::copyToClipboard(oldLogic);

  std::string newLogic;
  if (readInputLine(newLogic, oldLogic) == ReadStatus::line && !newLogic.empty()) {
    recordAt(location).logic = newLogic;
  } else {
    printMessage("+ Logic hasn't been updated");
  }
  platform::clearClipboard();
}

}  // namespace zav
