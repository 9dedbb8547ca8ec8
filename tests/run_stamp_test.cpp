#include <string>

#include <gtest/gtest.h>

#include "run_stamp.h"

namespace {

std::string stamp_of(int year, int mon, int day, int h, int m, int sec, int32_t millis,
                     int32_t offmin) {
  struct tm lt{};
  lt.tm_year = year - 1900;
  lt.tm_mon = mon - 1;
  lt.tm_mday = day;
  lt.tm_hour = h;
  lt.tm_min = m;
  lt.tm_sec = sec;
  char stamp[25];
  make_stamp(lt, millis, offmin, stamp);
  return std::string(stamp, 25);
}

TEST(RunStamp, DateTimeAndOffset) {
  EXPECT_EQ(stamp_of(2026, 12, 7, 3, 5, 8, 123, 60), "20261207 030508.123 +0100");
  EXPECT_EQ(stamp_of(2026, 12, 7, 3, 5, 8, 123, -330), "20261207 030508.123 -0530");
  EXPECT_EQ(stamp_of(2027, 1, 1, 0, 0, 0, 0, 0), "20270101 000000.000 +0000");
  EXPECT_EQ(stamp_of(1999, 12, 31, 23, 59, 59, 999, 345), "19991231 235959.999 +0545");
  // Less than an hour west: the sign still shows.
  EXPECT_EQ(stamp_of(2026, 6, 15, 12, 0, 0, 5, -30), "20260615 120000.005 -0030");
}

}  // namespace
