#include "shell/completion.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "builtins/builtin_table.h"
#include "config/configuration.h"
#include "defs/command_store.h"
#include "text/words.h"

namespace zav {

namespace {

// The keys `gic` takes, one per Implicit Constructor store.
const char* const kImplicitConstructorKeys[12] = {
    "pre.zav.g", "suf.zav.g", "pre.win.g", "suf.win.g", "pre.zav.s", "suf.zav.s",
    "pre.win.s", "suf.win.s", "pre.zav.e", "suf.zav.e", "pre.win.e", "suf.win.e"};

// What a command's arguments complete to.
enum class ArgumentKind { fileName, commandName, mcuName, icKey, captureFile, fragmentName, tag };

struct ArgumentRule {
  const char* command;
  ArgumentKind kind;
  // False: only the word right after the command (the built-in takes exactly
  // one argument); true: every word after it.
  bool everyWord;
};

const ArgumentRule kArgumentRules[] = {
    {"info", ArgumentKind::commandName, false},
    {"logic", ArgumentKind::commandName, false},
    {"tag", ArgumentKind::commandName, false},
    {"ulogic", ArgumentKind::commandName, false},
    {"exmcu", ArgumentKind::mcuName, false},
    {"gic", ArgumentKind::icKey, false},
    {"setpcap", ArgumentKind::captureFile, false},
    {"auxl", ArgumentKind::fragmentName, true},
    {"gcwt", ArgumentKind::tag, true},
};

ArgumentKind argumentKind(const std::vector<std::string>& wordsBefore) {
  for (const ArgumentRule& rule : kArgumentRules) {
    if (wordsBefore[0] != rule.command) continue;
    if (rule.everyWord || wordsBefore.size() == 1) return rule.kind;
    break;
  }
  return ArgumentKind::fileName;
}

class Collector {
 public:
  explicit Collector(const std::string& word) : word_(word) {}
  void offer(std::string_view name) {
    if (name.substr(0, word_.size()) == word_) names_.emplace_back(name);
  }
  std::vector<std::string> sorted() {
    std::sort(names_.begin(), names_.end());
    names_.erase(std::unique(names_.begin(), names_.end()), names_.end());
    return names_;
  }

 private:
  const std::string& word_;
  std::vector<std::string> names_;
};

void offerCommandNames(Collector& collector) {
  for (const char* listId : kCommandListIds)
    for (const CommandRecord& record : commandList(listId))
      if (!record.hidden) collector.offer(record.name);
}

// The capture directory is a plain prefix of capture names; an empty one
// means the current directory. A directory that cannot be read offers
// nothing. Dot files are offered only when the word starts with a dot.
void offerCaptureFiles(Collector& collector, const std::string& word) {
  namespace fs = std::filesystem;
  const std::string& prefix = config.PCAP_DIR_PATH;
  std::error_code error;
  fs::directory_iterator entries(prefix.empty() ? fs::path(".") : fs::path(prefix), error);
  for (; !error && entries != fs::directory_iterator(); entries.increment(error)) {
    if (!entries->is_regular_file(error)) continue;
    std::string name = entries->path().filename().string();
    if (name[0] == '.' && (word.empty() || word[0] != '.')) continue;
    collector.offer(name);
  }
}

}  // namespace

CompletionCandidates completionCandidates(const std::string& lineBefore, const std::string& word) {
  CompletionCandidates result;
  Collector collector(word);
  std::vector<std::string> wordsBefore = splitWords(lineBefore);
  if (wordsBefore.empty()) {
    for (const BuiltinCommand& command : builtinCommands()) collector.offer(command.name);
    offerCommandNames(collector);
    result.names = collector.sorted();
    return result;
  }
  switch (argumentKind(wordsBefore)) {
    case ArgumentKind::fileName:
      result.fileNames = true;
      return result;
    case ArgumentKind::commandName:
      offerCommandNames(collector);
      break;
    case ArgumentKind::mcuName:
      for (const McuRecord& mcu : mcuList()) collector.offer(mcu.name);
      break;
    case ArgumentKind::icKey:
      for (const char* key : kImplicitConstructorKeys) collector.offer(key);
      break;
    case ArgumentKind::captureFile:
      offerCaptureFiles(collector, word);
      break;
    case ArgumentKind::fragmentName:
      for (const auto& fragment : auxiliaryLogicTable) collector.offer(fragment.first);
      break;
    case ArgumentKind::tag:
      for (const char* listId : kCommandListIds)
        for (const CommandRecord& record : commandList(listId))
          for (std::string_view tag : tagWords(record.tags)) collector.offer(tag);
      break;
  }
  result.names = collector.sorted();
  return result;
}

}  // namespace zav
