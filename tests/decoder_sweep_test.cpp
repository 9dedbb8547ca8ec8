// Every code unit 0000-00FF and the surrogate edges, in UTF-16LE and
// UTF-16BE, through the line reader and the row reader: with the decoder's
// runs and byte by byte, each against the UTF-8 written here.
#include <gtest/gtest.h>

#include "decoder.h"
#include "readcv.h"
#include "readfu.h"
#include "reader_helpers.h"
#include "sizes.h"

namespace {

// The lines (rows) that the reader returned, joined, or its fatal line; and
// the console.
std::pair<std::string, std::string> read_through(bool csv, const std::string& file, bool words) {
  static char buf[BUFMAX];
  set_word_paths(words);
  readfu_reset();
  readcv_reset();
  std::string all;
  const ReadAll r = read_all("u.txt", file, [&](ReadRow&) {
    int32_t nbuf = 0, ipos, lpos, term = 0;
    char sep = ',';
    if (csv) readcv("u.txt", 5, LU_INPUT, sep, '"', 0, BUFMAX, nbuf, ipos, lpos, buf, term);
    if (!csv) readfu("u.txt", 5, LU_INPUT, BUFMAX, nbuf, buf, term);
    all.append(buf, nbuf);
    return term != 0 ? 1 : 0;
  });
  set_word_paths(true);
  return {r.fataled ? r.log.substr(r.log.rfind("***")) : all, r.console};
}

TEST(DecoderSweep, CodeUnitsThroughBothReaders) {
  // The units and their UTF-8, or the fatal line (an ASCII character follows).
  const std::string first = "*** Bad UTF-16 first int in u.txt!\n";
  const std::string second = "*** Bad UTF-16 second int in u.txt!\n";
  std::vector<std::pair<std::u16string, std::string>> cases = {
      {u"\xD7FF", "\xED\x9F\xBF"}, {u"\xE000", "\xEE\x80\x80"},
      {u"\xD800\xDC00", "\xF0\x90\x80\x80"}, {u"\xDBFF\xDFFF", "\xF4\x8F\xBF\xBF"},
      {u"\xD800", second}, {u"\xDBFF\xE000", second}, {u"\xDC00", first}, {u"\xDFFF", first}};
  for (char16_t c = 0; c <= 0xFF; ++c) {  // a quote doubled: it is inside a quoted cell
    const std::string two = {char(0xC0 | c >> 6), char(0x80 | (c & 0x3F))};
    const std::string utf8 = c == '"' ? "\"\"" : c < 0x80 ? std::string(1, char(c)) : two;
    cases.push_back({c == '"' ? u"\"\"" : std::u16string(1, c), utf8});
  }
  // One quoted cell: 40 ASCII characters (two whole runs of 16), the units, 20 more.
  const std::string before = "\"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLM";
  const std::string after = "0123456789NOPQRSTUVW\"\n";
  for (const auto& [units, utf8] : cases) {
    const std::string expect = utf8.starts_with("***") ? utf8 : before + utf8 + after;
    for (const bool big : {false, true}) {
      std::string file = big ? "\xFE\xFF" : "\xFF\xFE";
      for (const char16_t u : std::u16string(before.begin(), before.end()) + units +
                                  std::u16string(after.begin(), after.end())) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u);
        file += big ? std::string{hi, lo} : std::string{lo, hi};
      }
      for (const bool csv : {false, true}) {
        SCOPED_TRACE(testing::Message() << std::hex << +units[0] << (big ? " BE" : " LE")
                                        << (csv ? " readcv" : " readfu"));
        const auto runs = read_through(csv, file, true);
        EXPECT_EQ(runs.first, expect);
        EXPECT_EQ(runs, read_through(csv, file, false));
      }
    }
  }
}

}  // namespace
