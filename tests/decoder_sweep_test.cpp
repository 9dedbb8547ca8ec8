// Every code unit 0000-00FF and the surrogate edges, in UTF-16LE and
// UTF-16BE, through the line reader and the row reader: with the decoder's
// runs and byte by byte, each against the UTF-8 written here.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "decoder.h"
#include "readcv.h"
#include "readfu.h"
#include "reader_helpers.h"
#include "sizes.h"

namespace {

const std::string fname = "u.txt";

// The code units as a UTF-16 file with its byte-order mark.
std::string utf16_file(const std::vector<uint16_t>& units, bool big) {
  std::string s = big ? "\xFE\xFF" : "\xFF\xFE";
  for (const uint16_t u : units) {
    const char hi = static_cast<char>(u >> 8);
    const char lo = static_cast<char>(u & 0xFF);
    s += big ? std::string{hi, lo} : std::string{lo, hi};
  }
  return s;
}

// The bytes of all lines (rows) that the reader returned, joined, or its
// fatal line; and the console.
std::pair<std::string, std::string> read_through(bool csv, const std::string& file, bool words) {
  static char bufchr[BUFMAX];
  set_word_paths(words);
  readfu_reset();
  readcv_reset();
  std::string all;
  const ReadAll r = read_all(fname, file, [&](ReadRow&) {
    int32_t nbuf = 0, ipos, lpos, term = 0;
    char sep = ',';
    const int32_t lf = static_cast<int32_t>(fname.size());
    if (csv) {
      readcv(fname.data(), lf, LU_INPUT, sep, '"', 0, BUFMAX, nbuf, ipos, lpos, bufchr, term);
    } else {
      readfu(fname.data(), lf, LU_INPUT, BUFMAX, nbuf, bufchr, term);
    }
    all.append(bufchr, nbuf);
    return term != 0 ? 1 : 0;
  });
  set_word_paths(true);
  return {r.fataled ? r.log.substr(r.log.rfind("***")) : all, r.console};
}

TEST(DecoderSweep, CodeUnitsThroughBothReaders) {
  struct Case {
    std::vector<uint16_t> units;
    std::string expect;  // its UTF-8, or the fatal line
  };
  std::vector<Case> cases;
  for (uint16_t c = 0; c <= 0xFF; ++c) {
    const char b = static_cast<char>(c);
    std::string u8 = c < 0x80 ? std::string{b}
                              : std::string{static_cast<char>(0xC0 | c >> 6),
                                            static_cast<char>(0x80 | (c & 0x3F))};
    if (c == '"') cases.push_back({{c, c}, "\"\""});  // doubled inside the quoted cell
    else cases.push_back({{c}, u8});
  }
  const std::string first = "*** Bad UTF-16 first int in u.txt!\n";
  const std::string second = "*** Bad UTF-16 second int in u.txt!\n";
  cases.push_back({{0xD7FF}, "\xED\x9F\xBF"});
  cases.push_back({{0xE000}, "\xEE\x80\x80"});
  cases.push_back({{0xD800, 0xDC00}, "\xF0\x90\x80\x80"});
  cases.push_back({{0xDBFF, 0xDFFF}, "\xF4\x8F\xBF\xBF"});
  cases.push_back({{0xD800}, second});  // an ASCII character follows
  cases.push_back({{0xDBFF, 0xE000}, second});
  cases.push_back({{0xDC00}, first});
  cases.push_back({{0xDFFF}, first});

  // One quoted cell: 40 ASCII characters (two whole runs of 16), the unit,
  // 20 more, then LF.
  const std::string before = "\"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLM";
  const std::string after = "0123456789NOPQRSTUVW\"\n";
  for (const Case& k : cases) {
    std::vector<uint16_t> units(before.begin(), before.end());
    units.insert(units.end(), k.units.begin(), k.units.end());
    units.insert(units.end(), after.begin(), after.end());
    const std::string expect = k.expect.starts_with("***") ? k.expect : before + k.expect + after;
    for (const bool big : {false, true}) {
      for (const bool csv : {false, true}) {
        const std::string file = utf16_file(units, big);
        const auto runs = read_through(csv, file, true);
        SCOPED_TRACE(testing::Message() << std::hex << k.units[0] << (big ? " BE" : " LE")
                                        << (csv ? " readcv" : " readfu"));
        EXPECT_EQ(runs.first, expect);
        EXPECT_EQ(runs, read_through(csv, file, false));
      }
    }
  }
}

}  // namespace
