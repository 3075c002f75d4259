// A scratch folder per fuzzing process holding the input as grid files,
// removed at exit.
#ifndef KX_FUZZ_GRID_FILE_H
#define KX_FUZZ_GRID_FILE_H

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzzgrid {

inline void check(bool ok) {
  if (!ok) std::abort();
}

class Folder {
 public:
  explicit Folder(std::vector<std::string> names) : names_(std::move(names)) {
    char dir[] = "/tmp/kx_grid_fuzz_XXXXXX";
    check(mkdtemp(dir) != nullptr);
    dir_ = dir;
  }
  ~Folder() {
    for (const std::string &n : names_) unlink(path(n).c_str());
    rmdir(dir_.c_str());
  }
  std::string path(const std::string &name) const { return dir_ + "/" + name; }
  // Every file of the folder gets these bytes.
  void write(const uint8_t *data, size_t size) const {
    for (const std::string &n : names_) {
      const int fd = open(path(n).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      check(fd >= 0);
      check(size == 0 || ::write(fd, data, size) == static_cast<ssize_t>(size));
      close(fd);
    }
  }

 private:
  std::vector<std::string> names_;
  std::string dir_;
};

}  // namespace fuzzgrid

#endif
