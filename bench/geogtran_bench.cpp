// Datum-shift throughput of the transformation driver on one million points
// with heights, against PROJ's equivalent pipeline (+proj=cart, +proj=helmert,
// inverse +proj=cart) on the same points in the same run. libkx goes through
// kx_geog1_to_geog2 including the degree conversions; PROJ gets radians.
// The summary lines "ratio kx/PROJ <case>: X" give kx throughput over PROJ
// throughput.
// NTv2: one million points inside nzgd2kgrid0005.gsb shifted forward and
// inverse from the loaded grid against PROJ's +proj=hgridshift (radians
// both), and the time to load each real grid of Debian's proj-data.
#include "kx.h"

#include <benchmark/benchmark.h>
#include <proj.h>

#include <algorithm>
#include <chrono>
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

struct Case {
  const char *name;
  const char *method;
  kx_method_fn fwd, inv;
  double a1, rf1;
  double par[7];  // dx dy dz (m), rx ry rz (arc-seconds), ds (ppm)
  const char *proj;
};

const Case kCases[] = {
    {"geocentric_translation (NAD27 to WGS 84)", "Geocentric_Translation",
     kx_geocentric_translation_fwd, kx_geocentric_translation_inv, 6378206.4,
     294.9786982138982, {-3.0, 142.0, 183.0, 0, 0, 0, 0},
     "+proj=pipeline +step +proj=cart +a=6378206.4 +rf=294.9786982138982 "
     "+step +proj=helmert +x=-3 +y=142 +z=183 +step +inv +proj=cart +ellps=WGS84"},
    {"position_vector (OSGB 1936 to WGS 84)", "Position_Vector", kx_position_vector_fwd,
     kx_position_vector_inv, 6377563.396, 299.3249646,
     {446.448, -125.157, 542.06, 0.15, 0.247, 0.842, -20.489},
     "+proj=pipeline +step +proj=cart +a=6377563.396 +rf=299.3249646 "
     "+step +proj=helmert +exact +convention=position_vector +x=446.448 +y=-125.157 +z=542.06 "
     "+rx=0.15 +ry=0.247 +rz=0.842 +s=-20.489 +step +inv +proj=cart +ellps=WGS84"},
};

constexpr const char *kNames[7] = {"X_Axis_Translation", "Y_Axis_Translation",
                                   "Z_Axis_Translation", "X_Axis_Rotation",
                                   "Y_Axis_Rotation",    "Z_Axis_Rotation",
                                   "Scale_Difference"};

kx_geogcs gcs(const char *name, double a, double rf) {
  return kx_geogcs_new(name, kx_datum_new(name, kx_spheroid_new(name, a, 1.0 / rf)),
                       kx_primem_new("Greenwich", 0.0), kx_unit_new("Degree", kDeg));
}

kx_geogtran make(const Case &c) {
  kx_parameter par[16] = {};
  for (int i = 0; i < 7; ++i)
    if (c.par[i] != 0.0) par[i] = kx_parameter_new(kNames[i], c.par[i]);
  return kx_geogtran_new(c.name, gcs("Source", c.a1, c.rf1), gcs("WGS84", 6378137.0, 298.257223563),
                         kx_method_new(c.method, c.fwd, c.inv), par);
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

struct Data {
  std::vector<double> degrees, radians, heights;
  std::vector<double> work, work_h;
};

const char *const kGridFolder = "/usr/share/proj/";
const char *const kGrids[] = {"nzgd2kgrid0005.gsb", "BETA2007.gsb", "ntf_r93.gsb", "CHENYX06.gsb"};

void ntv2_summary(PJ_CONTEXT *ctx, std::vector<std::string> &summary) {
  char line[256];
  for (const char *g : kGrids) {
    const std::string path = std::string(kGridFolder) + g;
    int floats = 0;
    const double t = best_seconds(5, [&] {
      kx_gtconstants gc = kx_gtconstants_new();
      floats = kx_ntv2_constants_get(gc, path.c_str());
      kx_gtconstants_del(gc);
    });
    if (floats == 0) {
      std::snprintf(line, sizeof line, "NTv2 load %s: not installed", g);
    } else {
      std::snprintf(line, sizeof line, "NTv2 load %s: %.2f ms (%d nodes)", g, t * 1e3, floats / 2);
    }
    summary.push_back(line);
  }
  const std::string nz = std::string(kGridFolder) + kGrids[0];
  kx_gtconstants gc = kx_gtconstants_new();
  PJ *op = proj_create(ctx, ("+proj=hgridshift +grids=" + nz).c_str());
  if (kx_ntv2_constants_get(gc, nz.c_str()) == 0 || op == nullptr) {
    summary.push_back("NTv2 shift: nzgd2kgrid0005.gsb or PROJ's hgridshift unavailable");
    kx_gtconstants_del(gc);
    proj_destroy(op);
    return;
  }
  std::mt19937_64 rng(18);
  std::uniform_real_distribution<double> lon(166.5, 178.5), lat(-47.5, -34.5);
  std::vector<double> pts(2 * kPoints), work(2 * kPoints);
  for (int i = 0; i < kPoints; ++i) {
    pts[2 * i] = lon(rng) * kDeg;
    pts[2 * i + 1] = lat(rng) * kDeg;
  }
  const int *iv = kx_gtconstants_ivals(gc);
  const float *fv = kx_gtconstants_fvals(gc);
  const double *dv = kx_gtconstants_dvals(gc);
  for (PJ_DIRECTION dir : {PJ_FWD, PJ_INV}) {
    const double t_kx = best_seconds(5, [&] {
      std::memcpy(work.data(), pts.data(), pts.size() * sizeof(double));
      benchmark::DoNotOptimize(dir == PJ_FWD ? kx_ntv2_const_fwd(iv, fv, dv, kPoints, work.data())
                                             : kx_ntv2_const_inv(iv, fv, dv, kPoints, work.data()));
    });
    const double t_proj = best_seconds(5, [&] {
      std::memcpy(work.data(), pts.data(), pts.size() * sizeof(double));
      const size_t stride = 2 * sizeof(double);
      proj_trans_generic(op, dir, work.data(), stride, kPoints, work.data() + 1, stride, kPoints,
                         nullptr, 0, 0, nullptr, 0, 0);
      benchmark::DoNotOptimize(work.data());
    });
    std::snprintf(line, sizeof line,
                  "ratio kx/PROJ NTv2 %s (nzgd2kgrid0005, loaded): %.2f (%.1f ns/point, PROJ %.1f ns/point)",
                  dir == PJ_FWD ? "forward" : "inverse", t_proj / t_kx, t_kx / kPoints * 1e9,
                  t_proj / kPoints * 1e9);
    summary.push_back(line);
  }
  kx_gtconstants_del(gc);
  proj_destroy(op);
}

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  PJ_CONTEXT *ctx = proj_context_create();
  std::mt19937_64 rng(1000003);
  std::uniform_real_distribution<double> lon(-180, 180), lat(-89, 89), hgt(-500, 9000);
  auto data = std::make_unique<Data>();
  Data &d = *data;
  d.degrees.resize(2 * kPoints);
  d.heights.resize(kPoints);
  for (int i = 0; i < kPoints; ++i) {
    d.degrees[2 * i] = lon(rng);
    d.degrees[2 * i + 1] = lat(rng);
    d.heights[i] = hgt(rng);
  }
  d.radians = d.degrees;
  for (double &v : d.radians) v *= kDeg;
  d.work = d.degrees;
  d.work_h = d.heights;

  std::vector<std::string> summary;
  std::vector<kx_geogtran> gts;
  std::vector<PJ *> ops;
  for (const Case &c : kCases) {
    kx_geogtran gt = make(c);
    PJ *op = proj_create(ctx, c.proj);
    if (gt == nullptr || op == nullptr) {
      std::printf("skipped %s\n", c.name);
      kx_geogtran_del(gt);
      proj_destroy(op);
      continue;
    }
    gts.push_back(gt);
    ops.push_back(op);
    Data *dp = data.get();
    auto run_kx = [gt, dp] {
      std::memcpy(dp->work.data(), dp->degrees.data(), dp->degrees.size() * sizeof(double));
      std::memcpy(dp->work_h.data(), dp->heights.data(), dp->heights.size() * sizeof(double));
      benchmark::DoNotOptimize(kx_geog1_to_geog2(gt, kPoints, dp->work.data(), dp->work_h.data()));
    };
    auto run_proj = [op, dp] {
      std::memcpy(dp->work.data(), dp->radians.data(), dp->radians.size() * sizeof(double));
      std::memcpy(dp->work_h.data(), dp->heights.data(), dp->heights.size() * sizeof(double));
      const size_t stride = 2 * sizeof(double);
      proj_trans_generic(op, PJ_FWD, dp->work.data(), stride, kPoints, dp->work.data() + 1,
                         stride, kPoints, dp->work_h.data(), sizeof(double), kPoints, nullptr, 0,
                         0);
      benchmark::DoNotOptimize(dp->work.data());
    };
    benchmark::RegisterBenchmark((std::string("kx/") + c.name).c_str(),
                                 [run_kx](benchmark::State &s) {
                                   for (auto _ : s) run_kx();
                                   s.SetItemsProcessed(s.iterations() * kPoints);
                                 })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("proj/") + c.name).c_str(),
                                 [run_proj](benchmark::State &s) {
                                   for (auto _ : s) run_proj();
                                   s.SetItemsProcessed(s.iterations() * kPoints);
                                 })->Unit(benchmark::kMillisecond);
    const double t_kx = best_seconds(5, run_kx);
    const double t_proj = best_seconds(5, run_proj);
    char line[256];
    std::snprintf(line, sizeof line, "ratio kx/PROJ %s: %.2f (%.1f ns/point, PROJ %.1f ns/point)",
                  c.name, t_proj / t_kx, t_kx / kPoints * 1e9, t_proj / kPoints * 1e9);
    summary.push_back(line);
  }
  ntv2_summary(ctx, summary);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (const std::string &s : summary) std::puts(s.c_str());
  for (PJ *op : ops) proj_destroy(op);
  for (kx_geogtran gt : gts) kx_geogtran_del(gt);
  proj_context_destroy(ctx);
  return 0;
}
