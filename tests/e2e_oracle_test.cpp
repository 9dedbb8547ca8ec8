// The model used by the whole-run tests must itself agree with figures fixed
// here by hand.
#include <gtest/gtest.h>

#include "e2e_oracle.h"

namespace {

TEST(Oracle, CandidateFiguresForClassZero) {
  const auto a = oracle::aids(0);
  ASSERT_EQ(a.size(), 232u);
  EXPECT_EQ(a[0], "A3E");
  EXPECT_EQ(a[14], "AZU");
  EXPECT_EQ(a[15], "B3G");
  EXPECT_EQ(a[231], "YZS");
}

TEST(Oracle, ShuffleFigures) {
  const std::vector<int> want12345 = {42, 94, 41, 52, 19, 18, 69, 6, 80, 70};
  const auto s = oracle::shuffled(12345, 232);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(s[i] + 1, want12345[i]);
  EXPECT_EQ(s[231] + 1, 157);
  const std::vector<int> want0 = {195, 93, 183, 186, 212, 50, 82, 180, 71, 133};
  const auto z = oracle::shuffled(0, 232);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(z[i] + 1, want0[i]);
}

}  // namespace
