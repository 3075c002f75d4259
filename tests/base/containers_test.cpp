// Vector and sequence behaviour, including growth of the ring.
#include <gtest/gtest.h>

#include <climits>
#include <deque>
#include <random>

#include "kx.h"

TEST(Vector, BoundsAndCopies) {
  EXPECT_TRUE(kx_create_vector(0, 4) == nullptr && kx_create_vector(4, 0) == nullptr);
  EXPECT_EQ(kx_create_vector(INT_MAX / 2, 16), nullptr);  // size would overflow
  kx_vector v = kx_create_vector(3, sizeof(double));
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(kx_vector_length(v) == 3 &&
              kx_vector_elemsize(v) == static_cast<int>(sizeof(double)));
  double x = 2.5, zero = -1, y = 0;
  EXPECT_TRUE(kx_vector_get(v, 1, &zero) == 1 && zero == 0.0);  // zero-filled
  EXPECT_TRUE(kx_vector_set(v, 1, &x) == 1 && kx_vector_get(v, 1, &y) == 1 && y == 2.5);
  EXPECT_EQ(kx_vector_set(v, 3, &x) + kx_vector_set(v, -1, &x) + kx_vector_set(nullptr, 0, &x), 0);
  EXPECT_EQ(kx_vector_length(nullptr), 0);
  kx_destroy_vector(v);
  kx_destroy_vector(nullptr);
}

// A sequence grown from capacity one at both ends, against a deque.
TEST(Sequence, MatchesADequeUnderRandomOperations) {
  EXPECT_EQ(kx_create_seq(0, 4), nullptr);
  kx_seq s = kx_create_seq(1, sizeof(int));
  ASSERT_NE(s, nullptr);
  std::deque<int> model;
  int out = -1;
  EXPECT_TRUE(kx_seq_remhead(s, &out) == 0 && kx_seq_remtail(s, &out) == 0 &&
              kx_seq_get(s, 0, &out) == 0);
  EXPECT_TRUE(kx_seq_apptail(s, nullptr) == 0 && kx_seq_length(nullptr) == 0);
  EXPECT_EQ(kx_seq_elemsize(s), static_cast<int>(sizeof(int)));
  std::mt19937 rng(7);
  for (int step = 0; step < 6000; ++step) {
    // Random operations from empty, then 1000 appends at the tail.
    int op = step >= 5000 ? 0 : static_cast<int>(rng() % 5),
        value = static_cast<int>(rng() % 100000);
    if (op <= 1) {
      ASSERT_EQ(op == 0 ? kx_seq_apptail(s, &value) : kx_seq_apphead(s, &value), 1);
      op == 0 ? model.push_back(value) : model.push_front(value);
    } else if (op <= 3) {
      ASSERT_EQ(op == 2 ? kx_seq_remtail(s, &out) : kx_seq_remhead(s, &out), model.empty() ? 0 : 1);
      if (model.empty()) continue;
      ASSERT_EQ(out, op == 2 ? model.back() : model.front());
      op == 2 ? model.pop_back() : model.pop_front();
    } else if (!model.empty()) {
      const int at = static_cast<int>(rng() % model.size());
      ASSERT_EQ(kx_seq_set(s, at, &value), 1);
      model[static_cast<size_t>(at)] = value;
    }
    ASSERT_EQ(kx_seq_length(s), static_cast<int>(model.size()));
    for (size_t i = 0; (step == 4999 || step == 5999) && i < model.size(); ++i)
      ASSERT_TRUE(kx_seq_get(s, static_cast<int>(i), &out) == 1 && out == model[i]) << i;
  }
  kx_destroy_seq(s);
  kx_destroy_seq(nullptr);
}
