// Geographic horizons: the record's lifetime and the envelopes of the
// cylindrical and world projections.
#include <cmath>
#include <cstddef>

#include "horizon/horizon_build.h"
#include "math/math_common.h"

namespace kx {

namespace {

// Nudge that keeps an envelope's edges off the antimeridian seam.
constexpr double kSeamNudge = 2e-7;

}  // namespace

kx_horizon *horizon_alloc(int parts) {
  if (parts < 1 || parts > (1 << 24)) return nullptr;
  auto *h = static_cast<kx_horizon *>(kx_allocate(parts * static_cast<int>(sizeof(kx_horizon))));
  if (h == nullptr) return nullptr;
  for (int i = 0; i < parts; ++i) h[i].count = parts;
  return h;
}

bool horizon_part(kx_horizon *part, int32_t shape, int32_t inclusion, int32_t seam, int npoints) {
  part->shape = shape;
  part->inclusion = inclusion;
  part->seam = seam;
  part->npoints = 0;
  part->points = nullptr;
  if (npoints < 1 || npoints > (1 << 24)) return false;
  part->points = static_cast<double *>(kx_allocate(npoints * 2 * static_cast<int>(sizeof(double))));
  if (part->points == nullptr) return false;
  part->npoints = npoints;
  return true;
}

kx_horizon *horizon_envelope(double west, double south, double east, double north, int32_t seam) {
  kx_horizon *h = horizon_alloc(1);
  if (h == nullptr) return nullptr;
  if (!horizon_part(h, 0, 1, seam, 2)) {
    kx_horizon_del(h);
    return nullptr;
  }
  h->points[0] = west;
  h->points[1] = south;
  h->points[2] = east;
  h->points[3] = north;
  return h;
}

kx_horizon *horizon_cylindrical(double lambda0, double max_lat) {
  const double d = kx_delta(lambda0);
  const double o = d <= 0.0 ? d + kPi : d - kPi;  // the meridian opposite lambda0
  double west;
  double east;
  int32_t seam = kSeamInside;
  if (std::fabs(o) <= kSeamNudge) {
    west = o + kSeamNudge;
    east = o + 2.0 * kPi - kSeamNudge;
    seam = kSeamEast;
  } else if (o > 0.0) {
    west = o - 2.0 * kPi + kSeamNudge;
    east = o - kSeamNudge;
  } else {
    west = o + kSeamNudge;
    east = o + 2.0 * kPi - kSeamNudge;
  }
  return horizon_envelope(west, -max_lat, east, max_lat, seam);
}

}  // namespace kx

extern "C" {

KX_API void kx_horizon_del(kx_horizon *horizon) {
  if (horizon == nullptr) return;
  const int parts = horizon[0].count;
  for (int i = 0; i < parts; ++i) kx_deallocate(horizon[i].points);
  kx_deallocate(horizon);
}

KX_API kx_horizon *kx_horizon_normal_cylindrical(const double * /*sph*/, const double *par) {
  return kx::horizon_cylindrical(par != nullptr ? par[2] : 0.0, kx::kHalfPi);
}

}  // extern "C"
