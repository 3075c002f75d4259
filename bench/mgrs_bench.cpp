// MGRS references per point on 100 000 random WGS 84 points (all latitudes,
// so a share of them UPS): writing at precision 5, reading back, each as
// whole-array calls and as one call per point. The whole-process comparison
// with GeoConvert is bench/mgrs_vs_geoconvert.sh.
#include "kx.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kPoints = 100000;
constexpr int kReferenceSize = 22;

struct Data {
  kx_geogcs wgs84 = kx_factory_geogcs(4326);
  std::vector<double> coords;
  std::vector<char> text;
  std::vector<char *> refs;
  Data() : coords(2 * kPoints), text(kReferenceSize * kPoints), refs(kPoints) {
    std::mt19937_64 rng(20261207);
    std::uniform_real_distribution<double> lon(-180, 180), u(-1, 1);
    for (int i = 0; i < kPoints; ++i) {
      coords[2 * i] = lon(rng);
      coords[2 * i + 1] = std::asin(u(rng)) * 180 / 3.141592653589793;
      refs[i] = &text[kReferenceSize * static_cast<std::size_t>(i)];
    }
    kx_geog_to_mgrs(wgs84, kPoints, coords.data(), 5, 0, refs.data());
  }
};

Data &data() {
  static Data d;
  return d;
}

void ToMgrsArray(benchmark::State &state) {
  Data &d = data();
  for (auto _ : state) {
    benchmark::DoNotOptimize(kx_geog_to_mgrs(d.wgs84, kPoints, d.coords.data(), 5, 0, d.refs.data()));
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

void ToMgrsPerPoint(benchmark::State &state) {
  Data &d = data();
  for (auto _ : state) {
    int count = 0;
    for (int i = 0; i < kPoints; ++i) count += kx_geog_to_mgrs(d.wgs84, 1, &d.coords[2 * i], 5, 0, &d.refs[i]);
    benchmark::DoNotOptimize(count);
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

void FromMgrsArray(benchmark::State &state) {
  Data &d = data();
  std::vector<double> out(2 * kPoints);
  for (auto _ : state) {
    benchmark::DoNotOptimize(kx_mgrs_to_geog(d.wgs84, kPoints, d.refs.data(), out.data()));
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

void FromMgrsPerPoint(benchmark::State &state) {
  Data &d = data();
  std::vector<double> out(2 * kPoints);
  for (auto _ : state) {
    int count = 0;
    for (int i = 0; i < kPoints; ++i) count += kx_mgrs_to_geog(d.wgs84, 1, &d.refs[i], &out[2 * i]);
    benchmark::DoNotOptimize(count);
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

BENCHMARK(ToMgrsArray)->Unit(benchmark::kMillisecond);
BENCHMARK(ToMgrsPerPoint)->Unit(benchmark::kMillisecond);
BENCHMARK(FromMgrsArray)->Unit(benchmark::kMillisecond);
BENCHMARK(FromMgrsPerPoint)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
