// Running a typed line that no built-in command takes.
#ifndef ZAV_EXEC_DISPATCH_H_
#define ZAV_EXEC_DISPATCH_H_

#include <string>

namespace zav {

// Builds the text from the logic of the command words and runs it through
// the TShark or the command-processor launcher; a first word that names no
// command sends the line as typed to the command processor.
// A word "|", ">", ">>" or "2>" after a command's name starts a tail that
// is appended, after one blank, to every command line that the line runs.
void dispatchCommand(std::string line);

}  // namespace zav

#endif  // ZAV_EXEC_DISPATCH_H_
