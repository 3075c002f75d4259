// Transformation driver shared by kx_geog1_to_geog2 and kx_geog2_to_geog1.
#include "geogtran/geogtran_unpack.h"

#include <cstddef>
#include <cstring>

#include "geogtran/method_common.h"
#include "objects/registry.h"

namespace kx {
namespace geogtran {

namespace {

constexpr double kArcSecond = 4.84813681109536e-6;  // radians
constexpr double kPpm = 1e-6;
constexpr double kDegree = kDegToRad;  // radians

// A grid method is recognised by its functions among the registry's grid
// rows, so that the driver does not depend on which grid methods are in the
// library.
bool is_grid_function(kx_method_fn f) {
  int count = 0;
  const MethodRow *rows = method_rows(&count);
  for (int i = 0; i < count; ++i) {
    const MethodRow &row = rows[i];
    if (row.kind != kx::MethodKind::kGrid) continue;
    if ((row.forward != nullptr && row.forward == f) ||
        (row.inverse != nullptr && row.inverse == f))
      return true;
  }
  return false;
}

void spheroid_pair(kx_geogcs gcs, double *pair) {
  kx_spheroid s = kx_datum_spheroid(kx_geogcs_datum(gcs));
  const double f = kx_spheroid_flattening(s);
  pair[0] = kx_spheroid_axis(s);
  pair[1] = (2.0 - f) * f;
}

}  // namespace

void unpack_geogtran(kx_geogtran gt, Direction dir, UnpackedGeogtran &out) {
  out = UnpackedGeogtran{};
  if (kx_geogtran_p(gt) == 0) return;
  kx_geogcs g1 = kx_geogtran_geogcs1(gt);
  kx_geogcs g2 = kx_geogtran_geogcs2(gt);
  kx_method method = kx_geogtran_method(gt);
  if (kx_method_p(method) == 0) return;
  out.function =
      dir == Direction::kForward ? kx_method_forward(method) : kx_method_inverse(method);
  if (out.function == nullptr) return;
  out.valid = true;

  spheroid_pair(g1, out.sph1);
  spheroid_pair(g2, out.sph2);
  kx_geogcs source = dir == Direction::kForward ? g1 : g2;
  kx_geogcs target = dir == Direction::kForward ? g2 : g1;
  out.pm_source = kx_primem_longitude(kx_geogcs_primem(source)) * kDegree;
  out.pm_target = kx_primem_longitude(kx_geogcs_primem(target)) * kDegree;
  out.unit_source = kx_unit_factor(kx_geogcs_unit(source));
  out.unit_target = kx_unit_factor(kx_geogcs_unit(target));

  kx_parameter slots[kValueCount];
  kx_geogtran_parameters(gt, slots);
  if (out.function == kx_longitude_rotation_ccw) {
    out.kind = MethodKind::kLongitudeRotation;
    out.datums_equal = kx_datum_eq(kx_geogcs_datum(g1), kx_geogcs_datum(g2)) != 0;
    out.val[kRz] = out.pm_source - out.pm_target;
  } else if (is_grid_function(out.function)) {
    out.kind = MethodKind::kGrid;
    if (slots[kDataset] != nullptr) kx_parameter_name(slots[kDataset], out.dataset);
    out.dataset[sizeof out.dataset - 1] = '\0';
    kx_gtconstants gc = kx_geogtran_gtconstants(gt);
    if (gc != nullptr) {
      out.ivals = kx_gtconstants_ivals(gc);
      out.fvals = kx_gtconstants_fvals(gc);
      out.dvals = kx_gtconstants_dvals(gc);
    }
  } else {
    out.kind = MethodKind::kEquation;
    for (int i = 0; i < kValueCount; ++i) out.val[i] = kx_parameter_value(slots[i]);
    out.val[kRx] *= kArcSecond;
    out.val[kRy] *= kArcSecond;
    out.val[kRz] *= kArcSecond;
    out.val[kDs] *= kPpm;
  }
}

int transform(kx_geogtran gt, Direction dir, int n, double *coords, double *heights) {
  if (n > 0 && coords == nullptr) return 0;
  UnpackedGeogtran u;
  unpack_geogtran(gt, dir, u);
  // An unusable transformation must not even convert units.
  if (!u.valid) return 0;
  if (u.kind == MethodKind::kLongitudeRotation && !u.datums_equal) return 0;

  const bool equation = u.kind == MethodKind::kEquation;
  const bool shift_source = equation && u.pm_source != 0.0;
  const bool shift_target = equation && u.pm_target != 0.0;
  const std::size_t values = n > 0 ? 2 * static_cast<std::size_t>(n) : 0;
  for (std::size_t i = 0; i < values; i += 2) {
    coords[i] *= u.unit_source;
    coords[i + 1] *= u.unit_source;
    if (shift_source) coords[i] = reduce_angle(coords[i] + u.pm_source);
  }
  const int result = u.function(u.sph1, u.sph2, u.val,
                                u.kind == MethodKind::kGrid ? u.dataset : nullptr, n, coords,
                                heights, u.ivals, u.fvals, u.dvals);
  for (std::size_t i = 0; i < values; i += 2) {
    if (shift_target) coords[i] = reduce_angle(coords[i] - u.pm_target);
    coords[i] /= u.unit_target;
    coords[i + 1] /= u.unit_target;
  }
  return result;
}

}  // namespace geogtran
}  // namespace kx
