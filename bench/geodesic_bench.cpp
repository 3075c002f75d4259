// Geodesic inverse and direct throughput on 100 000 random WGS 84 pairs,
// libkx against GeographicLib's Geodesic class in the same run. The summary
// lines "ratio kx/GeographicLib inverse: X" (and direct) give kx throughput
// over GeographicLib throughput.
#include "kx.h"

#include <GeographicLib/Geodesic.hpp>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kPairs = 100000;
constexpr double kA = 6378137.0;
constexpr double kF = 1 / 298.257223563;
constexpr double kE2 = (2 - kF) * kF;
constexpr double kDeg = 3.141592653589793 / 180;

struct Case {
  double lat1, lon1, lat2, lon2, azi1, s12;  // degrees and metres
};

const std::vector<Case> &cases() {
  static const std::vector<Case> data = [] {
    std::mt19937_64 rng(20261206);
    std::uniform_real_distribution<double> lon(-180, 180), u(-1, 1), az(-180, 180), dist(0, 2e7);
    std::vector<Case> v(kPairs);
    for (Case &c : v) {
      // Uniform on the sphere: latitude from asin of a uniform value.
      c.lat1 = std::asin(u(rng)) / kDeg;
      c.lat2 = std::asin(u(rng)) / kDeg;
      c.lon1 = lon(rng);
      c.lon2 = lon(rng);
      c.azi1 = az(rng);
      c.s12 = dist(rng);
    }
    return v;
  }();
  return data;
}

const GeographicLib::Geodesic &wgs84() {
  static const GeographicLib::Geodesic g(kA, kF);
  return g;
}

void KxInverse(benchmark::State &state) {
  const auto &v = cases();
  for (auto _ : state) {
    double sum = 0;
    for (const Case &c : v) {
      double s, a1, a2;
      kx_geodesic_distance(kA, kE2, c.lon1 * kDeg, c.lat1 * kDeg, c.lon2 * kDeg, c.lat2 * kDeg, &s, &a1, &a2);
      sum += s + a1 + a2;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kPairs);
}

void GeographicLibInverse(benchmark::State &state) {
  const auto &v = cases();
  const auto &g = wgs84();
  for (auto _ : state) {
    double sum = 0;
    for (const Case &c : v) {
      double s, a1, a2;
      g.Inverse(c.lat1, c.lon1, c.lat2, c.lon2, s, a1, a2);
      sum += s + a1 + a2;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kPairs);
}

void KxDirect(benchmark::State &state) {
  const auto &v = cases();
  for (auto _ : state) {
    double sum = 0;
    for (const Case &c : v) {
      double lon, lat;
      kx_geodesic_coordinate(kA, kE2, c.lon1 * kDeg, c.lat1 * kDeg, c.s12, c.azi1 * kDeg, &lon, &lat);
      sum += lon + lat;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kPairs);
}

void GeographicLibDirect(benchmark::State &state) {
  const auto &v = cases();
  const auto &g = wgs84();
  for (auto _ : state) {
    double sum = 0;
    for (const Case &c : v) {
      double lat, lon;
      g.Direct(c.lat1, c.lon1, c.azi1, c.s12, lat, lon);
      sum += lon + lat;
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kPairs);
}

BENCHMARK(KxInverse)->Unit(benchmark::kMillisecond);
BENCHMARK(GeographicLibInverse)->Unit(benchmark::kMillisecond);
BENCHMARK(KxDirect)->Unit(benchmark::kMillisecond);
BENCHMARK(GeographicLibDirect)->Unit(benchmark::kMillisecond);

// Best of several passes over the whole set, for the summary ratios.
template <class F>
double best_seconds(F &&pass) {
  double best = 1e300;
  for (int r = 0; r < 7; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    pass();
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

void print_ratios() {
  const auto &v = cases();
  const auto &g = wgs84();
  volatile double sink = 0;
  const double kx_inv = best_seconds([&] {
    double sum = 0;
    for (const Case &c : v) {
      double s, a1, a2;
      kx_geodesic_distance(kA, kE2, c.lon1 * kDeg, c.lat1 * kDeg, c.lon2 * kDeg, c.lat2 * kDeg, &s, &a1, &a2);
      sum += s + a1 + a2;
    }
    sink = sum;
  });
  const double gl_inv = best_seconds([&] {
    double sum = 0;
    for (const Case &c : v) {
      double s, a1, a2;
      g.Inverse(c.lat1, c.lon1, c.lat2, c.lon2, s, a1, a2);
      sum += s + a1 + a2;
    }
    sink = sum;
  });
  const double kx_dir = best_seconds([&] {
    double sum = 0;
    for (const Case &c : v) {
      double lon, lat;
      kx_geodesic_coordinate(kA, kE2, c.lon1 * kDeg, c.lat1 * kDeg, c.s12, c.azi1 * kDeg, &lon, &lat);
      sum += lon + lat;
    }
    sink = sum;
  });
  const double gl_dir = best_seconds([&] {
    double sum = 0;
    for (const Case &c : v) {
      double lat, lon;
      g.Direct(c.lat1, c.lon1, c.azi1, c.s12, lat, lon);
      sum += lon + lat;
    }
    sink = sum;
  });
  (void)sink;
  std::printf("kx inverse %.1f ns/pair, GeographicLib inverse %.1f ns/pair\n", kx_inv / kPairs * 1e9,
              gl_inv / kPairs * 1e9);
  std::printf("kx direct %.1f ns/pair, GeographicLib direct %.1f ns/pair\n", kx_dir / kPairs * 1e9,
              gl_dir / kPairs * 1e9);
  std::printf("ratio kx/GeographicLib inverse: %.2f\n", gl_inv / kx_inv);
  std::printf("ratio kx/GeographicLib direct: %.2f\n", gl_dir / kx_dir);
}

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  print_ratios();
  return 0;
}
