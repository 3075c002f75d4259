/* A minimal consumer of the installed library: compiled as C99. */
#include <kx.h>
#include <stdio.h>
#include <string.h>

int main(void) {
  const char *v = kx_version();
  if (v == NULL || strncmp(v, "Ortelan Version", 15) != 0) {
    fprintf(stderr, "unexpected version text\n");
    return 1;
  }
  printf("%s\n", v);
  return 0;
}
