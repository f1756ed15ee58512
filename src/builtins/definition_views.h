// Showing what the command file defined, without changing anything: "info",
// "logic", "tag", "auxl", "gcwt", "getallcmds", "getinclist",
// "getmculist". Hidden commands are seen by all but the command listing.
#ifndef ZAV_BUILTINS_DEFINITION_VIEWS_H_
#define ZAV_BUILTINS_DEFINITION_VIEWS_H_

#include <string>
#include <vector>

namespace zav {

void showInfo(const std::string& name);
void showLogic(const std::string& name);
void showTags(const std::string& name);

// `words` is the whole line, "auxl" first: alone it lists every fragment,
// otherwise the named ones.
void showAuxiliaryLogic(const std::vector<std::string>& words);

// `words` is the whole line, "gcwt" first, then one or more tags. Lists the
// commands that carry every one of the tags.
void listCommandsWithTags(const std::vector<std::string>& words);

void listAllCommands();
void listIncludeFiles();
void listMcus();

// "+ cmd <name> is not valid", for a name that no command list holds
// ("info" says it with a full stop of its own).
void printCommandNotValid(const std::string& name);

}  // namespace zav

#endif  // ZAV_BUILTINS_DEFINITION_VIEWS_H_
