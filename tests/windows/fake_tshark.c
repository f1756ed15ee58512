/* Stands in for TShark under Wine: prints each argument it receives in
 * brackets, as the C runtime split the command line that cmd.exe ran, so
 * the smoke test sees exactly which arguments arrived. Given the argument
 * "first-slow", the run of the capture whose name holds "a b" finishes
 * last; given "hang", it notes its start in hanging.txt and waits a minute. */
#include <stdio.h>
#include <string.h>
#include <windows.h>

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (strstr(argv[i], "first-slow") && argc > 2 && strstr(argv[2], "a b")) Sleep(1500);
    if (strstr(argv[i], "hang")) {
      FILE* note = fopen("hanging.txt", "a");
      if (note) fprintf(note, "started\n"), fclose(note);
      Sleep(60000);
    }
  }
  for (int i = 1; i < argc; ++i) printf("[%s]", argv[i]);
  printf("\n");
  return 0;
}
