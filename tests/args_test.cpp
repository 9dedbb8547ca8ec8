#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "args1.h"
#include "unit_helpers.h"

namespace {

struct Slots {
  char argt[7][FLDMAX];
  int32_t argtl[7];
  int32_t narg = -5;
  Slots() {
    for (auto& s : argt) std::fill(s, s + FLDMAX, 'x');
    for (auto& l : argtl) l = -7;
  }
  std::string slot(int i) const { return std::string(argt[i - 1], FLDMAX); }
};

Captured call(Slots& s, std::vector<std::string> a) {
  a.insert(a.begin(), "prog");
  std::vector<char*> argv;
  for (auto& x : a) argv.push_back(x.data());
  argv.push_back(nullptr);
  return capture([&] { args(static_cast<int>(a.size()), argv.data(), 7, s.narg, s.argt, s.argtl); });
}

TEST(Args, NoArgumentsTouchesNoSlot) {
  Slots s;
  EXPECT_FALSE(call(s, {}).fataled);
  EXPECT_EQ(s.narg, 0);
  EXPECT_EQ(s.argtl[0], -7);
  EXPECT_EQ(s.argt[0][0], 'x');
}

TEST(Args, MoreArgumentsThanSlotsReportsTrueCount) {
  Slots s;
  call(s, {"1", "2", "3", "4", "5", "6", "7", "8", "9"});
  EXPECT_EQ(s.narg, 9);
  EXPECT_EQ(s.argtl[6], 1);
  EXPECT_EQ(s.slot(7), "7" + std::string(255, ' '));
}

TEST(Args, UsedLengthRules) {
  Slots s;
  call(s, {"", "   ", "  ab  ", "x\t", "\xE9", "a b"});
  EXPECT_EQ(s.argtl[0], 1);  // empty argument
  EXPECT_EQ(s.slot(1), std::string(256, ' '));
  EXPECT_EQ(s.argtl[1], 1);  // blanks only
  EXPECT_EQ(s.argtl[2], 4);  // leading blanks count, trailing ones do not
  EXPECT_EQ(s.argtl[3], 1);  // a trailing tab is left out
  EXPECT_EQ(s.argtl[4], 1);  // bytes above 127 are text
  EXPECT_EQ(s.argtl[5], 3);
}

TEST(Args, LengthLimitIs252Bytes) {
  Slots s;
  EXPECT_FALSE(call(s, {std::string(252, 'a')}).fataled);
  EXPECT_EQ(s.argtl[0], 252);

  Slots t;
  Captured c = call(t, {"ok", "ok", std::string(253, 'a')});
  EXPECT_TRUE(c.fataled);
  EXPECT_EQ(c.console, "\a*** Argument 3 too long!\n");
  EXPECT_EQ(c.log, "*** Argument 3 too long!\n");

  Slots u;  // a very long argument is cut to the slot, then refused
  c = call(u, {std::string(5000, 'z')});
  EXPECT_EQ(c.log, "*** Argument 1 too long!\n");
}

TEST(Args, OnlyTheFirstTooLongArgumentIsReported) {
  Slots s;
  Captured c = call(s, {std::string(300, 'a'), std::string(300, 'b')});
  EXPECT_EQ(c.log, "*** Argument 1 too long!\n");
}

TEST(Args, TooLongAtPositionTenOrMore) {
  char slots[12][FLDMAX];
  int32_t lens[12];
  int32_t narg = 0;
  std::vector<std::string> a(11, "x");
  a[0] = "prog";
  a[10] = std::string(260, 'q');
  std::vector<char*> argv;
  for (auto& x : a) argv.push_back(x.data());
  Captured c = capture([&] { args(11, argv.data(), 12, narg, slots, lens); });
  EXPECT_EQ(c.log, "*** Arguments too long!\n");
}

}  // namespace
