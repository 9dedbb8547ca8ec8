// The row reader's word scan held against its scan byte by byte: the fuzz
// corpus, and rows whose quoting bytes fall on every place of a word.  (The
// row reader's own tests read each of their files both ways too.)
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "fuzz/fuzz_options.h"
#include "readcv_helpers.h"

namespace {

TEST(ReadcvTwoWay, FuzzCorpus) {
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(FUZZ_CORPUS)) {
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string data{std::istreambuf_iterator<char>(in), {}};
    if (data.size() < FUZZ_OPTION_BYTES) continue;
    const FuzzOptions f = fuzz_options(reinterpret_cast<const uint8_t*>(data.data()));
    SCOPED_TRACE(entry.path().filename().string());
    read_csv(data.substr(FUZZ_OPTION_BYTES), {f.sep, f.quot, f.esc, f.ncolf, f.bufmax});
    ++inputs;
  }
  EXPECT_GE(inputs, 13);
}

// Each row after a first column of 0 to 16 bytes, so that its separators,
// quotes, CRs, LFs and escape bytes reach every place of an 8-byte word.
TEST(ReadcvTwoWay, QuotingBytesAtEveryPlaceOfAWord) {
  const struct {
    std::string row;
    int32_t esc;
  } cases[] = {
      {"a,\"b\"\"c,d\",\"\",e\r\n", -1},  {"\"ab\"c,d\r\n", -1},
      {"abcd\"e\",f\r\n", -1},            {"\"abc\"\rd\r\n", -1},
      {"\"abc\"\r", -1},                  {"\"ab\nc\r\nd\",e,\n", -1},
      {"abcdefgh,ijklmnop,\r\nq,r,", -1}, {"\"abcdefghij", -1},
      {"ab\\,c\\\"d,\"e\\\"\\\nf\",g\\\\\r\n", '\\'},
      {"\"a\"\"b\",c\r\n", '\\'},         {"abcdefg\\", '\\'},
  };
  for (const auto& k : cases) {
    for (int pad = 0; pad <= 16; ++pad) {
      Opts o;
      o.esc = k.esc;
      o.ncolf = pad % 4;
      SCOPED_TRACE(k.row + " after " + std::to_string(pad));
      read_csv(std::string(pad, 'x') + "," + k.row, o);
    }
  }
}

}  // namespace
