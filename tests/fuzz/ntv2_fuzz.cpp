// Feeds arbitrary bytes to the NTv2 reader as a grid file: the overview
// header reader, the loader, and shifts of the sub-grids' corners and centres
// both ways. A refused file leaves the record empty; a loaded one has all
// three arrays and shifts the same from the file as loaded.
#include <cstdio>
#include <cstring>

#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const ScratchFolder folder({"g.gsb"});
  folder.write(data, size);
  const std::string path = folder.path("g.gsb");
  std::FILE *fp = std::fopen(path.c_str(), "rb");
  check(fp != nullptr);
  int nf = 0, unit = 0, padded = 0, swapped = 0;
  const int fields = kx_read_ntv2_ovrvw_header(fp, &nf, &unit, &padded, &swapped);
  check(fields == 0 || fields == 11);
  std::fclose(fp);

  kx_gtconstants gc = kx_gtconstants_new();
  const int floats = kx_ntv2_constants_get(gc, path.c_str());
  const Grid g = grid_arrays(gc, floats);
  if (floats > 0) {
    check(fields == 11 && g.iv[0] == nf && g.iv[0] > 0 && g.iv[1] >= 1 && g.iv[1] <= 4);
    double fwd[2 * 5 * 4], inv[2 * 5 * 4], file[2 * 5 * 4];
    int n = 0;
    for (int k = 0; k < g.iv[0] && k < 4; ++k) {
      const double *b = g.dv + 6 * k;  // S, N, east, west (degrees)
      const double lam[5] = {b[2], b[3], b[3], b[2], (b[2] + b[3]) / 2},
                   phi[5] = {b[0], b[1], b[0], b[1], (b[0] + b[1]) / 2};
      for (int i = 0; i < 5; ++i, ++n) {
        fwd[2 * n] = inv[2 * n] = file[2 * n] = lam[i] * kDegree;
        fwd[2 * n + 1] = inv[2 * n + 1] = file[2 * n + 1] = phi[i] * kDegree;
      }
    }
    const int shifted = kx_ntv2_const_fwd(g.iv, g.fv, g.dv, n, fwd);
    check(shifted >= 0 && shifted <= n && kx_ntv2_const_inv(g.iv, g.fv, g.dv, n, inv) <= n);
    check(kx_ntv2_file_fwd(path.c_str(), n, file) == shifted &&
          std::memcmp(file, fwd, sizeof(double) * 2 * n) == 0);
  }
  kx_gtconstants_del(gc);
  return 0;
}
