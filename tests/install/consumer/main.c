/* A minimal consumer of the installed library: compiled as C99. */
#include <kx.h>
#include <kx_def.h>
#include <stdio.h>
#include <string.h>

int main(void) {
  const char *v = kx_version();
  if (v == NULL || strncmp(v, "Ortelan Version", 15) != 0) {
    fprintf(stderr, "unexpected version text\n");
    return 1;
  }
  /* The installed symbolic names agree with the library's own lookup. */
  if (KX_GCS_WGS_1984 != 4326 || kx_defstring_to_int("KX_GCS_WGS_1984") != KX_GCS_WGS_1984) {
    fprintf(stderr, "kx_def.h disagrees with the library\n");
    return 1;
  }
  printf("%s\n", v);
  return 0;
}
