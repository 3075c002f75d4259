// Concurrent use of shared objects: the library keeps no mutable global state,
// so threads reading one object must get the results a single thread gets.
// Built under ThreadSanitizer by the tsan preset; elsewhere it checks results.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "kx.h"

namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 10;

// Runs body(thread) on kThreads threads at once and joins them all.
void in_parallel(const std::function<void(int)> &body) {
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(body, t);
  for (auto &t : threads) t.join();
}

// A small grid of longitude/latitude pairs around the given centre.
std::vector<double> grid(double lon0, double lat0) {
  std::vector<double> xy;
  for (int i = -5; i <= 5; ++i)
    for (int j = -5; j <= 5; ++j) {
      xy.push_back(lon0 + 0.5 * i);
      xy.push_back(lat0 + 0.5 * j);
    }
  return xy;
}

bool same_bits(const std::vector<double> &a, const std::vector<double> &b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

struct ProjcsDel {
  void operator()(kx_projcs p) const { kx_projcs_del(p); }
};
struct GeogtranDel {
  void operator()(kx_geogtran g) const { kx_geogtran_del(g); }
};

// Projection both ways through one shared object, with and without loaded
// constants, against the single-thread result.
class SharedProjcs : public ::testing::TestWithParam<bool> {};

TEST_P(SharedProjcs, ThreadsGetTheSingleThreadBits) {
  const bool loaded = GetParam();
  for (int code : {32633, 3395, 2154, 3031}) {
    std::unique_ptr<kx_projcs_rec, ProjcsDel> pcs(kx_factory_projcs(code));
    ASSERT_NE(pcs, nullptr) << code;
    if (loaded) {
      ASSERT_NE(kx_projcs_load_constants(pcs.get()), 0) << code;
    }
    const std::vector<double> start = grid(code == 3031 ? 0 : 15, code == 3031 ? -75 : 48);
    std::vector<double> fwd = start;
    kx_geog_to_proj(pcs.get(), static_cast<int>(fwd.size() / 2), fwd.data());
    std::vector<double> back = fwd;
    kx_proj_to_geog(pcs.get(), static_cast<int>(back.size() / 2), back.data());
    std::vector<int> mismatches(kThreads, 0);
    in_parallel([&](int t) {
      for (int r = 0; r < kRounds; ++r) {
        std::vector<double> p = start;
        kx_geog_to_proj(pcs.get(), static_cast<int>(p.size() / 2), p.data());
        if (!same_bits(p, fwd)) ++mismatches[t];
        kx_proj_to_geog(pcs.get(), static_cast<int>(p.size() / 2), p.data());
        if (!same_bits(p, back)) ++mismatches[t];
      }
    });
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(mismatches[t], 0) << code << " thread " << t;
  }
}

INSTANTIATE_TEST_SUITE_P(LoadedOrNot, SharedProjcs, ::testing::Bool());

// A datum shift through one shared transformation, both directions.
class SharedGeogtran : public ::testing::TestWithParam<bool> {};

TEST_P(SharedGeogtran, ThreadsGetTheSingleThreadBits) {
  const bool loaded = GetParam();
  // Geocentric translation, position vector, coordinate frame.
  for (int code : {1173, 1613, 1024}) {
    std::unique_ptr<kx_geogtran_rec, GeogtranDel> gt(kx_factory_geogtran(code));
    ASSERT_NE(gt, nullptr) << code;
    if (loaded) kx_geogtran_load_constants(gt.get());
    const std::vector<double> start = grid(-100, 40);
    std::vector<double> fwd = start;
    kx_geog1_to_geog2(gt.get(), static_cast<int>(fwd.size() / 2), fwd.data(), nullptr);
    std::vector<double> back = fwd;
    kx_geog2_to_geog1(gt.get(), static_cast<int>(back.size() / 2), back.data(), nullptr);
    std::vector<int> mismatches(kThreads, 0);
    in_parallel([&](int t) {
      for (int r = 0; r < kRounds; ++r) {
        std::vector<double> p = start;
        kx_geog1_to_geog2(gt.get(), static_cast<int>(p.size() / 2), p.data(), nullptr);
        if (!same_bits(p, fwd)) ++mismatches[t];
        kx_geog2_to_geog1(gt.get(), static_cast<int>(p.size() / 2), p.data(), nullptr);
        if (!same_bits(p, back)) ++mismatches[t];
      }
    });
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(mismatches[t], 0) << code << " thread " << t;
  }
}

INSTANTIATE_TEST_SUITE_P(LoadedOrNot, SharedGeogtran, ::testing::Bool());

// The catalogue and the text format from several threads: each thread builds
// objects by code, writes one shared object's text and reads it back.
TEST(SharedText, FactoryWriteAndReadAgree) {
  const std::vector<int> codes = {4326, 4267, 4269, 4258, 32633, 26915, 2154, 27700, 3031, 25832};
  std::unique_ptr<kx_projcs_rec, ProjcsDel> shared(kx_factory_projcs(32633));
  ASSERT_NE(shared, nullptr);
  std::string expected(KX_TEXT_MAX_PROJCS + 1, '\0');
  ASSERT_GT(kx_coordsys_to_string(shared.get(), expected.data()), 0);
  expected.resize(std::strlen(expected.c_str()));
  std::vector<int> faults(kThreads, 0);
  in_parallel([&](int t) {
    std::string text(KX_TEXT_MAX_PROJCS + 1, '\0');
    for (int r = 0; r < kRounds; ++r) {
      for (int code : codes) {
        kx_coordsys obj = kx_factory(code);
        if (!kx_coordsys_p(obj)) ++faults[t];
        kx_coordsys_del(obj);
      }
      kx_coordsys_to_string(shared.get(), text.data());
      if (std::strcmp(text.c_str(), expected.c_str()) != 0) ++faults[t];
      kx_coordsys read = kx_coordsys_from_string(text.c_str());
      if (!kx_coordsys_eq(read, shared.get())) ++faults[t];
      kx_coordsys_del(read);
    }
  });
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(faults[t], 0) << "thread " << t;
}

// Number text in worker threads while the main thread runs under a locale
// with a decimal comma: the workers' text keeps the point.
TEST(SharedText, NumberTextUnderAnotherLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  std::vector<int> faults(kThreads, 0);
  in_parallel([&](int t) {
    char buf[32];
    for (int r = 0; r < 2000; ++r) {
      if (std::strcmp(kx_dtoa(298.257223563, buf, 16), "298.257223563") != 0) ++faults[t];
      if (kx_atod("0.5") != 0.5) ++faults[t];
    }
  });
  std::setlocale(LC_ALL, saved.c_str());
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(faults[t], 0) << "thread " << t;
}

}  // namespace
