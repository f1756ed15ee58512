#include "builtins/history.h"

#include <cstdint>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "builtins/nested_runs.h"
#include "builtins/run_line.h"
#include "core/console_output.h"
#include "core/file_names.h"
#include "core/shell_state.h"
#include "core/whole_file.h"
#include "exec/launch.h"
#include "platform/executable_path.h"
#include "platform/history_file.h"

namespace zav {

namespace {

platform::FileHandle historyFile = platform::kNoFile;

// The word's decimal value without leading zeros, as the out-of-range
// message shows it: "007" is shown as 7. Words of any length stay exact,
// so a number beyond every integer type is named as typed.
std::string withoutLeadingZeros(const std::string& digits) {
  size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? "0" : digits.substr(first);
}

// The entry number a word of digits names, when it is below `size`.
bool entryNumber(const std::string& number, size_t size, size_t& entry) {
  // Longer numbers exceed any list a process can hold.
  if (number.size() > 18) return false;
  std::uint64_t value = std::stoull(number);
  if (value >= size) return false;
  entry = static_cast<size_t>(value);
  return true;
}

void rerunEntry(size_t entry) {
  NestedRun run("exh " + std::to_string(entry),
                "History command number \"" + std::to_string(entry) + "\"");
  if (!run.started()) return;
  // A copy: the entry may empty the history ("chistory") while it runs. Made
  // only for a run that starts: a long line naming its own entry many times
  // would otherwise be copied once per refused word.
  const std::string line(history[entry]);
  runLine(line);
}

// Whether the history file would lie in the data this program was installed
// with (<prefix>/share/zav beside <prefix>/bin): the examples there are a
// template for `zav --init`, and nothing the shell does may write under its
// installation prefix, whoever runs it. A source tree has no share/zav, so
// its examples keep their history.
bool insideInstalledData(const std::string& historyPath) {
  namespace fs = std::filesystem;
  const std::string program = platform::executablePath();
  if (program.empty()) return false;
  std::error_code error;
  const fs::path data =
      fs::weakly_canonical(fs::path(program).parent_path() / ".." / "share" / "zav", error);
  if (error || !fs::is_directory(data, error)) return false;
  const fs::path file = fs::weakly_canonical(fs::absolute(historyPath, error), error);
  if (error) return false;
  const fs::path relative = file.lexically_relative(data);
  return !relative.empty() && *relative.begin() != "..";
}

}  // namespace

void loadHistory(const std::string& historyDirValue) {
  const std::string path =
      historyDirValue == "LOCAL" ? historyFileName : historyDirValue + historyFileName;
  if (insideInstalledData(path)) return;
  historyFile = platform::openAppendOnlyFile(path);
  if (historyFile == platform::kNoFile) {
    printCouldNotOpen(path);
    return;
  }
  std::string bytes;
  platform::readToEnd(historyFile, bytes);
  history.appendLines(toTextMode(std::move(bytes)));
}

void appendToHistoryFile(const std::string& line) {
  if (historyFile == platform::kNoFile) return;
  if (!platform::appendAtEnd(historyFile, line + platform::kTextLineEnd))
    printMessage("+ History file could not be written.");
}

void closeHistoryFile() {
  platform::closeFile(historyFile);
  historyFile = platform::kNoFile;
}

void showHistory() {
  std::cout << '\n';
  for (size_t i = 0; i < history.size(); ++i) std::cout << i << ": " << history[i] << '\n';
  std::cout.flush();
}

void clearHistory() { history.clear(); }

void rerunHistory(const std::vector<std::string>& words) {
  RunAllowance allowance;
  for (size_t i = 1; i < words.size() && !runAllowanceSpent() && !lineIsAbandoned(); ++i) {
    const std::string& word = words[i];
    if (word.find_first_not_of("0123456789") != std::string::npos) {
      printMessage("+ Entered history command number \"" + word + "\" is not valid");
      continue;
    }
    const std::string number = withoutLeadingZeros(word);
    size_t entry = 0;
    if (!entryNumber(number, history.size(), entry)) {
      std::cout.flush();
      std::cerr << "\n+ Entered history command number \"" << number << "\" is out of range\n";
      std::cerr.flush();
      continue;
    }
    rerunEntry(entry);
  }
}

}  // namespace zav
