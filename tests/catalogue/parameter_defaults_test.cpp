// Default parameter groups: for every projection and method bound in the
// registry, the count and the slots of the group the library documents.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "kx.h"
#include "objects/registry.h"

namespace {

// Expected slots per projection code, written out from the documented groups.
const std::map<int, std::set<int>> &projection_slots() {
  static const std::map<int, std::set<int>> m = [] {
    std::map<int, std::set<int>> r;
    for (int c : {43001, 43003, 43008, 43009, 43010, 43011, 43012, 43013, 43014, 43015, 43016,
                  43017, 43022, 43029, 43043, 43044, 43045, 43046, 43048, 43030, 43057})
      r[c] = {0, 1, 2};
    for (int c : {43002, 43004, 43018, 43019, 43024, 43034, 43042, 43050, 43051}) r[c] = {0, 1, 2, 3};
    for (int c : {43005, 43006, 43026, 43028, 43038, 43056}) r[c] = {0, 1, 2, 5, 6};
    for (int c : {43007, 43027}) r[c] = {0, 1, 2, 3, 4, 6};
    r[43020] = {0, 1, 2, 3, 4, 5, 6};
    for (int c : {43021, 43032, 43033}) r[c] = {0, 1, 2, 6};
    r[43023] = {0, 1, 2, 6};
    r[43040] = {0, 1, 2, 6};
    for (int c : {43041, 43047}) r[c] = {0, 1, 10, 11};
    r[43049] = {0, 1, 10, 11, 15};
    for (int c : {43025, 43035}) r[c] = {0, 1, 3, 4, 5, 8, 9, 11};
    r[43031] = {0, 1, 3, 4, 8, 9};
    for (int c : {43036, 43037, 43058}) r[c] = {0, 1, 5, 7, 10, 11};
    for (int c : {43053, 43054}) r[c] = {0, 1, 5, 7, 10, 11, 14};
    r[43039] = {0, 1, 3, 5, 7, 10, 11, 12, 13, 14};
    r[43052] = {0, 1, 15};
    r[43055] = {0, 1, 2, 15};
    return r;
  }();
  return m;
}

std::set<int> filled(kx_parameter *slots) {
  std::set<int> s;
  for (int i = 0; i < 16; ++i) {
    if (slots[i] == nullptr) continue;
    s.insert(i);
    EXPECT_EQ(kx_parameter_index(slots[i]), i);
    EXPECT_EQ(kx_parameter_status(slots[i]), 4);
  }
  return s;
}

void free_slots(kx_parameter *slots) {
  for (int i = 0; i < 16; ++i) kx_parameter_del(slots[i]);
}

}  // namespace

TEST(CatalogueDefaults, ProjectionGroups) {
  EXPECT_EQ(projection_slots().size(), 58u);
  int count = 0;
  const kx::ProjectionRow *rows = kx::projection_rows(&count);
  int bound = 0;
  for (int i = 0; i < count; ++i) {
    kx_projection p = kx_factory_projection(rows[i].code);
    if (p == nullptr) continue;
    ++bound;
    kx_parameter slots[16];
    const int n = kx_parameter_projection_defaults(p, slots);
    const auto &want = projection_slots().at(rows[i].code);
    EXPECT_EQ(n, static_cast<int>(want.size())) << rows[i].code;
    EXPECT_EQ(filled(slots), want) << rows[i].code;
    free_slots(slots);
    kx_projection_del(p);
  }
  std::printf("projections bound in the registry: %d\n", bound);

  // Null arguments: nothing placed, the slots null.
  kx_parameter slots[16];
  for (auto &s : slots) s = reinterpret_cast<kx_parameter>(&count);
  EXPECT_EQ(kx_parameter_projection_defaults(nullptr, slots), 0);
  for (auto *s : slots) EXPECT_EQ(s, nullptr);
  EXPECT_EQ(kx_parameter_projection_defaults(nullptr, nullptr), 0);
}

TEST(CatalogueDefaults, MethodGroups) {
  const std::map<int, std::set<int>> want = {
      {9601, {}},
      {9603, {0, 1, 2}},
      {9604, {0, 1, 2}},
      {9605, {0, 1, 2}},
      {9606, {0, 1, 2, 3, 4, 5, 6}},
      {9607, {0, 1, 2, 3, 4, 5, 6}},
      {109607, {0, 1, 2, 3, 4, 5, 6}},
      {9636, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {9613, {15}},
      {9615, {15}},
      {109613, {15}},
  };
  for (const auto &w : want) {
    kx_method m = kx_factory_method(w.first);
    if (m == nullptr) continue;
    kx_parameter slots[16];
    for (auto &s : slots) s = reinterpret_cast<kx_parameter>(&slots);
    EXPECT_EQ(kx_parameter_method_defaults(m, slots), static_cast<int>(w.second.size()))
        << w.first;
    EXPECT_EQ(filled(slots), w.second) << w.first;
    if (w.first == 9613) {
      char name[64];
      kx_parameter_name(slots[15], name);
      EXPECT_STREQ(name, "Dataset_");
    }
    free_slots(slots);
    kx_method_del(m);
  }
  kx_parameter slots[16];
  EXPECT_EQ(kx_parameter_method_defaults(nullptr, slots), 0);
  for (auto *s : slots) EXPECT_EQ(s, nullptr);
  // A method of the wrong kind's handle is no method.
  kx_unit u = kx_factory_unit(9001);
  EXPECT_EQ(kx_parameter_method_defaults(reinterpret_cast<kx_method>(u), slots), 0);
  EXPECT_EQ(kx_parameter_projection_defaults(reinterpret_cast<kx_projection>(u), slots), 0);
  kx_unit_del(u);
}
