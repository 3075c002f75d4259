// What the fuzz targets share: the failure signal, the input as text, a
// scratch folder whose files hold the input, a grid record's arrays.
#ifndef KX_FUZZ_COMMON_H
#define KX_FUZZ_COMMON_H

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "kx.h"

// A broken property aborts: the fuzzer keeps the input, the replay fails.
inline void check(bool ok) {
  if (!ok) std::abort();
}

inline std::string as_text(const uint8_t *data, size_t size) {
  return std::string(reinterpret_cast<const char *>(data), size);
}

// The text with each number (a run of digits, signs, points and exponent
// letters that starts with a digit, sign or point) as one '#'.
inline std::string without_numbers(const char *c) {
  std::string out;
  while (*c != '\0') {
    const bool number = std::strchr("0123456789+-.", *c) != nullptr;
    out += number ? '#' : *c++;
    while (number && *c != '\0' && std::strchr("0123456789+-.eE", *c) != nullptr) ++c;
  }
  return out;
}

// A folder made for the process and removed at exit; its files are links of
// one, so that one write gives them all the input.
class ScratchFolder {
 public:
  explicit ScratchFolder(std::vector<std::string> names) : names_(std::move(names)) {
    char dir[] = "/tmp/kx_fuzz_XXXXXX";
    check(mkdtemp(dir) != nullptr);
    dir_ = dir;
    write(nullptr, 0);
    for (const std::string &n : names_)
      check(n == names_[0] || link(path(names_[0]).c_str(), path(n).c_str()) == 0);
  }
  ~ScratchFolder() {
    for (const std::string &n : names_) unlink(path(n).c_str());
    rmdir(dir_.c_str());
  }
  const std::string &dir() const { return dir_; }
  std::string path(const std::string &name) const { return dir_ + "/" + name; }
  void write(const uint8_t *data, size_t size) const {
    const int fd = open(path(names_[0]).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    check(fd >= 0 && (size == 0 || ::write(fd, data, size) == static_cast<ssize_t>(size)));
    close(fd);
  }

 private:
  std::vector<std::string> names_;
  std::string dir_;
};

// A grid record's three arrays: all there when it loaded, none when refused.
struct Grid {
  const int *iv;
  const float *fv;
  const double *dv;
};
inline Grid grid_arrays(kx_gtconstants gc, int floats) {
  const Grid g{kx_gtconstants_ivals(gc), kx_gtconstants_fvals(gc), kx_gtconstants_dvals(gc)};
  check(floats > 0 ? g.iv && g.fv && g.dv : !g.iv && !g.fv && !g.dv);
  return g;
}

constexpr double kDegree = 0.017453292519943295;

#endif
