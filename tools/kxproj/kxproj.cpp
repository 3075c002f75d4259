// kxproj: converts points between coordinate systems.
#include "kx.h"

#include <cstdio>
#include <cstring>

int main(int argc, char **argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("%s\n", kx_version());
    return 0;
  }
  std::fprintf(stderr, "usage: kxproj --version\n");
  return 2;
}
