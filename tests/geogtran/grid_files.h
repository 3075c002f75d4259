// Grid files for the grid-method tests: a scratch data home (mkdtemp, named
// by KXDATAHOME while it lives), writers of NTv2 files in every layout,
// byte order and unit, and the real grids of the proj-data package.
#ifndef KX_TESTS_GEOGTRAN_GRID_FILES_H
#define KX_TESTS_GEOGTRAN_GRID_FILES_H

#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kx.h"

namespace gridtest {

class DataHome {
 public:
  DataHome() {
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && tmp[0] != '\0' ? tmp : "/tmp") + "/kx_grids_XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) != nullptr) dir_ = buffer.data();
    kx_datahome_setfunc(nullptr);
    setenv("KXDATAHOME", dir_.c_str(), 1);
  }
  ~DataHome() {
    unsetenv("KXDATAHOME");
    if (!dir_.empty())
      nftw(dir_.c_str(), [](const char *p, const struct stat *, int, struct FTW *) { return std::remove(p); },
           16, FTW_DEPTH | FTW_PHYS);
  }
  DataHome(const DataHome &) = delete;
  DataHome &operator=(const DataHome &) = delete;

  const std::string &dir() const { return dir_; }
  // Writes bytes to dir/rel, creating one level of subdirectories.
  std::string write(const std::string &rel, const std::string &bytes) const {
    std::string path = dir_;
    std::size_t start = 0, slash;
    while ((slash = rel.find('/', start)) != std::string::npos) {
      path = dir_ + "/" + rel.substr(0, slash);
      mkdir(path.c_str(), 0700);
      start = slash + 1;
    }
    path = dir_ + "/" + rel;
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (f != nullptr) {
      std::fwrite(bytes.data(), 1, bytes.size(), f);
      std::fclose(f);
    }
    return path;
  }

 private:
  std::string dir_;
};

inline std::string read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

// The folder of Debian's proj-data grids, or "" when a grid is absent.
inline std::string real_grid(const std::string &name) {
  const std::string path = "/usr/share/proj/" + name;
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? path : std::string();
}

struct SynGrid {
  std::string name, parent;
  double s, n, w, e, inc;                  // degrees, east positive
  std::vector<std::pair<double, double>> nodes;  // (lat shift, lon shift west) arc-seconds
};

// Byte writer in either byte order.
class Bytes {
 public:
  explicit Bytes(bool big) : big_(big) {}
  void raw(const void *p, std::size_t n, bool swap) {
    const auto *b = static_cast<const unsigned char *>(p);
    for (std::size_t i = 0; i < n; ++i) out_.push_back(static_cast<char>(b[swap && big_ ? n - 1 - i : i]));
  }
  void name(const std::string &s) {
    std::string t = s;
    t.resize(8, ' ');
    out_ += t;
  }
  void i32(int32_t v) { raw(&v, 4, true); }
  void f32(float v) { raw(&v, 4, true); }
  void f64(double v) { raw(&v, 8, true); }
  void pad() { out_.append(4, '\0'); }
  std::string &str() { return out_; }

 private:
  bool big_;
  std::string out_;
};

// Units: 1 seconds, 2 minutes, 3 degrees, 4 radians.
inline std::string ntv2_bytes(const std::vector<SynGrid> &grids, bool padded, bool big, int unit,
                              const char *gs_type = nullptr) {
  static const char *kNames[] = {"SECONDS ", "MINUTES ", "DEGREES ", "RADIANS "};
  const double per_degree[] = {3600.0, 60.0, 1.0, 1.0 / 57.29577951308232};
  const double per_second[] = {1.0, 1.0 / 60.0, 1.0 / 3600.0, 1.0 / 206264.8125};
  const double k = per_degree[unit - 1], ks = per_second[unit - 1];
  Bytes b(big);
  auto int_record = [&](const char *name, int32_t v) {
    b.name(name);
    b.i32(v);
    if (padded) b.pad();
  };
  int_record("NUM_OREC", 11);
  int_record("NUM_SREC", 11);
  int_record("NUM_FILE", static_cast<int32_t>(grids.size()));
  b.name("GS_TYPE");
  b.name(gs_type != nullptr ? gs_type : kNames[unit - 1]);
  for (const char *r : {"VERSION", "SYSTEM_F", "SYSTEM_T"}) {
    b.name(r);
    b.name("TEST");
  }
  for (const char *r : {"MAJOR_F", "MINOR_F", "MAJOR_T", "MINOR_T"}) {
    b.name(r);
    b.f64(6378137.0);
  }
  for (const SynGrid &g : grids) {
    b.name("SUB_NAME");
    b.name(g.name);
    b.name("PARENT");
    b.name(g.parent);
    b.name("CREATED");
    b.name("20261207");
    b.name("UPDATED");
    b.name("20261207");
    const double v[] = {g.s * k, g.n * k, -g.e * k, -g.w * k, g.inc * k, g.inc * k};
    const char *names[] = {"S_LAT", "N_LAT", "E_LONG", "W_LONG", "LAT_INC", "LONG_INC"};
    for (int i = 0; i < 6; ++i) {
      b.name(names[i]);
      b.f64(v[i]);
    }
    int_record("GS_COUNT", static_cast<int32_t>(g.nodes.size()));
    for (const auto &nd : g.nodes) {
      b.f32(static_cast<float>(nd.first * ks));
      b.f32(static_cast<float>(nd.second * ks));
      b.f32(0.01f);
      b.f32(0.01f);
    }
  }
  return b.str();
}

}  // namespace gridtest

#endif  // KX_TESTS_GEOGTRAN_GRID_FILES_H
