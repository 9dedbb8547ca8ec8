#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "text.h"
#include "unit_helpers.h"

namespace {

std::string its(int32_t v, int32_t len, int32_t* lout = nullptr) {
  std::string s(len, '#');
  int32_t l = -1;
  inttos(v, s.data(), len, l);
  if (lout) *lout = l;
  return s;
}

TEST(Inttos, Numbers) {
  int32_t l;
  EXPECT_EQ(its(0, 12, &l), "0" + std::string(11, ' '));
  EXPECT_EQ(l, 1);
  EXPECT_EQ(its(-2147483647 - 1, 12, &l), "-2147483648 ");
  EXPECT_EQ(l, 11);
  EXPECT_EQ(its(2147483647, 10, &l), "2147483647");
  EXPECT_EQ(l, 10);
  EXPECT_EQ(its(1234, 20, &l), "1234" + std::string(16, ' '));
  EXPECT_EQ(l, 4);
  EXPECT_EQ(its(-5, 2, &l), "-5");
}

TEST(Inttos, AsterisksWhenTooLong) {
  int32_t l;
  EXPECT_EQ(its(1234, 3, &l), "***");
  EXPECT_EQ(l, 3);
  EXPECT_EQ(its(-10, 2, &l), "**");
  EXPECT_EQ(l, 2);
}

TEST(NumText, RightAlignedOrDigitsAlone) {
  char buf[12];
  EXPECT_EQ(num_text(7, buf, 4), "   7");
  EXPECT_EQ(num_text(-12, buf, 4), " -12");
  EXPECT_EQ(num_text(1234, buf, 4), "1234");
  EXPECT_EQ(num_text(12345, buf, 4), "****");
  EXPECT_EQ(num_text(-2147483647 - 1, buf, 12), " -2147483648");
  EXPECT_EQ(num_text(0, buf), "0");
  EXPECT_EQ(num_text(-2147483647 - 1, buf), "-2147483648");
  EXPECT_EQ(num_text(323, buf), "323");
}

std::string trim(std::string s, int32_t& l) {
  trimlt(s.data(), l);
  return s;
}

TEST(Trimlt, Cases) {
  int32_t l = 5;
  EXPECT_EQ(trim("  ab ", l), "ab   ");
  EXPECT_EQ(l, 2);
  l = 3;
  EXPECT_EQ(trim("\tx\r", l), "x  ");
  EXPECT_EQ(l, 1);
  l = 4;
  EXPECT_EQ(trim(" \t \n", l), " \t \n");  // all blank: bytes kept
  EXPECT_EQ(l, 0);
  l = 0;
  EXPECT_EQ(trim("  a", l), "  a");
  EXPECT_EQ(l, 0);
  l = 5;
  EXPECT_EQ(trim("a\tb  ", l), "a\tb  ");  // an inner tab stays
  EXPECT_EQ(l, 3);
  l = 3;  // bytes beyond the used length are never touched
  EXPECT_EQ(trim(" a zz", l), "a  zz");
  EXPECT_EQ(l, 1);
  l = 2;
  EXPECT_EQ(trim("\xFF\x7F", l), "\xFF\x7F");  // 127 and 255 are text
  EXPECT_EQ(l, 2);
}

TEST(JoinLine, PiecesInOrderCutWhereTheBufferEnds) {
  char buf[8] = {'#', '#', '#', '#', '#', '#', '#', '#'};
  EXPECT_EQ(join_line(buf, 6, {"ab", "", "cd"}), "abcd");
  EXPECT_EQ(join_line(buf, 6, {"abc", "defg", "h"}), "abcdef");
  EXPECT_EQ(buf[6], '#');  // never a byte past cap
  EXPECT_EQ(join_line(buf, 0, {"a"}), "");
}

std::string u8(int32_t ucs) {
  char b[4] = {'#', '#', '#', '#'};
  int32_t n = 0;
  wutf8(ucs, n, b);
  return std::string(b, n);
}

TEST(Wutf8, Boundaries) {
  EXPECT_EQ(u8(0x7F), "\x7F");
  EXPECT_EQ(u8(0x80), "\xC2\x80");
  EXPECT_EQ(u8(0x7FF), "\xDF\xBF");
  EXPECT_EQ(u8(0x800), "\xE0\xA0\x80");
  EXPECT_EQ(u8(0xFFFF), "\xEF\xBF\xBF");
  EXPECT_EQ(u8(0x10000), "\xF0\x90\x80\x80");
  EXPECT_EQ(u8(0x10FFFF), "\xF4\x8F\xBF\xBF");
  EXPECT_EQ(u8(0), std::string(1, '\0'));
}

TEST(Wutf8, RefusesInvalidCodePoints) {
  for (int32_t bad : {0xD800, 0xDFFF, -1, 0x110000}) {
    Captured c = capture([&] { u8(bad); });
    EXPECT_TRUE(c.fataled) << bad;
    EXPECT_EQ(c.log, "*** Program error in wutf8!\n");
  }
}

std::string u16(int32_t little, int32_t ucs) {
  char b[4] = {'#', '#', '#', '#'};
  int32_t n = 0;
  wutf16(little, ucs, n, b);
  return std::string(b, n);
}

TEST(Wutf16, ByteOrders) {
  EXPECT_EQ(u16(0, 0x1F600), std::string("\xD8\x3D\xDE\x00", 4));
  EXPECT_EQ(u16(1, 0x1F600), std::string("\x3D\xD8\x00\xDE", 4));
  EXPECT_EQ(u16(0, 0xFEFF), "\xFE\xFF");
  EXPECT_EQ(u16(7, 0xFEFF), "\xFF\xFE");
  EXPECT_EQ(u16(0, 0x41), std::string("\x00\x41", 2));
  EXPECT_EQ(u16(0, 0x10FFFF), "\xDB\xFF\xDF\xFF");
}

TEST(Wutf16, RefusesInvalidCodePoints) {
  for (int32_t bad : {0xDC00, 0xD800, -1, 0x110000}) {
    Captured c = capture([&] { u16(0, bad); });
    EXPECT_TRUE(c.fataled) << bad;
    EXPECT_EQ(c.log, "*** Program error 1 in wutf16!\n");
  }
}

void r8(const std::string& s, int32_t start, int32_t want_ucs, int32_t want_ichr) {
  int32_t ichr = start, ucs = 99;
  rutf8(s.data(), static_cast<int32_t>(s.size()), ichr, ucs);
  EXPECT_EQ(ucs, want_ucs) << "input of " << s.size() << " bytes";
  EXPECT_EQ(ichr, want_ichr);
}

TEST(Rutf8, WellFormed) {
  r8("a", 0, 'a', 1);
  r8("\xC2\x80", 0, 0x80, 2);
  r8("\xE0\xA0\x80", 0, 0x800, 3);
  r8("\xEF\xBF\xBF", 0, 0xFFFF, 3);
  r8("\xF0\x90\x80\x80", 0, 0x10000, 4);
  r8("\xF4\x8F\xBF\xBFz", 0, 0x10FFFF, 4);
  r8("ab\xC3\xA9", 2, 0xE9, 4);
  r8("ab", 2, -1, 2);
}

TEST(Rutf8, IllFormedLeavesOffsetAtLead) {
  r8("\xC0\x80", 0, -2, 0);
  r8("\xC1\xBF", 0, -2, 0);
  r8("\xE0\x80\x80", 0, -2, 0);
  r8("\xE0\x9F\xBF", 0, -2, 0);  // U+07FF in three bytes
  r8("\xED\xA0\x80", 0, -2, 0);
  r8("\xF4\x90\x80\x80", 0, -2, 0);
  r8("\x80", 0, -2, 0);
  r8("x\xE2\x82", 1, -2, 1);
  r8("\xF8\x80\x80\x80\x80", 0, -2, 0);
  r8("\xC3\x41", 0, -2, 0);
}

TEST(Rutf8, AgreesWithWutf8OnEveryScalarBoundary) {
  for (int32_t ucs : {0, 0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFD, 0xFFFF, 0x10000,
                      0x10FFFF}) {
    const std::string s = u8(ucs);
    int32_t ichr = 0, got = 0;
    rutf8(s.data(), static_cast<int32_t>(s.size()), ichr, got);
    EXPECT_EQ(got, ucs);
    EXPECT_EQ(ichr, static_cast<int32_t>(s.size()));
  }
}

TEST(Utf8Cut, MovesOnlyInUtf8Text) {
  const struct {
    std::string s;
    int32_t at, want;
  } cases[] = {
      {"\xC3\xA9", 0, 0},                  // cut at 0
      {"a\xC3\xA9", 3, 3},                 // cut at the end
      {"a\xC0\x80", 2, 2},                 // C0, C1 and F5 to FF lead nothing
      {"a\xC1\xBF", 2, 2},
      {"a\xF5\x80\x80\x80", 2, 2},
      {"a\xF8\x80\x80\x80", 2, 2},
      {"a\xFF\x80", 2, 2},
      {"a\xC3" "Ab", 2, 2},                    // lead, then no continuation byte
      {"a\x80\x80", 2, 2},                 // stray continuation bytes
      {"\x80\xC3\xA9", 2, 2},             // a stray byte before the character
      {"a\xC3\xA9" "b", 3, 3},                // a whole character ends at the cut
      {"a\xC3\xA9", 2, 1},                 // 2, 3 and 4 bytes, each number kept
      {"a\xE2\x82\xAC", 2, 1},
      {"a\xE2\x82\xAC", 3, 1},
      {"a\xF0\x9F\x98\x80", 2, 1},
      {"a\xF0\x9F\x98\x80", 3, 1},
      {"a\xF0\x9F\x98\x80", 4, 1},
      {"a\xE0\xA0\x80", 2, 1},            // the narrower second bytes
      {"a\xE0\x80\x80", 2, 2},
      {"a\xED\x9F\xBF", 2, 1},
      {"a\xED\xA0\x80", 2, 2},
      {"a\xF4\x8F\xBF\xBF", 3, 1},
      {"a\xF4\x90\x80\x80", 2, 2},
      {"Gonz\xE1" "lez Jos\xE9\xA0" "Mar\xED" "a", 13, 13},  // Windows-1252
      {"Jos\xE9\xA0" "Mar", 4, 4},
      {"J\xF3\x9Fwiak", 2, 2},                       // Windows-1250
      {"M\xFC" "ller \xC3\xA9", 8, 8},                  // UTF-8 after 8-bit text
  };
  for (const auto& k : cases) {
    EXPECT_EQ(utf8_cut(k.s.data(), k.at, static_cast<int32_t>(k.s.size())), k.want)
        << k.s << " at " << k.at;
  }
}

}  // namespace
