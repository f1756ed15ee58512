/* Starts a program on this console, waits until the file given first
 * exists, sends Ctrl-C to the console and returns the program's exit
 * status: Ctrl-C typed while a command runs, for the smoke test.
 * Usage: ctrl_c.exe <file> <program> [arguments...] */
#include <stdio.h>
#include <string.h>
#include <windows.h>

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  char line[32768] = "";
  for (int i = 2; i < argc; ++i) {
    strcat(line, "\"");
    strcat(line, argv[i]);
    strcat(line, "\" ");
  }
  /* A console of its own (Wine gives none to a program whose output is
   * redirected), joined below to send the event; the standard handles stay. */
  STARTUPINFOA startup = {sizeof startup};
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process;
  if (!CreateProcessA(NULL, line, NULL, NULL, TRUE, CREATE_NEW_CONSOLE, NULL, NULL, &startup,
                      &process))
    return 3;
  for (int waited = 0; GetFileAttributesA(argv[1]) == INVALID_FILE_ATTRIBUTES; ++waited) {
    if (waited > 600) return 4;
    Sleep(100);
  }
  Sleep(500);
  FreeConsole();
  if (!AttachConsole(process.dwProcessId)) return 6;
  SetConsoleCtrlHandler(NULL, TRUE); /* the Ctrl-C below is not for us */
  GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
  if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) return 5;
  DWORD status = 1;
  GetExitCodeProcess(process.hProcess, &status);
  return (int)status;
}
