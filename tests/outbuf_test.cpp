#include <string>

#include <gtest/gtest.h>

#include "io.h"
#include "outbuf.h"
#include "unit_helpers.h"

namespace {

class Outbuf : public ::testing::Test {
 protected:
  void SetUp() override {
    cmsav.nsav = 0;
    cmenc.enc = 0;
  }
  void TearDown() override {
    cmsav.nsav = 0;
    cmenc.enc = 0;
  }
};

TEST_F(Outbuf, SavbufIgnoresNonPositiveCounts) {
  savbuf(0, "abc");
  savbuf(-3, "abc");
  EXPECT_EQ(cmsav.nsav, 0);
  savbuf(3, "abc");
  EXPECT_EQ(std::string(cmsav.savchr, cmsav.nsav), "abc");
}

TEST_F(Outbuf, SavbufFillsExactlyToTheLimit) {
  const std::string chunk(50000, 'x');
  for (int i = 0; i < 4; ++i) savbuf(50000, chunk.data());
  EXPECT_EQ(cmsav.nsav, 200000);
  Captured c = capture([] { savbuf(1, "y"); });
  EXPECT_TRUE(c.fataled);
  EXPECT_EQ(c.log, "*** Program Error: savbuf: Out of storage!\n");
  EXPECT_EQ(cmsav.nsav, 200000);  // nothing appended
}

std::string write_with(int32_t enc, const std::string& bytes, Captured* cap = nullptr) {
  std::string out;
  in_temp_folder([&] {
    cmenc.enc = enc;
    Captured c = capture([&] {
      openwu("out.bin", LU_OUTPUT);
      writfu("out.bin", 7, LU_OUTPUT, static_cast<int32_t>(bytes.size()), bytes.data());
      writfu("out.bin", 7, LU_OUTPUT, 0, bytes.data());
      writfu("out.bin", 7, LU_OUTPUT, -1, bytes.data());
    });
    if (cap) *cap = c;
    close_unit(LU_OUTPUT);
    out = get_file("out.bin");
  });
  return out;
}

TEST_F(Outbuf, EightBitAndUtf8PassUnchanged) {
  const std::string in = "\xEF\xBB\xBF" "A\xE9\xFF\n";
  EXPECT_EQ(write_with(-1, in), in);
  EXPECT_EQ(write_with(-2, in), in);
  EXPECT_EQ(write_with(0, in), in);
}

TEST_F(Outbuf, Utf16BothByteOrdersWithMark) {
  const std::string in = "\xEF\xBB\xBF" "A\n";
  EXPECT_EQ(write_with(1, in), std::string("\xFE\xFF\x00\x41\x00\x0A", 6));
  EXPECT_EQ(write_with(2, in), std::string("\xFF\xFE\x41\x00\x0A\x00", 6));
}

TEST_F(Outbuf, Utf16SurrogatePairs) {
  const std::string in = "\xF0\x9F\x98\x80";  // U+1F600
  EXPECT_EQ(write_with(1, in), std::string("\xD8\x3D\xDE\x00", 4));
  EXPECT_EQ(write_with(2, in), std::string("\x3D\xD8\x00\xDE", 4));
}

TEST_F(Outbuf, InvalidUtf8IsAnErrorOnlyForUtf16) {
  Captured c;
  write_with(2, "a\xE9", &c);
  EXPECT_TRUE(c.fataled);
  EXPECT_EQ(c.log, "*** Program error 1 in writfu!\n");
  EXPECT_EQ(write_with(-1, "a\xE9"), "a\xE9");
}

}  // namespace
