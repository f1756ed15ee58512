#include "builtins/builtin_table.h"

#include "builtins/about_help.h"
#include "builtins/capture_commands.h"
#include "builtins/definition_views.h"
#include "builtins/history.h"
#include "builtins/logic_update.h"
#include "builtins/mcu_execution.h"
#include "ic/implicit_constructors.h"

namespace zav {

const std::vector<BuiltinCommand>& builtinCommands() {
  // helper lists gic right after auxl; everything else keeps this order.
  static const std::vector<BuiltinCommand> table = {
      {"setpcap", 2, 2, [](const Words& w) { setCapture(w[1]); }, "setpcap <pcapname>",
       "set the name of the pcap you want to work with", 0},
      {"getpcap", 1, 1, [](const Words&) { showCapture(); }, "getpcap",
       "print the name of the currently set pcap", 1},
      {"setpcappath", 2, 2, [](const Words& w) { setCaptureDirectory(w[1]); },
       "setpcappath <pathtopcap>", "set the path to the pcap you want to work with", 2},
      {"getpcappath", 1, 1, [](const Words&) { showCaptureDirectory(); }, "getpcappath",
       "print the name of the currently set pcap path", 3},
      {"loadcmdfile", 1, 1, [](const Words&) { reloadCommandFile(); }, "loadcmdfile",
       "(re)load the content of ZAV CMDs stored in \" CMD.zav\"", 4},
      {"getallcmds", 1, 1, [](const Words&) { listAllCommands(); }, "getallcmds",
       "print list of all available cmds in \"CMD.zav\", internal, and helper cmds, among others",
       5},
      {"getinclist", 1, 1, [](const Words&) { listIncludeFiles(); }, "getinclist",
       "print the name(s) of all include files in \"CMD.zav\"", 6},
      {"info", 2, 2, [](const Words& w) { showInfo(w[1]); }, "info <ZAV/WIN CMD>",
       "print info/help for a given ZAV/WIN cmd", 7},
      {"logic", 2, 2, [](const Words& w) { showLogic(w[1]); }, "logic <ZAV/WIN CMD>",
       "print logic implementation for a given ZAV/WIN cmd", 8},
      {"auxl", 1, kAnyWordCount, [](const Words& w) { showAuxiliaryLogic(w); }, "auxl",
       "print a list of all available Auxiliary Logic definitions", 9},
      {"ulogic", 2, 2, [](const Words& w) { updateLogic(w[1]); }, "ulogic <ZAV/WIN CMD>",
       "update (in-memory only) logic implementation for a given ZAV/WIN cmd", 11},
      {"tag", 2, 2, [](const Words& w) { showTags(w[1]); }, "tag <ZAV/WIN CMD>",
       "print list of tags/metadata for a given ZAV/WIN cmd", 12},
      {"gcwt", 2, kAnyWordCount, [](const Words& w) { listCommandsWithTags(w); }, "gcwt <tag>",
       "print list of all available ZAV/WIN CMDs with a matching <tag>", 13},
      {"gic", 2, 2, [](const Words& w) { showImplicitConstructor(w[1]); }, "gic",
       "print the AL name a given Implicit Constructor (IC) holds. It takes the following list of "
       "print subcmds",
       10},
      {"history", 1, 1, [](const Words&) { showHistory(); }, "history",
       "print list of all previously executed commands", 14},
      {"chistory", 1, 1, [](const Words&) { clearHistory(); }, "chistory",
       "clear the history list of all previously executed commands", 15},
      {"exh", 2, kAnyWordCount, [](const Words& w) { rerunHistory(w); },
       "exh <list of history cmds>", "(re)execute list of previously executed commands", 16},
      {"getmculist", 1, 1, [](const Words&) { listMcus(); }, "getmculist",
       "print list of all available Multi Command Units", 17},
      {"exmcu", 2, 2, [](const Words& w) { runMcu(w[1]); }, "exmcu <MCU name>",
       "execute list of ZAV/WIN commands defined in a Multi Command Unit", 18},
      {"about", 1, 1, [](const Words&) { showAbout(); }, "about",
       "print ZAV version and author information", 19},
      {"version", 1, 1, [](const Words&) { showAbout(); }, "version", "same as \"about\"", 20},
      {"helper", 1, 1, [](const Words&) { showHelp(); }, "helper", "this list!", 21},
      {"exit", 1, 1, nullptr, "exit", "exit the shell", 22},
  };
  return table;
}

}  // namespace zav
