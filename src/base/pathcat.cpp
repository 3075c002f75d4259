// Joining a directory and a file name.
#include <cstring>

#include "kx.h"

extern "C" KX_API char *kx_pathcat(char *dir, const char *name) {
  if (!dir || !name) return dir;
  const size_t len = std::strlen(dir);
  if (len == 0 || dir[len - 1] != '/') std::strcat(dir, "/");
  std::strcat(dir, name);
  return dir;
}
