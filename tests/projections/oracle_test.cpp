// Every oracle case of tests/data/projections/<stem>_cases.csv and
// <stem>_points.csv (made by tests/scripts/gen_*.py with cct, GeographicLib,
// GeodSolve and 40-digit formulas): forward, inverse and round trip of each
// point, with loaded constants and without, and round trips over a grid
// around each case (oracle_grids.csv). The bounds, by case, projection and
// region, and the agreement measured, are in oracle_bounds.csv; among them
// the Gauss-Kruger bounds kx.h states.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

#include "projection_fixture.h"

namespace {

using namespace kxtest;

const char *const kStems[] = {"oracle", "cyl", "tm", "tm_complex", "near_cylinder", "sterea_pole",
                              "local", "net"};

struct Case {
  std::string name, projection;
  Spheroid sph{1.0, 0.0};
  Parameters par;
  std::vector<double> geo, xy, back;  // back: the oracle's inverse of xy
  int size() const { return static_cast<int>(geo.size() / 2); }
};

std::vector<Case> read_cases() {
  std::vector<Case> cases;
  for (const std::string stem : kStems) {
    std::map<std::string, size_t> index;
    for (const Row &r : read_csv(data_path("projections/" + stem + "_cases.csv"))) {
      index[r.at(0)] = cases.size();
      cases.push_back({r.at(0),
                       r.at(1),
                       Spheroid::from_rf(num(r.at(2)), num(r.at(3))),
                       parse_parameters(r.at(4)),
                       {},
                       {},
                       {}});
    }
    for (const Row &r : read_csv(data_path("projections/" + stem + "_points.csv"))) {
      Case &c = cases.at(index.at(r.at(0)));
      const size_t b = r.size() > 6 ? 5 : 1;  // the inverse's own oracle, else lon, lat
      c.geo.insert(c.geo.end(), {num(r.at(1)) * kDeg, num(r.at(2)) * kDeg});
      c.xy.insert(c.xy.end(), {num(r.at(3)), num(r.at(4))});
      c.back.insert(c.back.end(), {num(r.at(b)) * kDeg, num(r.at(b + 1)) * kDeg});
    }
  }
  return cases;
}

// A row of oracle_bounds.csv or oracle_grids.csv: which cases and points.
struct Selector {
  std::string what, spheroid, region;
  bool matches(const Case &c) const {
    const bool sphere = c.sph.v[1] == 0.0;
    if (spheroid != "any" && (spheroid == "sphere") != sphere) return false;
    if (what == "*" || what == c.name || what == c.projection) return true;
    return what.back() == '*' && c.name.compare(0, what.size() - 1, what, 0, what.size() - 1) == 0;
  }
  // Region terms joined by '&': all, pole, singular (the transverse
  // cylinders' equatorial points), off<=X, off>=X, lat<=X, lat>=X (degrees
  // from the central meridian, absolute latitude).
  bool contains(const Case &c, const double *geo) const {
    std::stringstream ss(region);
    std::string t;
    const double off = std::fabs(kx_delta(geo[0] - c.par.v[2])) / kDeg;
    const double lat = std::fabs(geo[1]) / kDeg;
    while (std::getline(ss, t, '&')) {
      const double x = t.size() > 5 ? num(t.substr(5)) : 0.0;
      const double v = t.compare(0, 3, "off") == 0 ? off : lat;
      if (t == "pole" && lat < 89.99) return false;
      if (t == "singular" && std::fabs(std::cos(geo[1]) * std::sin(geo[0] - c.par.v[2])) <= 0.999)
        return false;
      if (t.size() > 5 && t[3] == '<' && v > x + 1e-9) return false;
      if (t.size() > 5 && t[3] == '>' && v < x - 1e-9) return false;
    }
    return true;
  }
};

// Bounds: forward in metres, inverse and round trip as the angle on the
// ground in degrees; "-" unchecked, a round trip of "fail" may fail.
struct Bound {
  Selector sel;
  double fwd, inv, trip;
  bool may_fail;
};

double bound_value(const std::string &s) { return s == "-" || s == "fail" ? NAN : num(s); }

std::vector<Bound> read_bounds() {
  std::vector<Bound> b;
  for (const Row &r : read_csv(data_path("projections/oracle_bounds.csv")))
    b.push_back({{r.at(0), r.at(1), r.at(2)},
                 bound_value(r.at(3)),
                 bound_value(r.at(4)),
                 bound_value(r.at(5)),
                 r.at(5) == "fail"});
  return b;
}

const Bound *bound_for(const std::vector<Bound> &bounds, const Case &c, const double *geo) {
  for (const Bound &b : bounds)
    if (b.sel.matches(c) && b.sel.contains(c, geo)) return &b;
  return nullptr;
}

// The worst ratio of difference to bound over a case, and where.
struct Worst {
  const char *what;
  double ratio = 0, diff = 0, lon = 0, lat = 0;
  void add(double d, double bound, const double *geo) {
    if (std::isnan(bound) || !(d / bound > ratio || std::isnan(d))) return;
    ratio = std::isnan(d) ? INFINITY : d / bound;
    diff = d;
    lon = geo[0] / kDeg;
    lat = geo[1] / kDeg;
  }
  void check(const Case &c) const {
    EXPECT_LE(ratio, 1.0) << c.name << " " << what << " off by " << diff << " at " << lon << " "
                          << lat;
    if (std::getenv("KX_VERBOSE"))
      std::printf("  %-28s %-10s %.3g of its bound\n", c.name.c_str(), what, ratio);
  }
};

TEST(ProjectionOracle, EveryCaseBothWaysLoadedAndRoundTrip) {
  const auto cases = read_cases();
  const auto bounds = read_bounds();
  ASSERT_GE(cases.size(), 230u);
  std::set<kx_projection_fn> covered;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const kx::ProjectionRow &f = row(c.projection);
    ASSERT_NE(f.forward, nullptr) << c.projection;
    covered.insert(f.forward);
    const int n = c.size();
    ASSERT_GE(n, 1);
    std::vector<double> fwd = c.geo, inv = c.xy;
    EXPECT_EQ(f.forward(c.sph.get(), c.par.get(), n, fwd.data(), nullptr, nullptr), n);
    EXPECT_EQ(f.inverse(c.sph.get(), c.par.get(), n, inv.data(), nullptr, nullptr), n);
    std::vector<double> trip = fwd;
    f.inverse(c.sph.get(), c.par.get(), n, trip.data(), nullptr, nullptr);
    if (f.pcsconstfunc != nullptr) {
      const Loaded k(f.pcsconstfunc, c.sph.get(), c.par.get());
      ASSERT_GT(k.result(), 0);
      // The Winkel Tripel keeps its inverse's 11 x 11 grid after the counts.
      EXPECT_EQ(k.ivals()[0], c.projection == "Winkel_Tripel" ? 244 : 2);
      EXPECT_EQ(k.ivals()[1], k.result());
      std::vector<double> fwd_k = c.geo, inv_k = c.xy;
      f.forward(c.sph.get(), c.par.get(), n, fwd_k.data(), k.ivals(), k.dvals());
      f.inverse(c.sph.get(), c.par.get(), n, inv_k.data(), k.ivals(), k.dvals());
      EXPECT_TRUE(same_bits(fwd, fwd_k));
      EXPECT_TRUE(same_bits(inv, inv_k));
    }
    Worst wf{"forward"}, wi{"inverse"}, wt{"round trip"};
    for (int i = 0; i < n; ++i) {
      const double *geo = &c.geo[2 * i];
      const Bound *b = bound_for(bounds, c, geo);
      ASSERT_NE(b, nullptr) << "no bound at " << geo[0] / kDeg << " " << geo[1] / kDeg;
      const double dx = std::max(std::fabs(fwd[2 * i] - c.xy[2 * i]),
                                 std::fabs(fwd[2 * i + 1] - c.xy[2 * i + 1]));
      wf.add(std::isnan(dx) ? INFINITY : dx, b->fwd, geo);
      wi.add(ground_deg(&inv[2 * i], &c.back[2 * i]), b->inv, geo);
      wt.add(ground_deg(&trip[2 * i], geo), b->trip, geo);
    }
    wf.check(c);
    wi.check(c);
    wt.check(c);
  }
  // Every set of functions in the registry has its oracle.
  int count = 0;
  const kx::ProjectionRow *rows = kx::projection_rows(&count);
  for (int i = 0; i < count; ++i)
    EXPECT_TRUE(rows[i].forward == nullptr || covered.count(rows[i].forward)) << rows[i].name;
}

// Round trips over a grid about the central meridian (reach and step from
// oracle_grids.csv), pole to pole: every point not allowed to fail comes
// back within its region's bound.
TEST(ProjectionOracle, RoundTripsOverEachCaseGrid) {
  const auto bounds = read_bounds();
  std::vector<std::pair<Selector, std::vector<double>>> grids;
  for (const Row &r : read_csv(data_path("projections/oracle_grids.csv")))
    grids.push_back({{r.at(0), r.at(1), "all"}, {num(r.at(2)), num(r.at(3))}});
  int gridded = 0;
  for (const Case &c : read_cases()) {
    const auto g =
        std::find_if(grids.begin(), grids.end(), [&](const auto &x) { return x.first.matches(c); });
    if (g == grids.end()) continue;
    SCOPED_TRACE(c.name);
    const double reach = g->second[0], step = g->second[1];
    std::vector<double> geo;
    for (double lat = -90; lat <= 90; lat += step)
      for (double d = -reach; d <= reach + 1e-9; d += step)
        geo.insert(geo.end(), {c.par.v[2] + d * kDeg, lat * kDeg});
    const kx::ProjectionRow &f = row(c.projection);
    std::vector<double> pts = geo;
    const int n = static_cast<int>(pts.size() / 2);
    f.forward(c.sph.get(), c.par.get(), n, pts.data(), nullptr, nullptr);
    f.inverse(c.sph.get(), c.par.get(), n, pts.data(), nullptr, nullptr);
    Worst w{"grid trip"};
    for (int i = 0; i < n; ++i) {
      const Bound *b = bound_for(bounds, c, &geo[2 * i]);
      ASSERT_NE(b, nullptr) << geo[2 * i] / kDeg << " " << geo[2 * i + 1] / kDeg;
      if (!b->may_fail) w.add(ground_deg(&pts[2 * i], &geo[2 * i]), b->trip, &geo[2 * i]);
    }
    w.check(c);
    ++gridded;
  }
  EXPECT_GE(gridded, 80);
}

// The complex transverse Mercator's differences above are its conformal-
// latitude series' (1.4e-12 rad). At the latitude whose series value is the
// exact conformal latitude, its elliptic functions agree to nanometres.
TEST(ProjectionOracle, ComplexTransverseMercatorWithExactConformalLatitude) {
  double worst = 0;
  int checked = 0;
  for (const Case &c : read_cases()) {
    // Origins on the equator only: y0 carries the series' error at phi0.
    if (c.projection != "Transverse_Mercator_Complex" || c.sph.v[1] == 0 || c.par.v[6] != 0)
      continue;
    const double e2 = c.sph.v[1], e = std::sqrt(e2);
    for (int i = 0; i < c.size(); ++i) {
      const double phi = c.geo[2 * i + 1];
      if (std::fabs(phi) > 88.5 * kDeg) continue;
      const double chi =
          std::asin(std::tanh(std::atanh(std::sin(phi)) - e * std::atanh(e * std::sin(phi))));
      double p = phi;
      for (int pass = 0; pass < 4; ++pass) {
        const double h = 1e-7;
        p += (chi - kx_phi_to_chi(e2, p)) * 2 * h /
             (kx_phi_to_chi(e2, p + h) - kx_phi_to_chi(e2, p - h));
      }
      double pt[2] = {c.geo[2 * i], p};
      ASSERT_EQ(kx_tm_complex_fwd(c.sph.get(), c.par.get(), 1, pt, nullptr, nullptr), 1);
      worst = std::max({worst, std::fabs(pt[0] - c.xy[2 * i]), std::fabs(pt[1] - c.xy[2 * i + 1])});
      ++checked;
    }
  }
  EXPECT_GT(checked, 400);
  EXPECT_LE(worst, 3e-8);
}

}  // namespace
