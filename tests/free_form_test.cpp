#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "free_form.h"

namespace {

struct Read {
  bool ok;
  std::vector<int32_t> v;
};

Read rd(const std::string& s, std::vector<int32_t> start = {-1, -2, -3}) {
  Read r{false, start};
  r.ok = rdints(s.data(), static_cast<int32_t>(s.size()), static_cast<int32_t>(start.size()),
                r.v.data());
  return r;
}

using V = std::vector<int32_t>;

TEST(FreeFormInts, SeparatorsAndSigns) {
  EXPECT_EQ(rd(" 232, 17, 12345").v, (V{232, 17, 12345}));
  EXPECT_TRUE(rd("1 2 3").ok);
  EXPECT_EQ(rd("1 ,2 , 3").v, (V{1, 2, 3}));
  EXPECT_EQ(rd("-5,+6,-2147483648").v, (V{-5, 6, -2147483647 - 1}));
  EXPECT_EQ(rd("\t7\t8\t9\r").v, (V{7, 8, 9}));
}

TEST(FreeFormInts, EmptyItemsAndSlash) {
  EXPECT_EQ(rd("1,,3").v, (V{1, -2, 3}));
  EXPECT_EQ(rd(",,3").v, (V{-1, -2, 3}));
  Read r = rd("150 /");
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.v, (V{150, -2, -3}));
  EXPECT_EQ(rd("/").v, (V{-1, -2, -3}));
  EXPECT_TRUE(rd("1,2/").ok);
}

TEST(FreeFormInts, Repeats) {
  EXPECT_EQ(rd("3*7").v, (V{7, 7, 7}));
  EXPECT_EQ(rd("2*7 9").v, (V{7, 7, 9}));
  EXPECT_EQ(rd("2* 9").v, (V{-1, -2, 9}));
  EXPECT_EQ(rd("5*1").v, (V{1, 1, 1}));
  EXPECT_FALSE(rd("0*1 2 3").ok);
  EXPECT_FALSE(rd("0*1 2 3 4").ok);  // three values follow the zero repeat
  EXPECT_FALSE(rd("-2*1 2").ok);
  EXPECT_FALSE(rd("*1 2 3").ok);
}

TEST(FreeFormInts, Errors) {
  EXPECT_FALSE(rd("1, 2").ok);        // missing value without a slash
  EXPECT_FALSE(rd("").ok);
  EXPECT_FALSE(rd("   ").ok);
  EXPECT_FALSE(rd("17.0 1 2").ok);    // decimal point
  EXPECT_FALSE(rd("1 abc 2").ok);
  EXPECT_FALSE(rd("1 - 2").ok);       // a sign alone
  EXPECT_FALSE(rd("2147483648 1 1").ok);
  EXPECT_FALSE(rd("-2147483649 1 1").ok);
  EXPECT_FALSE(rd("99999999999999999999 1 1").ok);
}

TEST(FreeFormInts, TextAfterTheLastValueIsIgnored) {
  EXPECT_EQ(rd("1 2 3 4 five").v, (V{1, 2, 3}));
  EXPECT_EQ(rd("1 2 3.5").v, (V{1, 2, -3}));  // the third item is the error
  EXPECT_FALSE(rd("1 2 3.5").ok);
  Read one = rd("42 abc", {0});
  EXPECT_TRUE(one.ok);
  EXPECT_EQ(one.v, (V{42}));
}

}  // namespace
