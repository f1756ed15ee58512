#include "core/line_reader.h"

#include <cstdio>
#include <iostream>

#include "core/console_output.h"
#include "core/product.h"
#include "platform/console.h"

namespace zav {

namespace {

void writePrompt() {
  std::cout << '\n';
  std::cout.flush();
  std::cout << productShortName;
  printColoured(kPromptColour, "> ");
  std::cout.flush();
}

ReadStatus readPlainLine(std::string& line) {
  platform::takeInterrupt();  // one that stopped a child is not for this read
  std::getline(std::cin, line);
  if (std::cin.good()) return ReadStatus::line;
  // stdio keeps apart a real end of input and a read cut short by a signal;
  // on Windows, Ctrl-C at a console read looks like end of input, so the
  // control handler's word decides. Counting it as end of input would end
  // the shell after a few presses.
  bool interrupted =
      (std::ferror(stdin) != 0 && std::feof(stdin) == 0) || platform::takeInterrupt();
  std::cin.clear();
  std::clearerr(stdin);
  return interrupted ? ReadStatus::interrupted : ReadStatus::ended;
}

}  // namespace

ReadStatus readPromptedLine(std::string& line) {
  if (!lineEditorIsActive()) {
    writePrompt();
    return readPlainLine(line);
  }
  std::cout << '\n';
  std::cout.flush();
  return editPromptedLine(line, productShortName, kPromptColour);
}

ReadStatus readInputLine(std::string& line, const std::string& initialText,
                         const std::string& shownPrompt) {
  if (!lineEditorIsActive()) return readPlainLine(line);
  return editInputLine(line, initialText, shownPrompt);
}

bool lineEditingIsOn() { return lineEditorIsActive(); }

}  // namespace zav
