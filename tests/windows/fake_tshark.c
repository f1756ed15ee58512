/* Stands in for TShark under Wine: prints each argument it receives in
 * brackets, as the C runtime split the command line that cmd.exe ran, so
 * the smoke test sees exactly which arguments arrived. */
#include <stdio.h>

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) printf("[%s]", argv[i]);
  printf("\n");
  return 0;
}
