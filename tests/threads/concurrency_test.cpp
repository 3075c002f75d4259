// Threads sharing objects get the results one thread gets: the library keeps
// no mutable global state (also built under ThreadSanitizer, preset tsan).
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <thread>

#include "kx.h"

namespace {

constexpr int kThreads = 4;

// Runs body() kRounds times on each of kThreads threads at once and returns
// how many rounds of all threads it found faulty.
int faults_in_parallel(const std::function<bool()> &body, int rounds = 10) {
  std::atomic<int> faults{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&] {
      for (int r = 0; r < rounds; ++r) faults += !body();
    });
  for (auto &t : threads) t.join();
  return faults;
}

// Both directions through one shared object, against the single-thread bits,
// on a grid of points around (lon0, lat0).
void expect_single_thread_bits(double lon0, double lat0,
                               const std::function<void(int, double *)> &fwd,
                               const std::function<void(int, double *)> &inv, int code) {
  std::vector<double> start;
  for (int i = -5; i <= 5; ++i)
    for (int j = -5; j <= 5; ++j) start.insert(start.end(), {lon0 + 0.5 * i, lat0 + 0.5 * j});
  const int n = static_cast<int>(start.size() / 2);
  std::vector<double> there = start, back;
  fwd(n, there.data());
  inv(n, (back = there).data());
  auto same = [](auto &a, auto &b) {
    return std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
  };
  EXPECT_EQ(faults_in_parallel([&] {
              std::vector<double> p = start;
              fwd(n, p.data());
              const bool same_there = same(p, there);
              inv(n, p.data());
              return same_there && same(p, back);
            }),
            0)
      << code;
}

// Projections and datum shifts (geocentric translation, position vector,
// coordinate frame), with and without loaded constants.
TEST(Shared, ProjcsAndGeogtranGiveTheSingleThreadBits) {
  for (bool loaded : {false, true}) {
    for (int code : {32633, 3395, 2154, 3031}) {
      kx_projcs pcs = kx_factory_projcs(code);
      ASSERT_NE(pcs, nullptr) << code;
      if (loaded) {
        ASSERT_NE(kx_projcs_load_constants(pcs), 0) << code;
      }
      expect_single_thread_bits(
          code == 3031 ? 0 : 15, code == 3031 ? -75 : 48,
          [&](int n, double *p) { kx_geog_to_proj(pcs, n, p); },
          [&](int n, double *p) { kx_proj_to_geog(pcs, n, p); }, code);
      kx_projcs_del(pcs);
    }
    for (int code : {1173, 1613, 1024}) {
      kx_geogtran gt = kx_factory_geogtran(code);
      ASSERT_NE(gt, nullptr) << code;
      if (loaded) kx_geogtran_load_constants(gt);
      expect_single_thread_bits(
          -100, 40, [&](int n, double *p) { kx_geog1_to_geog2(gt, n, p, nullptr); },
          [&](int n, double *p) { kx_geog2_to_geog1(gt, n, p, nullptr); }, code);
      kx_geogtran_del(gt);
    }
  }
}

// The catalogue and the text format from several threads: each thread builds
// objects by code, writes one shared object's text and reads it back.
TEST(Shared, FactoryWriteAndReadAgree) {
  kx_projcs shared = kx_factory_projcs(32633);
  ASSERT_NE(shared, nullptr);
  std::string expected(KX_TEXT_MAX_PROJCS + 1, '\0');
  ASSERT_GT(kx_coordsys_to_string(shared, &expected[0]), 0);
  expected.resize(std::strlen(expected.c_str()));
  EXPECT_EQ(faults_in_parallel([&] {
              bool ok = true;
              for (int code : {4326, 4267, 4269, 4258, 32633, 26915, 2154, 27700, 3031, 25832}) {
                kx_coordsys obj = kx_factory(code);
                ok = ok && kx_coordsys_p(obj);
                kx_coordsys_del(obj);
              }
              std::string text(KX_TEXT_MAX_PROJCS + 1, '\0');
              kx_coordsys_to_string(shared, &text[0]);
              kx_coordsys read = kx_coordsys_from_string(text.c_str());
              ok = ok && text.c_str() == expected && kx_coordsys_eq(read, shared);
              kx_coordsys_del(read);
              return ok;
            }),
            0);
  kx_projcs_del(shared);
}

// Under a decimal-comma locale number text keeps the point, in the main thread
// and in workers, and the locale stays as it was while the workers run. They
// do a fixed amount of work and the probe runs until they finish, so the
// test's length depends on work, not on the scheduler.
TEST(Shared, NumberTextNeitherUsesNorChangesTheLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  char buf[32];
  EXPECT_STREQ(kx_dtoa(1.5e-10, buf, 16), "1.5e-10");
  EXPECT_EQ(kx_atod("0.0174532925199433"), 0.0174532925199433);
  std::atomic<int> finished{0};
  long changed = 0, probes = 0;
  std::thread workers([&] {
    EXPECT_EQ(faults_in_parallel(
                  [&] {
                    char text[32];
                    return std::strcmp(kx_dtoa(298.257223563, text, 16), "298.257223563") == 0 &&
                           kx_atod("0.5") == 0.5;
                  },
                  10000),
              0);
    ++finished;
  });
  for (char out[64]; finished.load() == 0; ++probes) {
    std::snprintf(out, sizeof out, "%.1f", 1.5);
    changed +=
        std::strcmp(std::localeconv()->decimal_point, ",") != 0 || std::strcmp(out, "1,5") != 0;
  }
  workers.join();
  EXPECT_STREQ(std::setlocale(LC_NUMERIC, nullptr), "de_DE.UTF-8");
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_GT(probes, 0);
  EXPECT_EQ(changed, 0);
}

}  // namespace
