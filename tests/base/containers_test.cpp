// Vector and sequence behaviour, including growth of the ring.
#include <gtest/gtest.h>

#include <climits>
#include <deque>
#include <random>

#include "kx.h"

namespace {

TEST(Vector, BoundsAndCopies) {
  EXPECT_EQ(kx_create_vector(0, 4), nullptr);
  EXPECT_EQ(kx_create_vector(4, 0), nullptr);
  EXPECT_EQ(kx_create_vector(INT_MAX / 2, 16), nullptr);  // size would overflow
  kx_vector v = kx_create_vector(3, sizeof(double));
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(kx_vector_length(v), 3);
  EXPECT_EQ(kx_vector_elemsize(v), static_cast<int>(sizeof(double)));
  double x = 2.5, y = 0;
  EXPECT_EQ(kx_vector_get(v, 1, &y), 1);
  EXPECT_EQ(y, 0.0);  // zero-filled
  EXPECT_EQ(kx_vector_set(v, 1, &x), 1);
  EXPECT_EQ(kx_vector_get(v, 1, &y), 1);
  EXPECT_EQ(y, 2.5);
  EXPECT_EQ(kx_vector_set(v, 3, &x), 0);
  EXPECT_EQ(kx_vector_set(v, -1, &x), 0);
  EXPECT_EQ(kx_vector_set(nullptr, 0, &x), 0);
  EXPECT_EQ(kx_vector_length(nullptr), 0);
  kx_destroy_vector(v);
  kx_destroy_vector(nullptr);
}

TEST(Sequence, ThousandTailAppendsFromCapacityOne) {
  kx_seq s = kx_create_seq(1, sizeof(int));
  ASSERT_NE(s, nullptr);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(kx_seq_apptail(s, &i), 1);
  EXPECT_EQ(kx_seq_length(s), 1000);
  for (int i = 0; i < 1000; ++i) {
    int got = -1;
    ASSERT_EQ(kx_seq_get(s, i, &got), 1);
    ASSERT_EQ(got, i);
  }
  kx_destroy_seq(s);
}

TEST(Sequence, MatchesADequeUnderRandomOperations) {
  std::mt19937 rng(7);
  kx_seq s = kx_create_seq(2, sizeof(int));
  std::deque<int> model;
  for (int step = 0; step < 5000; ++step) {
    int op = static_cast<int>(rng() % 5), value = static_cast<int>(rng() % 100000), out = -1;
    switch (op) {
      case 0: ASSERT_EQ(kx_seq_apptail(s, &value), 1); model.push_back(value); break;
      case 1: ASSERT_EQ(kx_seq_apphead(s, &value), 1); model.push_front(value); break;
      case 2:
        ASSERT_EQ(kx_seq_remtail(s, &out), model.empty() ? 0 : 1);
        if (!model.empty()) { ASSERT_EQ(out, model.back()); model.pop_back(); }
        break;
      case 3:
        ASSERT_EQ(kx_seq_remhead(s, &out), model.empty() ? 0 : 1);
        if (!model.empty()) { ASSERT_EQ(out, model.front()); model.pop_front(); }
        break;
      default:
        if (!model.empty()) {
          int at = static_cast<int>(rng() % model.size());
          ASSERT_EQ(kx_seq_set(s, at, &value), 1);
          model[static_cast<size_t>(at)] = value;
        }
    }
    ASSERT_EQ(kx_seq_length(s), static_cast<int>(model.size()));
  }
  for (size_t i = 0; i < model.size(); ++i) {
    int got;
    ASSERT_EQ(kx_seq_get(s, static_cast<int>(i), &got), 1);
    ASSERT_EQ(got, model[i]);
  }
  kx_destroy_seq(s);
}

TEST(Sequence, EmptyAndInvalidArguments) {
  EXPECT_EQ(kx_create_seq(0, 4), nullptr);
  kx_seq s = kx_create_seq(4, sizeof(int));
  int out = 0;
  EXPECT_EQ(kx_seq_remhead(s, &out), 0);
  EXPECT_EQ(kx_seq_remtail(s, &out), 0);
  EXPECT_EQ(kx_seq_length(s), 0);
  EXPECT_EQ(kx_seq_get(s, 0, &out), 0);
  EXPECT_EQ(kx_seq_apptail(s, nullptr), 0);
  EXPECT_EQ(kx_seq_elemsize(s), static_cast<int>(sizeof(int)));
  EXPECT_EQ(kx_seq_length(nullptr), 0);
  kx_destroy_seq(s);
  kx_destroy_seq(nullptr);
}

}  // namespace
