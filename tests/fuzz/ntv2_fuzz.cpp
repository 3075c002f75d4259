// Feeds arbitrary bytes to the NTv2 reader as a grid file: the overview
// header reader, the loader, and, when it loads, shifts of a few points at
// the sub-grids' corners and centres both ways, loaded and from the file.
// A refused file leaves the record empty; a loaded one has all three arrays
// and shifts the same from the file as loaded.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "grid_file.h"
#include "kx.h"

using fuzzgrid::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const fuzzgrid::Folder folder({"g.gsb"});
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
  const int *iv = kx_gtconstants_ivals(gc);
  const float *fv = kx_gtconstants_fvals(gc);
  const double *dv = kx_gtconstants_dvals(gc);
  check((floats > 0) == (iv != nullptr && fv != nullptr && dv != nullptr));
  check(floats > 0 || (iv == nullptr && fv == nullptr && dv == nullptr));
  if (floats > 0) {
    check(fields == 11 && iv[0] == nf && iv[0] > 0 && iv[1] >= 1 && iv[1] <= 4);
    double pts[2 * 5 * 4];
    int n = 0;
    for (int k = 0; k < iv[0] && k < 4; ++k) {
      const double *b = dv + 6 * k;  // S, N, east, west (degrees)
      const double lam[5] = {b[2], b[3], b[3], b[2], (b[2] + b[3]) / 2};
      const double phi[5] = {b[0], b[1], b[0], b[1], (b[0] + b[1]) / 2};
      for (int i = 0; i < 5; ++i, ++n) {
        pts[2 * n] = lam[i] * 0.017453292519943295;
        pts[2 * n + 1] = phi[i] * 0.017453292519943295;
      }
    }
    double fwd[sizeof pts / sizeof *pts], inv[sizeof pts / sizeof *pts], file[sizeof pts / sizeof *pts];
    for (int i = 0; i < 2 * n; ++i) fwd[i] = inv[i] = file[i] = pts[i];
    const int shifted = kx_ntv2_const_fwd(iv, fv, dv, n, fwd);
    check(shifted >= 0 && shifted <= n);
    check(kx_ntv2_const_inv(iv, fv, dv, n, inv) <= n);
    check(kx_ntv2_file_fwd(path.c_str(), n, file) == shifted);
    check(std::memcmp(file, fwd, sizeof(double) * 2 * static_cast<size_t>(n)) == 0);
  }
  kx_gtconstants_del(gc);
  return 0;
}
