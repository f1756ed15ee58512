#include "builtins/logic_update.h"

#include <iostream>

#include "builtins/definition_views.h"
#include "core/console_output.h"
#include "core/line_reader.h"
#include "defs/command_store.h"
#include "platform/clipboard.h"
#include "platform/console.h"

namespace zav {

void updateLogic(const std::string& name) {
  CommandLocation location;
  if (!findCommand(name, location)) {
    printCommandNotValid(name);
    return;
  }
  const std::string oldLogic = recordAt(location).logic;
  const std::string prompt = "Please enter new logic for ZAV/WIN CMD \"" + name + "\": ";
  std::cout << '\n' << prompt;
  std::cout.flush();
  platform::copyToClipboard(oldLogic);

  std::string newLogic;
  ReadStatus status = readInputLine(newLogic, oldLogic, prompt);
  // With line editing the line starts out holding the old logic, so Enter on
  // it untouched means "keep", like an empty line.
  bool untouched = lineEditingIsOn() && newLogic == oldLogic;
  if (status == ReadStatus::line && !newLogic.empty() && !untouched) {
    recordAt(location).logic = newLogic;
  } else {
    printMessage("+ Logic hasn't been updated");
  }
  platform::clearClipboard();
}

}  // namespace zav
