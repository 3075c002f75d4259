// Forward and inverse throughput of the projection driver on one million
// points, per call and with loaded constants, against PROJ on the same
// points and parameters in the same run. PROJ runs its operation directly
// (radians in, metres out, no pipeline), libkx goes through kx_geog_to_proj /
// kx_proj_to_geog including the degree and false-origin conversions. The
// summary lines "ratio kx/PROJ <case> <direction>: X" give kx throughput over
// PROJ throughput; a case whose projection is not in the library is skipped.
#include "kx.h"

#include <benchmark/benchmark.h>
#include <proj.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kPoints = 1000000;
constexpr double kDeg = 3.141592653589793 / 180;

const char kWgs84[] =
    "GEOGCS[\"GCS_WGS_1984\",DATUM[\"D_WGS_1984\",SPHEROID[\"WGS_1984\",6378137.0,"
    "298.257223563]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]]";

struct Case {
  const char *name;
  std::string projcs;         // PROJCS text without false origin
  std::vector<const char *> proj;  // PROJ definitions to compare with
  double lon0, lon1, lat0, lat1;   // the region the points are drawn from
};

std::vector<Case> cases() {
  const std::string g = kWgs84;
  return {
      {"transverse_mercator",
       "PROJCS[\"TM\"," + g +
           ",PROJECTION[\"Transverse_Mercator\"],PARAMETER[\"Central_Meridian\",15.0],"
           "PARAMETER[\"Scale_Factor\",0.9996],UNIT[\"Meter\",1.0]]",
       {"+proj=tmerc +lon_0=15 +k=0.9996 +ellps=WGS84 +approx",
        "+proj=tmerc +lon_0=15 +k=0.9996 +ellps=WGS84"},
       12, 18, -80, 84},
      {"lambert_conformal_conic",
       "PROJCS[\"LCC\"," + g +
           ",PROJECTION[\"Lambert_Conformal_Conic\"],PARAMETER[\"Central_Meridian\",-100.3333333333333],"
           "PARAMETER[\"Standard_Parallel_1\",30.11666666666667],"
           "PARAMETER[\"Standard_Parallel_2\",31.88333333333333],"
           "PARAMETER[\"Latitude_Of_Origin\",29.66666666666667],UNIT[\"Meter\",1.0]]",
       {"+proj=lcc +lat_1=30.11666666666667 +lat_2=31.88333333333333 +lat_0=29.66666666666667 "
        "+lon_0=-100.3333333333333 +ellps=WGS84"},
       -107, -93, 25, 37},
      {"mercator",
       "PROJCS[\"Mercator\"," + g +
           ",PROJECTION[\"Mercator\"],PARAMETER[\"Central_Meridian\",0.0],"
           "PARAMETER[\"Standard_Parallel_1\",0.0],UNIT[\"Meter\",1.0]]",
       {"+proj=merc +lon_0=0 +ellps=WGS84"},
       -180, 180, -80, 80},
      {"polar_stereographic",
       "PROJCS[\"Polar\"," + g +
           ",PROJECTION[\"Stereographic_North_Pole\"],PARAMETER[\"Central_Meridian\",-45.0],"
           "PARAMETER[\"Standard_Parallel_1\",70.0],UNIT[\"Meter\",1.0]]",
       {"+proj=stere +lat_0=90 +lat_ts=70 +lon_0=-45 +ellps=WGS84"},
       -180, 180, 55, 90},
      {"hotine_oblique_mercator",
       "PROJCS[\"HOM\"," + g +
           ",PROJECTION[\"Hotine_Oblique_Mercator_Azimuth_Center\"],"
           "PARAMETER[\"Longitude_Of_Center\",-133.6666666666667],"
           "PARAMETER[\"Latitude_Of_Center\",57.0],PARAMETER[\"Azimuth\",-36.86989764583333],"
           "PARAMETER[\"Scale_Factor\",0.9999],UNIT[\"Meter\",1.0]]",
       {"+proj=omerc +lat_0=57 +lonc=-133.6666666666667 +alpha=-36.86989764583333 +k=0.9999 "
        "+ellps=WGS84"},
       -141, -129, 54, 60},
      {"lambert_azimuthal_equal_area",
       "PROJCS[\"LAEA\"," + g +
           ",PROJECTION[\"Lambert_Azimuthal_Equal_Area\"],PARAMETER[\"Central_Meridian\",10.0],"
           "PARAMETER[\"Latitude_Of_Origin\",52.0],UNIT[\"Meter\",1.0]]",
       {"+proj=laea +lat_0=52 +lon_0=10 +ellps=WGS84"},
       -30, 45, 30, 72},
      // Oblique on the ellipsoid: geodesics from the centre in both libraries.
      {"azimuthal_equidistant",
       "PROJCS[\"AEQD\"," + g +
           ",PROJECTION[\"Azimuthal_Equidistant\"],PARAMETER[\"Central_Meridian\",10.0],"
           "PARAMETER[\"Latitude_Of_Origin\",50.0],UNIT[\"Meter\",1.0]]",
       {"+proj=aeqd +lat_0=50 +lon_0=10 +ellps=WGS84"},
       -10, 30, 30, 70},
      // PROJ's krovak is always on Bessel's ellipsoid, so libkx is too.
      {"krovak",
       "PROJCS[\"Krovak\",GEOGCS[\"GCS_Bessel\",DATUM[\"D_Bessel\",SPHEROID[\"Bessel_1841\","
       "6377397.155,299.1528128]],PRIMEM[\"Greenwich\",0.0],UNIT[\"Degree\",0.0174532925199433]],"
       "PROJECTION[\"Krovak\"],PARAMETER[\"Pseudo_Standard_Parallel_1\",78.5],"
       "PARAMETER[\"Scale_Factor\",0.9999],PARAMETER[\"Azimuth\",30.28813975277778],"
       "PARAMETER[\"Longitude_Of_Center\",24.83333333333333],"
       "PARAMETER[\"Latitude_Of_Center\",49.5],PARAMETER[\"X_Scale\",-1.0],"
       "PARAMETER[\"Y_Scale\",1.0],PARAMETER[\"XY_Plane_Rotation\",90.0],UNIT[\"Meter\",1.0]]",
       {"+proj=krovak +ellps=bessel"},
       12, 23, 47.5, 51},
      // World projections over the whole globe; both libraries use the sphere
      // of radius a (the Robinson: of the spheroid's area).
      {"mollweide",
       "PROJCS[\"Mollweide\"," + g +
           ",PROJECTION[\"Mollweide\"],PARAMETER[\"Central_Meridian\",10.0],UNIT[\"Meter\",1.0]]",
       {"+proj=moll +lon_0=10 +R=6378137"},
       -180, 180, -90, 90},
      {"robinson",
       "PROJCS[\"Robinson\"," + g +
           ",PROJECTION[\"Robinson\"],PARAMETER[\"Central_Meridian\",10.0],UNIT[\"Meter\",1.0]]",
       {"+proj=robin +lon_0=10 +ellps=WGS84 +R_A"},
       -180, 180, -90, 90},
      {"winkel_tripel",
       "PROJCS[\"Winkel_Tripel\"," + g +
           ",PROJECTION[\"Winkel_Tripel\"],PARAMETER[\"Central_Meridian\",10.0],"
           "PARAMETER[\"Standard_Parallel_1\",50.467],UNIT[\"Meter\",1.0]]",
       {"+proj=wintri +lat_1=50.467 +lon_0=10 +R=6378137"},
       -180, 180, -90, 90},
  };
}

// Degrees for libkx, radians for PROJ, and the projected points of both.
struct Points {
  std::vector<double> degrees;
  std::vector<double> radians;
  std::vector<double> metres;
};

Points make_points(const Case &c, kx_projcs pcs) {
  std::mt19937_64 rng(1000003);
  std::uniform_real_distribution<double> lon(c.lon0, c.lon1), lat(c.lat0, c.lat1);
  Points p;
  p.degrees.resize(2 * kPoints);
  for (int i = 0; i < kPoints; ++i) {
    p.degrees[2 * i] = lon(rng);
    p.degrees[2 * i + 1] = lat(rng);
  }
  p.radians = p.degrees;
  for (double &v : p.radians) v *= kDeg;
  p.metres = p.degrees;
  kx_geog_to_proj(pcs, kPoints, p.metres.data());
  return p;
}

double best_seconds(int repeats, const std::function<void()> &pass) {
  double best = 1e300;
  for (int r = 0; r < repeats; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    pass();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

struct Runner {
  kx_projcs pcs;
  const std::vector<double> *input;
  std::vector<double> work;
  bool forward;
  void kx() {
    std::memcpy(work.data(), input->data(), input->size() * sizeof(double));
    const int n = forward ? kx_geog_to_proj(pcs, kPoints, work.data())
                          : kx_proj_to_geog(pcs, kPoints, work.data());
    benchmark::DoNotOptimize(n);
  }
};

struct ProjRunner {
  PJ *op;
  const std::vector<double> *input;
  std::vector<double> work;
  bool forward;
  void run() {
    std::memcpy(work.data(), input->data(), input->size() * sizeof(double));
    const size_t stride = 2 * sizeof(double);
    proj_trans_generic(op, forward ? PJ_FWD : PJ_INV, work.data(), stride, kPoints,
                       work.data() + 1, stride, kPoints, nullptr, 0, 0, nullptr, 0, 0);
    benchmark::DoNotOptimize(work.data());
  }
};

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  PJ_CONTEXT *ctx = proj_context_create();
  std::vector<std::string> summary;
  std::vector<Case> all = cases();
  // Everything the registered benchmarks refer to lives until the end.
  std::vector<std::unique_ptr<Points>> points;
  std::vector<std::unique_ptr<Runner>> runners;
  std::vector<std::unique_ptr<ProjRunner>> proj_runners;
  std::vector<kx_projcs> systems;
  std::vector<PJ *> ops;

  for (const Case &c : all) {
    kx_projcs plain = kx_projcs_from_string(c.projcs.c_str());
    kx_projcs loaded = kx_projcs_from_string(c.projcs.c_str());
    if (plain == nullptr || loaded == nullptr) {
      std::printf("skipped %s: not in the library\n", c.name);
      kx_projcs_del(plain);
      kx_projcs_del(loaded);
      continue;
    }
    kx_projcs_load_constants(loaded);
    systems.push_back(plain);
    systems.push_back(loaded);
    points.push_back(std::make_unique<Points>(make_points(c, plain)));
    const Points &pts = *points.back();
    for (bool forward : {true, false}) {
      const std::vector<double> *kx_in = forward ? &pts.degrees : &pts.metres;
      const std::vector<double> *pj_in = forward ? &pts.radians : &pts.metres;
      const std::string dir = forward ? "forward" : "inverse";
      runners.push_back(std::make_unique<Runner>(Runner{plain, kx_in, *kx_in, forward}));
      Runner *r_plain = runners.back().get();
      runners.push_back(std::make_unique<Runner>(Runner{loaded, kx_in, *kx_in, forward}));
      Runner *r_loaded = runners.back().get();
      benchmark::RegisterBenchmark((std::string("kx/") + c.name + "/" + dir).c_str(),
                                   [r_plain](benchmark::State &s) {
                                     for (auto _ : s) r_plain->kx();
                                     s.SetItemsProcessed(s.iterations() * kPoints);
                                   })->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark((std::string("kx_loaded/") + c.name + "/" + dir).c_str(),
                                   [r_loaded](benchmark::State &s) {
                                     for (auto _ : s) r_loaded->kx();
                                     s.SetItemsProcessed(s.iterations() * kPoints);
                                   })->Unit(benchmark::kMillisecond);
      const double t_plain = best_seconds(5, [r_plain] { r_plain->kx(); });
      const double t_loaded = best_seconds(5, [r_loaded] { r_loaded->kx(); });
      // Loaded constants must not change a single bit.
      const bool same = r_plain->work == r_loaded->work;
      for (const char *def : c.proj) {
        PJ *op = proj_create(ctx, def);
        if (op == nullptr) continue;
        ops.push_back(op);
        proj_runners.push_back(std::make_unique<ProjRunner>(ProjRunner{op, pj_in, *pj_in, forward}));
        ProjRunner *pr = proj_runners.back().get();
        const std::string label = std::string(c.name) +
                                  (std::strstr(def, "+approx") ? " (PROJ +approx)" : "") + " " + dir;
        benchmark::RegisterBenchmark(("proj/" + label).c_str(),
                                     [pr](benchmark::State &s) {
                                       for (auto _ : s) pr->run();
                                       s.SetItemsProcessed(s.iterations() * kPoints);
                                     })->Unit(benchmark::kMillisecond);
        const double t_proj = best_seconds(5, [pr] { pr->run(); });
        char line[256];
        std::snprintf(line, sizeof line,
                      "ratio kx/PROJ %s: %.2f per call, %.2f loaded (%.1f, %.1f, PROJ %.1f ns/point)%s",
                      label.c_str(), t_proj / t_plain, t_proj / t_loaded, t_plain / kPoints * 1e9,
                      t_loaded / kPoints * 1e9, t_proj / kPoints * 1e9,
                      same ? "" : " LOADED RESULTS DIFFER");
        summary.push_back(line);
      }
    }
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (const std::string &s : summary) std::puts(s.c_str());
  for (PJ *op : ops) proj_destroy(op);
  for (kx_projcs p : systems) kx_projcs_del(p);
  proj_context_destroy(ctx);
  return 0;
}
