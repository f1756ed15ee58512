// Running a typed line that no built-in command takes.
#ifndef ZAV_EXEC_DISPATCH_H_
#define ZAV_EXEC_DISPATCH_H_

#include <string>

namespace zav {

// Builds the text from the logic of the command words and runs it through
// the TShark or the command-processor launcher; a first word that names no
// command sends the line as typed to the command processor.
void dispatchCommand(std::string line);

}  // namespace zav

#endif  // ZAV_EXEC_DISPATCH_H_
