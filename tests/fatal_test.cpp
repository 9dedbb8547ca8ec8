#include <string>

#include <gtest/gtest.h>

#include "fatal.h"
#include "unit_helpers.h"

namespace {

TEST(Fatal, ConsoleHasBellLogDoesNot) {
  Captured c = capture([] { fatal("Arguments too long"); });
  EXPECT_TRUE(c.fataled);
  EXPECT_EQ(c.console, "\a*** Arguments too long!\n");
  EXPECT_EQ(c.log, "*** Arguments too long!\n");
}

TEST(Fatal, EmptyMessage) {
  Captured c = capture([] { fatal(""); });
  EXPECT_EQ(c.console, "\a*** !\n");
  EXPECT_EQ(c.log, "*** !\n");
}

TEST(Fatal2, ShortNameStaysOnTheLine) {
  Captured c = capture([] { fatal2("File not found: ", "zembic.csv"); });
  EXPECT_EQ(c.console, "\a*** File not found: zembic.csv!\n");
  EXPECT_EQ(c.log, "*** File not found: zembic.csv!\n");
}

TEST(Fatal2, SplitsAtEightyBytes) {
  const std::string msg(28, 'm');
  // 28 + 46 + 5 = 79: one line each.
  Captured one = capture([&] { fatal2(msg, std::string(46, 'f')); });
  EXPECT_EQ(one.console, "\a*** " + msg + std::string(46, 'f') + "!\n");
  EXPECT_EQ(one.log, "*** " + msg + std::string(46, 'f') + "!\n");
  // 28 + 47 + 5 = 80: the name on a second line after four blanks.
  Captured two = capture([&] { fatal2(msg, std::string(47, 'f')); });
  EXPECT_EQ(two.console, "\a*** " + msg + "\n    " + std::string(47, 'f') + "!\n");
  EXPECT_EQ(two.log, "*** " + msg + "\n    " + std::string(47, 'f') + "!\n");
}

TEST(Fatal2, TrailingBlanksOfThePassedLengthAreShown) {
  Captured c = capture([] { fatal2("Bad: ", "a  "); });
  EXPECT_EQ(c.log, "*** Bad: a  !\n");
}

}  // namespace
