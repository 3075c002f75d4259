// Runs a fuzz target once on every file of the given directories (seeds and
// inputs that once failed) without the fuzzing engine, so that the test
// suite replays them in every build. A target signals a failure by
// aborting; an empty replay is a failure too.
#include <dirent.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char **argv) {
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    std::vector<std::string> files;
    if (DIR *d = opendir(argv[i])) {
      while (const dirent *e = readdir(d)) {
        if (e->d_name[0] != '.') files.push_back(std::string(argv[i]) + "/" + e->d_name);
      }
      closedir(d);
    }
    std::sort(files.begin(), files.end());
    for (const std::string &f : files) {
      std::ifstream in(f, std::ios::binary);
      const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
      LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  std::printf("%d inputs replayed\n", replayed);
  return replayed > 0 ? 0 : 1;
}
