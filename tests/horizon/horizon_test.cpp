// Horizon records: the normal-cylindrical envelope at the seams and the
// record's release.
#include <gtest/gtest.h>

#include <cmath>

#include "kx.h"

namespace {

constexpr double kPi = 3.141592653589793;

struct Envelope {
  double west, south, east, north;
  int seam;
};

Envelope envelope_for(double lambda0) {
  double par[16] = {};
  par[2] = lambda0;
  kx_horizon *h = kx_horizon_normal_cylindrical(nullptr, par);
  EXPECT_NE(h, nullptr);
  EXPECT_EQ(h->count, 1);
  EXPECT_EQ(h->shape, 0);
  EXPECT_EQ(h->inclusion, 1);
  EXPECT_EQ(h->npoints, 2);
  Envelope e{h->points[0], h->points[1], h->points[2], h->points[3], h->seam};
  kx_horizon_del(h);
  return e;
}

TEST(NormalCylindricalHorizon, EnvelopeAroundTheCentralMeridian) {
  const Envelope zero = envelope_for(0.0);
  EXPECT_DOUBLE_EQ(zero.west, -kPi + 2e-7);
  EXPECT_DOUBLE_EQ(zero.east, kPi - 2e-7);
  EXPECT_EQ(zero.south, -kPi / 2);
  EXPECT_EQ(zero.north, kPi / 2);
  EXPECT_EQ(zero.seam, 3);

  const Envelope back = envelope_for(kPi);
  EXPECT_DOUBLE_EQ(back.west, 2e-7);
  EXPECT_DOUBLE_EQ(back.east, 2 * kPi - 2e-7);
  EXPECT_EQ(back.seam, 1);

  // East of Greenwich the opposite meridian is west of it and vice versa:
  // the envelope always spans 2 pi less the two nudges.
  for (double deg : {-170.0, -90.0, -1.0, 1.0, 45.0, 179.0, 405.0}) {
    const Envelope e = envelope_for(deg * kPi / 180);
    EXPECT_NEAR(e.east - e.west, 2 * kPi - 4e-7, 1e-12) << deg;
    EXPECT_EQ(e.seam, 3) << deg;
    EXPECT_NEAR(e.west, kx_delta(deg * kPi / 180) - kPi + 2e-7, 1e-12) << deg;
  }
  kx_horizon_del(nullptr);
}

}  // namespace
