// Runs a fuzz target once on every file of the given directories (seeds and
// inputs that once failed) without the fuzzing engine, so that the test
// suite replays them in every build. A target signals a failure by
// aborting; an empty replay is a failure too.
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv) {
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    DIR *d = opendir(argv[i]);
    for (const dirent *e; d != nullptr && (e = readdir(d)) != nullptr;)
      if (e->d_name[0] != '.') files.push_back(std::string(argv[i]) + "/" + e->d_name);
    if (d != nullptr) closedir(d);
  }
  std::sort(files.begin(), files.end());
  for (const std::string &f : files) {
    std::ostringstream bytes;
    bytes << std::ifstream(f, std::ios::binary).rdbuf();
    const std::string input = bytes.str();
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(input.data()), input.size());
  }
  std::printf("%zu inputs replayed\n", files.size());
  return files.empty() ? 1 : 0;
}
