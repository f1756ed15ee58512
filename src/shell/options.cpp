#include "shell/options.h"

#include <cstdlib>
#include <cstring>

#include "core/product.h"
#include "core/shell_state.h"
#include "text/regex.h"

namespace zav {

namespace {

// Gives false for a value the option cannot take.
using Apply = bool (*)(CommandLineOptions&, const std::string&);

// One row per option; the --help text is made from the same rows.
struct OptionRow {
  char shortName;  // '\0': only the long name
  const char* longName;
  const char* valueName;  // nullptr: the option takes no value
  const char* help;
  Apply apply;
};

const OptionRow kOptionRows[] = {
    {'C', "directory", "DIR", "change to DIR before reading ZAV.cfg",
     [](CommandLineOptions& o, const std::string& v) { return o.directory = v, true; }},
    {'c', "command", "LINE", "run LINE as if typed, then leave (repeatable)",
     [](CommandLineOptions& o, const std::string& v) { return o.lines.push_back(v), true; }},
    {'r', "read-file", "FILE", "select capture FILE (its directory becomes the capture path)",
     [](CommandLineOptions& o, const std::string& v) { return o.captureFile = v, !v.empty(); }},
    {'\0', "init", "DIR", "copy ZAV.cfg, the command library and the sample captures into DIR",
     [](CommandLineOptions& o, const std::string& v) { return o.initDirectory = v, !v.empty(); }},
    {'h', "help", nullptr, "show this help and leave",
     [](CommandLineOptions& o, const std::string&) { return o.showHelp = true; }},
    {'v', "version", nullptr, "show the version and leave",
     [](CommandLineOptions& o, const std::string&) { return o.showVersion = true; }},
    {'j', "jobs", "N", "run up to N TShark runs of a line at once (0: one per processor)",
     [](CommandLineOptions& o, const std::string& v) {
       if (v.empty() || v.size() > 4 || v.find_first_not_of("0123456789") != std::string::npos)
         return false;
       o.parallelRuns = static_cast<unsigned>(std::stoul(v));
       return true;
     }},
    // Hosts for the runs -j would run side by side, in GNU parallel's terms.
    {'S', "sshlogin", "LOGINS",
     "spread those runs over LOGINS through GNU parallel (: is this host)",
     [](CommandLineOptions& o, const std::string& v) {
       if (v.empty()) return false;
       o.sshLogins += (o.sshLogins.empty() ? "" : ",") + v;
       return true;
     }},
    {0, "sshloginfile", "FILE", "spread them over the hosts listed in FILE",
     [](CommandLineOptions& o, const std::string& v) { return o.sshLoginFile = v, !v.empty(); }},
    {0, "transfer", nullptr, "copy each capture to its host for its run (no shared path)",
     [](CommandLineOptions& o, const std::string&) { return o.transferCaptures = true; }},
};

const OptionRow* findShort(char name) {
  for (const OptionRow& row : kOptionRows)
    if (row.shortName == name && name != '\0') return &row;
  return nullptr;
}

const OptionRow* findLong(const std::string& name) {
  for (const OptionRow& row : kOptionRows)
    if (name == row.longName) return &row;
  return nullptr;
}

bool fail(std::string& message, const std::string& text) {
  message = "zav: " + text;
  return false;
}

// "-r" or, for an option without a short name, "--init".
std::string optionName(const OptionRow& row) {
  return row.shortName != '\0' ? std::string("-") + row.shortName
                               : std::string("--") + row.longName;
}

bool badValue(std::string& message, const OptionRow& row) {
  return fail(message, "option " + optionName(row) + " takes " + row.valueName + ": " + row.help);
}

bool takeOperand(const std::string& argument, CommandLineOptions& options, std::string& message) {
  if (options.hasLineFile) return fail(message, "more than one command file: " + argument);
  options.hasLineFile = true;
  options.lineFile = argument;
  return true;
}

}  // namespace

bool parseOptions(const std::vector<std::string>& arguments, CommandLineOptions& options,
                  std::string& message) {
  bool optionsEnded = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    // "-" alone is an operand (standard input), as getopt has it.
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      if (!takeOperand(argument, options, message)) return false;
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    if (argument[1] == '-') {
      const size_t equals = argument.find('=');
      const std::string name =
          argument.substr(2, equals == std::string::npos ? equals : equals - 2);
      const OptionRow* row = findLong(name);
      if (row == nullptr) return fail(message, "unknown option --" + name);
      if (row->valueName == nullptr) {
        if (equals != std::string::npos)
          return fail(message, "option --" + name + " takes no value");
        row->apply(options, std::string());
      } else if (equals != std::string::npos) {
        if (!row->apply(options, argument.substr(equals + 1))) return badValue(message, *row);
      } else if (i + 1 < arguments.size()) {
        if (!row->apply(options, arguments[++i])) return badValue(message, *row);
      } else {
        return fail(message, "option --" + name + " needs a value");
      }
      continue;
    }
    // A cluster of short options; one that takes a value takes the rest of
    // the cluster, or the next argument.
    for (size_t k = 1; k < argument.size(); ++k) {
      const OptionRow* row = findShort(argument[k]);
      if (row == nullptr) return fail(message, std::string("unknown option -") + argument[k]);
      if (row->valueName == nullptr) {
        row->apply(options, std::string());
        continue;
      }
      bool applied = true;
      if (k + 1 < argument.size())
        applied = row->apply(options, argument.substr(k + 1));
      else if (i + 1 < arguments.size())
        applied = row->apply(options, arguments[++i]);
      else
        return fail(message, std::string("option -") + argument[k] + " needs a value");
      if (!applied) return badValue(message, *row);
      break;
    }
  }
  return true;
}

bool runsWithoutPrompt(const CommandLineOptions& options) {
  return !options.lines.empty() || options.hasLineFile;
}

std::string usageLine() {
  return "Usage: zav [-h] [-v] [--init DIR] [-C DIR] [-j N] [-S LOGINS] [--sshloginfile FILE] "
         "[--transfer] [-r FILE] [-c LINE]... [FILE | -]";
}

std::string helpText() {
  std::string text = usageLine() +
                     "\n\nA console shell for TShark: named commands from CMD.zav, "
                     "settings from ZAV.cfg.\n\n";
  for (const OptionRow& row : kOptionRows) {
    std::string names =
        row.shortName != '\0' ? std::string("-") + row.shortName + ", --" : std::string("    --");
    names += row.longName;
    if (row.valueName != nullptr) names += std::string(" ") + row.valueName;
    text += "  " + names + std::string(names.size() < 24 ? 24 - names.size() : 1, ' ') + row.help +
            "\n";
  }
  text +=
      "  FILE                    run every line of FILE as if typed, then leave"
      " (- reads standard input)\n"
      "\nWithout -c or FILE, ZAV starts at its prompt, and leaves with 0.\n"
      "A first start: zav --init ~/zav-work, then zav -C ~/zav-work.\n"
      "\nExit status of -c and FILE: 0 when every line ran and every TShark and command\n"
      "run ended with 0; 1 when one failed or was killed, or ZAV.cfg, a command file\n"
      "or FILE could not be read; 2 for a wrong option or a capture given as FILE;\n"
      "130 when Ctrl-C stopped the lines. --init: 1 when a file is already there.\n"
      "Environment: NO_COLOR (not empty) or TERM=dumb turns colours off; TERM=dumb,\n"
      "or output that is not a terminal, gets no control sequences at all.\n";
  return text;
}

std::string versionLine() {
  return productShortName + " (" + productFullName + ") v" + productVersion +
         ", patterns: " + (regexEngine() == RegexEngine::pcre2 ? "PCRE2" : "std::regex");
}

bool coloursUnwantedByEnvironment() {
  const char* term = std::getenv("TERM");
  const char* noColour = std::getenv("NO_COLOR");
  return (noColour != nullptr && noColour[0] != '\0') ||
         (term != nullptr && std::strcmp(term, "dumb") == 0);
}

}  // namespace zav
