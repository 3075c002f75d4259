// The pieces the grid methods build on: the method registry's kinds and
// storing transformation constants.
#include <gtest/gtest.h>

#include <cmath>

#include "catalogue/catalogue_tables.h"
#include "kx.h"
#include "objects/constants_store.h"
#include "objects/registry.h"

namespace {

// The catalogue's transformations name a dataset exactly when their method
// interpolates a grid: every method they use has that kind in the registry.
TEST(MethodLayer, RegistryKindsAgreeWithTheCatalogueDatasets) {
  const auto &table = kx::catalogue::kGeogtran;
  int grid = 0, equation = 0;
  for (std::size_t i = 0; i < table.count; ++i) {
    const auto &row = table.rows[i];
    const kx::MethodRow *m = kx::method_row_by_code(row.method);
    ASSERT_NE(m, nullptr) << row.code;
    const bool has_dataset = row.dataset != nullptr;
    EXPECT_EQ(m->kind == kx::MethodKind::kGrid, has_dataset) << row.code << " " << m->name;
    ++(has_dataset ? grid : equation);
  }
  EXPECT_GT(grid, 0);
  EXPECT_GT(equation, 0);
}

TEST(MethodLayer, TransformationConstantsAreStoredAsCopies) {
  kx_gtconstants gc = kx_gtconstants_new();
  int ivals[2] = {3, 4};
  float fvals[3] = {1.5f, 2.5f, 3.5f};
  double dvals[1] = {7.25};
  ASSERT_EQ(kx::gtconstants_store(gc, ivals, 2, fvals, 3, dvals, 1), 1);
  ivals[0] = 0;
  fvals[0] = 0.0f;
  EXPECT_EQ(kx_gtconstants_ivals(gc)[0], 3);
  EXPECT_EQ(kx_gtconstants_fvals(gc)[2], 3.5f);
  EXPECT_EQ(kx_gtconstants_dvals(gc)[0], 7.25);
  // A second store replaces the first; an empty array stays null.
  ASSERT_EQ(kx::gtconstants_store(gc, ivals, 1, nullptr, 0, nullptr, 0), 1);
  EXPECT_EQ(kx_gtconstants_ivals(gc)[0], 0);
  EXPECT_EQ(kx_gtconstants_fvals(gc), nullptr);
  EXPECT_EQ(kx_gtconstants_dvals(gc), nullptr);
  // Bad arguments change nothing.
  EXPECT_EQ(kx::gtconstants_store(gc, nullptr, 1, nullptr, 0, nullptr, 0), 0);
  EXPECT_EQ(kx::gtconstants_store(gc, ivals, -1, nullptr, 0, nullptr, 0), 0);
  EXPECT_NE(kx_gtconstants_ivals(gc), nullptr);
  EXPECT_EQ(kx::gtconstants_store(nullptr, ivals, 1, nullptr, 0, nullptr, 0), 0);
  kx_gtconstants_del(gc);

  kx_pcsconstants pc = kx_pcsconstants_new();
  const double values[2] = {1.0, 2.0};
  EXPECT_EQ(kx::pcsconstants_store(pc, values, 2), 2);
  EXPECT_EQ(kx_pcsconstants_ivals(pc)[1], 2);
  EXPECT_EQ(kx_pcsconstants_dvals(pc)[1], 2.0);
  EXPECT_EQ(kx::pcsconstants_store(pc, values, 0), 0);
  kx_pcsconstants_del(pc);
}

}  // namespace
