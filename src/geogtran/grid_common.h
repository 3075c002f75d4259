// Pieces the grid-file methods share: the dataset name's file part, paths
// under the data home, opening a grid file with its size known up front
// (so that no count read from a file is trusted beyond the file), and the
// fixed-point inverse tolerance.
#ifndef KX_GEOGTRAN_GRID_COMMON_H
#define KX_GEOGTRAN_GRID_COMMON_H

#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "kx.h"
#include "math/math_common.h"

namespace kx {
namespace geogtran {

using kx::kDegToRad;
using kx::kRadToDeg;
// Fixed-point inverses stop when both differences are within 2^-48 degrees.
constexpr double kGridTolerance = kEps;
constexpr int kGridMaxEvaluations = 51;

// The inverse of a grid shift by fixed-point iteration, in degrees: the
// point (*lg, *pg) whose shift lands on (lt, pt). shift(lg, pg, &slon,
// &slat) gives the shift in seconds (longitude positive west) and is false
// once the guess has left the grid. False when the guess left the grid or
// did not settle within the tolerance after the last evaluation.
template <class Shift>
bool invert_shift(double lt, double pt, Shift &&shift, double *lg, double *pg) {
  *lg = lt;
  *pg = pt;
  for (int k = 0; k < kGridMaxEvaluations; ++k) {
    double slon, slat;
    if (!shift(*lg, *pg, &slon, &slat)) return false;
    const double dl = *lg - slon / 3600.0 - lt, dp = *pg + slat / 3600.0 - pt;
    if (std::fabs(dl) <= kGridTolerance && std::fabs(dp) <= kGridTolerance) return true;
    *lg -= dl;
    *pg -= dp;
  }
  return false;
}

// The file part of a dataset name: the text after the first "_" when the
// name starts with "Dataset_" (any case), else the whole name.
inline const char *dataset_file_part(const char *dataset) {
  if (dataset == nullptr) return "";
  char head[9] = {0};
  std::strncpy(head, dataset, 8);
  if (kx_strcmp_ci(head, "DATASET_") == 0) return std::strchr(dataset, '_') + 1;
  return dataset;
}

// dir + "/" + a + "/" + b into out (KX_GRID_PATH_SIZE bytes); false, with
// out untouched, when there is no data home or the path would not fit.
inline bool data_home_path(const char *subdir, const char *name, char *out) {
  const char *home = kx_get_datahome();
  if (home == nullptr || name == nullptr) return false;
  if (std::strlen(home) + std::strlen(subdir) + std::strlen(name) + 3 >= KX_GRID_PATH_SIZE)
    return false;
  char buf[KX_GRID_PATH_SIZE];
  std::strcpy(buf, home);
  kx_pathcat(buf, subdir);
  kx_pathcat(buf, name);
  std::strcpy(out, buf);
  return true;
}

// A grid file opened for binary reading when a status query succeeds on a
// regular file; size receives its length in bytes.
inline std::FILE *open_grid(const char *path, std::int64_t *size) {
  struct stat st;
  if (path == nullptr || path[0] == '\0' || stat(path, &st) != 0 || !S_ISREG(st.st_mode))
    return nullptr;
  *size = static_cast<std::int64_t>(st.st_size);
  return std::fopen(path, "rb");
}

inline std::uint32_t swap32(std::uint32_t w) {
  return (w >> 24) | ((w >> 8) & 0xFF00u) | ((w << 8) & 0xFF0000u) | (w << 24);
}

inline std::int32_t get_i32(const unsigned char *p, bool swapped) {
  std::uint32_t w;
  std::memcpy(&w, p, 4);
  if (swapped) w = swap32(w);
  std::int32_t v;
  std::memcpy(&v, &w, 4);
  return v;
}

inline float get_f32(const unsigned char *p, bool swapped) {
  std::uint32_t w;
  std::memcpy(&w, p, 4);
  if (swapped) w = swap32(w);
  float v;
  std::memcpy(&v, &w, 4);
  return v;
}

inline double get_f64(const unsigned char *p, bool swapped) {
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  if (swapped)
    w = (static_cast<std::uint64_t>(swap32(static_cast<std::uint32_t>(w))) << 32) |
        swap32(static_cast<std::uint32_t>(w >> 32));
  double v;
  std::memcpy(&v, &w, 8);
  return v;
}

}  // namespace geogtran
}  // namespace kx

#endif  // KX_GEOGTRAN_GRID_COMMON_H
