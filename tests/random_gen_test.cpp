#include <cstdint>
#include <cstdlib>

#include <gtest/gtest.h>

#include "random_gen.h"

namespace {

TEST(RandomGen, FirstDrawsAfterSeedOneAndZero) {
  const int32_t expected[] = {1804289383, 846930886, 1681692777, 1714636915, 1957747793};
  for (int32_t v : {1, 0}) {
    SCOPED_TRACE(v);
    RandomGen g;
    g.seed(v);
    for (int32_t e : expected) EXPECT_EQ(g.draw(), e);
  }
}

// The C library's generator in its default configuration is the same one;
// this holds the two together over long runs and awkward seeds.
TEST(RandomGen, SameDrawsAsTheCLibrary) {
  const int32_t seeds[] = {1,         0,       -1,          -5,         12345,
                           283149984, 2,       2147483647,  -2147483647 - 1,
                           127773,    -127773, 2147483646,  16807};
  for (int32_t v : seeds) {
    SCOPED_TRACE(v);
    RandomGen g;
    g.seed(v);
    srandom(static_cast<unsigned>(v));
    for (int i = 0; i < 2000; ++i) ASSERT_EQ(g.draw(), random()) << "draw " << i;
  }
}

}  // namespace
