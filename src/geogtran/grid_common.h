// Pieces the grid-file methods share: the dataset name's file part, paths
// under the data home, opening a grid file with its size known up front
// (so that no count read from a file is trusted beyond the file), and the
// fixed-point inverse tolerance.
#ifndef KX_GEOGTRAN_GRID_COMMON_H
#define KX_GEOGTRAN_GRID_COMMON_H

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "kx.h"

namespace kx {
namespace geogtran {

constexpr double kRadToDeg = 57.29577951308232;
constexpr double kDegToRad = 0.017453292519943295;
// Fixed-point inverses stop when both differences are within 2^-48 degrees.
constexpr double kGridTolerance = 3.552713678800501e-15;
constexpr int kGridMaxEvaluations = 51;

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
