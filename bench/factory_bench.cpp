// Catalogue look-ups: kx_factory of random codes of each kind's code list
// (and of all kinds mixed), kx_factory_code of projected CSs built from the
// catalogue, and the listings of the largest kinds. There is no peer library for the catalogue; each benchmark
// reports the median time of a single call ("median_us") besides the mean.
#include "kx.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Kind {
  const char *name;
  int *(*codelist)(int *);
};

const Kind kKinds[] = {
    {"linear_unit", kx_factory_linear_unit_codelist},
    {"angular_unit", kx_factory_angular_unit_codelist},
    {"spheroid", kx_factory_spheroid_codelist},
    {"primem", kx_factory_primem_codelist},
    {"datum", kx_factory_datum_codelist},
    {"projection", kx_factory_projection_codelist},
    {"method", kx_factory_method_codelist},
    {"parameter", kx_factory_parameter_codelist},
    {"geogcs", kx_factory_geogcs_codelist},
    {"projcs", kx_factory_projcs_codelist},
    {"geogtran", kx_factory_geogtran_codelist},
};

std::vector<int> codes_of(const Kind &kind) {
  int count = 0;
  int *list = kind.codelist(&count);
  std::vector<int> codes;
  for (int i = 0; list != nullptr && i < count; ++i) codes.push_back(list[i]);
  kx_factory_codelist_del(list);
  return codes;
}

// kx_factory returns an opaque handle; delete it as whatever kind it is.
void delete_object(void *object) {
  if (object == nullptr) return;
  if (kx_projcs_p(static_cast<kx_projcs>(object))) return kx_projcs_del(static_cast<kx_projcs>(object));
  if (kx_geogcs_p(static_cast<kx_geogcs>(object))) return kx_geogcs_del(static_cast<kx_geogcs>(object));
  if (kx_geogtran_p(static_cast<kx_geogtran>(object))) {
    return kx_geogtran_del(static_cast<kx_geogtran>(object));
  }
  if (kx_datum_p(static_cast<kx_datum>(object))) return kx_datum_del(static_cast<kx_datum>(object));
  if (kx_spheroid_p(static_cast<kx_spheroid>(object))) {
    return kx_spheroid_del(static_cast<kx_spheroid>(object));
  }
  if (kx_primem_p(static_cast<kx_primem>(object))) return kx_primem_del(static_cast<kx_primem>(object));
  if (kx_unit_p(static_cast<kx_unit>(object))) return kx_unit_del(static_cast<kx_unit>(object));
  if (kx_projection_p(static_cast<kx_projection>(object))) {
    return kx_projection_del(static_cast<kx_projection>(object));
  }
  if (kx_method_p(static_cast<kx_method>(object))) return kx_method_del(static_cast<kx_method>(object));
  if (kx_parameter_p(static_cast<kx_parameter>(object))) {
    return kx_parameter_del(static_cast<kx_parameter>(object));
  }
}

double median_us(std::vector<double> &ns) {
  if (ns.empty()) return 0.0;
  std::nth_element(ns.begin(), ns.begin() + ns.size() / 2, ns.end());
  return ns[ns.size() / 2] / 1000.0;
}

// Each call is timed on its own so that the deletion stays outside.
void factory_of(benchmark::State &state, std::vector<int> codes) {
  std::mt19937 random(12345);
  std::uniform_int_distribution<std::size_t> pick(0, codes.size() - 1);
  std::vector<double> ns;
  std::size_t built = 0;
  for (auto _ : state) {
    const int code = codes[pick(random)];
    const auto t0 = Clock::now();
    void *object = kx_factory(code);
    const auto t1 = Clock::now();
    benchmark::DoNotOptimize(object);
    built += object != nullptr;
    delete_object(object);
    ns.push_back(std::chrono::duration<double, std::nano>(t1 - t0).count());
  }
  state.counters["median_us"] = median_us(ns);
  state.counters["built_share"] = ns.empty() ? 0.0 : static_cast<double>(built) / ns.size();
}

// Projected CSs the catalogue can build (the others yield no object).
std::vector<kx_projcs> buildable_projcs() {
  std::vector<kx_projcs> out;
  int count = 0;
  int *list = kx_factory_projcs_codelist(&count);
  for (int i = 0; list != nullptr && i < count; ++i) {
    kx_projcs p = kx_factory_projcs(list[i]);
    if (p != nullptr) out.push_back(p);
  }
  kx_factory_codelist_del(list);
  return out;
}

void factory_code_projcs(benchmark::State &state) {
  static const std::vector<kx_projcs> objects = buildable_projcs();
  if (objects.empty()) {
    state.SkipWithError("no projected CS builds");
    return;
  }
  std::mt19937 random(54321);
  std::uniform_int_distribution<std::size_t> pick(0, objects.size() - 1);
  std::vector<double> ns;
  for (auto _ : state) {
    kx_projcs object = objects[pick(random)];
    const auto t0 = Clock::now();
    const int code = kx_factory_code(object);
    const auto t1 = Clock::now();
    benchmark::DoNotOptimize(code);
    ns.push_back(std::chrono::duration<double, std::nano>(t1 - t0).count());
  }
  state.counters["median_us"] = median_us(ns);
  state.counters["objects"] = static_cast<double>(objects.size());
}

// A whole listing per iteration (the target is 50 ms for the largest kind).
void listing_of(benchmark::State &state, kx_predefined *(*listing)(int *)) {
  int count = 0;
  for (auto _ : state) {
    kx_predefined *table = listing(&count);
    benchmark::DoNotOptimize(table);
    kx_table_del(table);
  }
  state.counters["records"] = count;
}

void register_all() {
  const std::pair<const char *, kx_predefined *(*)(int *)> listings[] = {
      {"listing/datum", kx_predefined_datum},
      {"listing/geogcs", kx_predefined_geogcs},
      {"listing/projcs", kx_predefined_projcs},
      {"listing/geogtran", kx_predefined_geogtran}};
  for (const auto &[name, listing] : listings) {
    benchmark::RegisterBenchmark(name, listing_of, listing)->Unit(benchmark::kMillisecond);
  }
  std::vector<int> all;
  for (const Kind &kind : kKinds) {
    std::vector<int> codes = codes_of(kind);
    if (codes.empty()) continue;
    for (int code : codes) all.push_back(code);
    benchmark::RegisterBenchmark((std::string("factory/") + kind.name).c_str(), factory_of, codes);
  }
  if (!all.empty()) benchmark::RegisterBenchmark("factory/all_kinds", factory_of, all);
  // Codes outside every range: kx_factory asks the kinds one after another.
  std::vector<int> outside;
  for (int code : all) {
    void *object = kx_factory(code);
    if (object != nullptr && kx_projcs_p(static_cast<kx_projcs>(object)) &&
        (code < 2000 || (code > 3999 && code < 20000) || (code > 32799 && code < 53000))) {
      outside.push_back(code);
    }
    delete_object(object);
  }
  if (!outside.empty()) {
    benchmark::RegisterBenchmark("factory/projcs_outside_ranges", factory_of, outside);
  }
  // Most projected CSs need projections the library does not bind yet; the
  // codes that build show the cost of a complete object.
  std::vector<int> buildable;
  for (kx_projcs p : buildable_projcs()) {
    buildable.push_back(kx_factory_code(p));
    kx_projcs_del(p);
  }
  if (!buildable.empty()) {
    benchmark::RegisterBenchmark("factory/projcs_that_build", factory_of, buildable);
  }
  benchmark::RegisterBenchmark("factory_code/projcs", factory_code_projcs)
      ->Unit(benchmark::kMicrosecond);
}

}  // namespace

int main(int argc, char **argv) {
  register_all();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
