#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "readfu.h"
#include "reader_helpers.h"
#include "sizes.h"

namespace {

const std::string fname = "roster.txt";

ReadAll read_text(const std::string& bytes) {
  static char bufchr[BUFMAX + 1];
  readfu_reset();
  return read_all(fname, bytes, [&](ReadRow& row) {
    int32_t nbuf = -5, term = -5;
    readfu(fname.data(), static_cast<int32_t>(fname.size()), LU_INPUT, BUFMAX, nbuf, bufchr,
           term);
    if (nbuf == 0 && term == 0) return 0;
    row.bytes.assign(bufchr, nbuf);
    row.term = term;
    return term != 0 ? 1 : 2;  // an unterminated last line ends the file too
  });
}

std::string fatal_line(const std::string& msg) { return "*** " + msg + fname + "!\n"; }

// The line texts and terminators, and the last line when it has none.
std::vector<std::string> lines(const ReadAll& r) {
  std::vector<std::string> v;
  for (const ReadRow& row : r.rows) v.push_back(row.bytes + "|" + std::to_string(row.term));
  return v;
}

TEST(Readfu, MarksAndShortFiles) {
  struct {
    std::string file;
    std::vector<std::string> lines;
    int32_t enc;
    std::string saved, warn;
  } cases[] = {
      {"", {}, 0, "", ""},
      {"\xEF\xBB\xBF", {}, -2, "\xEF\xBB\xBF", " ** Warning: UTF-8 BOM in roster.txt"},
      {"\xFE\xFF", {}, 1, "\xEF\xBB\xBF", " ** Warning: UTF-16BE file: roster.txt"},
      {"\xFF\xFE", {}, 2, "\xEF\xBB\xBF", " ** Warning: UTF-16LE file: roster.txt"},
      {std::string("\xFF\xFE" "a\0\r\0\n\0", 8), {"a\r\n|2"}, 2, "\xEF\xBB\xBF",
       " ** Warning: UTF-16LE file: roster.txt"},
      {"\xEF\xBB\xBF" "ab\n", {"ab\n|1"}, -2, "\xEF\xBB\xBF", " ** Warning: UTF-8 BOM in roster.txt"},
      {"a\n", {"a\n|1"}, -1, "", ""},
      {"\n", {"\n|1"}, -1, "", ""},
      {"\r\n", {"\r\n|2"}, -1, "", ""},
      {"ab", {"ab|0"}, 0, "", ""},       // too short to tell: enc stays unknown
      {"abc", {"abc|0"}, -1, "", ""},
      {"\xEF\xBB", {"\xEF\xBB|0"}, 0, "", ""},
      {"a\xEF\xBB\xBF\n", {"a\xEF\xBB\xBF\n|1"}, -1, "", ""},  // a mark later is data
  };
  for (auto& k : cases) {
    ReadAll r = read_text(k.file);
    ASSERT_TRUE(r.ended) << k.file << r.log;
    EXPECT_EQ(lines(r), k.lines) << k.file;
    EXPECT_EQ(r.enc, k.enc) << k.file;
    EXPECT_EQ(r.saved, k.saved) << k.file;
    const std::string warn = k.warn.empty() ? "" : warning(k.warn);
    EXPECT_EQ(r.console, warn) << k.file;
    EXPECT_EQ(r.log, warn) << k.file;
  }
}

TEST(Readfu, Utf16Decoding) {
  // U+00E9, U+20AC and U+1F600 (a surrogate pair), then LF.
  const std::string be("\xFE\xFF\x00\xE9\x20\xAC\xD8\x3D\xDE\x00\x00\x0A", 12);
  const std::string le("\xFF\xFE\xE9\x00\xAC\x20\x3D\xD8\x00\xDE\x0A\x00", 12);
  const std::string want = "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\n|1";
  EXPECT_EQ(lines(read_text(be)), std::vector<std::string>{want});
  EXPECT_EQ(lines(read_text(le)), std::vector<std::string>{want});
  // The character FEFF after the mark is data.
  EXPECT_EQ(lines(read_text(std::string("\xFE\xFF\xFE\xFF\x00\x0A", 6))),
            std::vector<std::string>{"\xEF\xBB\xBF\n|1"});
}

TEST(Readfu, BadUtf16) {
  struct {
    std::string file, msg;
  } cases[] = {
      {std::string("\xFF\xFE" "a\0b", 5), "Incomplete UTF-16 character ends "},
      {std::string("\xFE\xFF\xD8\x3D", 4), "Incomplete UTF-16 character ends "},
      {std::string("\xFE\xFF\xD8\x3D\xDE", 5), "Incomplete UTF-16 character ends "},
      {std::string("\xFE\xFF\xDC\x00\x00\x0A", 6), "Bad UTF-16 first int in "},
      {std::string("\xFE\xFF\xD8\x3D\x00\x41", 6), "Bad UTF-16 second int in "},
      {std::string("\xFE\xFF\xD8\x3D\xD8\x3D", 6), "Bad UTF-16 second int in "},
  };
  for (auto& k : cases) {
    ReadAll r = read_text(k.file);
    EXPECT_TRUE(r.fataled);
    EXPECT_EQ(r.console.substr(r.console.find('\a')), "\a" + fatal_line(k.msg));
  }
}

TEST(Readfu, LineEnds) {
  // Stray CRs are data; CR CR LF is a CR LF line whose text ends in CR.
  ReadAll r = read_text("a\rb\r\r\n\r\nlast\r");
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(lines(r), (std::vector<std::string>{"a\rb\r\r\n|2", "\r\n|2", "last\r|0"}));
  r = read_text("a\nb\n\nc");
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(lines(r), (std::vector<std::string>{"a\n|1", "b\n|1", "\n|1", "c|0"}));
  for (const std::string file : {"a\nb\r\n", "a\r\nb\n", "a\r\nb\r\n\n"}) {
    r = read_text(file);
    EXPECT_TRUE(r.fataled) << file;
    EXPECT_EQ(r.log, fatal_line("Mix of Unix and DOS newlines in "));
  }
}

TEST(Readfu, LineOfExactlyTheBufferSize) {
  const std::string line = std::string(BUFMAX - 1, 'x') + "\n";
  ReadAll r = read_text(line + line);
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.rows.size(), 2u);
  // The mark does not count towards the limit.
  r = read_text("\xEF\xBB\xBF" + line);
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.rows.size(), 1u);
  r = read_text(line + "y" + line);
  EXPECT_TRUE(r.fataled);
  EXPECT_EQ(r.rows.size(), 1u);
  EXPECT_EQ(r.log, fatal_line("File is too big to process: "));
}

TEST(Readfu, CharactersAcrossInputBlocks) {
  // UTF-16LE: the mark and 32766 "a" fill the first 64 KiB block but for two
  // bytes, so a surrogate pair (U+1F600) is cut by the block's end.
  std::string file("\xFF\xFE", 2);
  for (int i = 0; i < 32766; ++i) file += std::string("a\0", 2);
  file += std::string("\x3D\xD8\x00\xDE\n\0b\0\n\0", 10);
  ReadAll r = read_text(file);
  ASSERT_TRUE(r.ended) << r.log;
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(r.rows[0].bytes, std::string(32766, 'a') + "\xF0\x9F\x98\x80\n");
  EXPECT_EQ(r.rows[1].bytes, "b\n");
  // UTF-8: lines that start and end on both sides of block ends.
  std::string text;
  std::vector<std::string> want;
  for (int i = 0; i < 9; ++i) {
    want.push_back(std::string(40000 + i, static_cast<char>('a' + i)) + "\n|1");
    text += want.back().substr(0, want.back().size() - 2);
  }
  r = read_text(text);
  ASSERT_TRUE(r.ended) << r.log;
  EXPECT_EQ(lines(r), want);
}

TEST(Readfu, NameLongerThanItsSlotIsAProgramError) {
  readfu_reset();
  ReadAll r = read_all(fname, "a\n", [&](ReadRow&) {
    char bufchr[8];
    int32_t nbuf, term;
    readfu(fname.data(), FLDMAX + 1, LU_INPUT, 8, nbuf, bufchr, term);
    return 1;
  });
  EXPECT_TRUE(r.fataled);
  EXPECT_EQ(r.log, "*** Program error in name_of!\n");
}

TEST(Readfu, ClosesTheFileAtItsEnd) {
  for (const std::string file : {"a\n", "a\nb"}) {
    static char bufchr[8];
    readfu_reset();
    bool open_at_end = true;
    ReadAll r = read_all(fname, file, [&](ReadRow&) {
      int32_t nbuf, term;
      readfu(fname.data(), 10, LU_INPUT, 8, nbuf, bufchr, term);
      if (term != 0) return 1;
      open_at_end = unitf(LU_INPUT) != nullptr;
      return 0;
    });
    EXPECT_TRUE(r.ended);
    EXPECT_FALSE(open_at_end) << file;
  }
}

TEST(Readfu, WarningWithoutLogFileEndsTheRun) {
  in_temp_folder([] {
    put_file(fname, "\xEF\xBB\xBF" "a\n");
    cmenc.enc = 0;
    cmsav.nsav = 0;
    readfu_reset();
    put_file("ro.log", "");
    FILE* ro = std::fopen("ro.log", "r");  // a log file that refuses writes
    Captured c = capture([&] {
      bind_unit(LU_LOG, ro);
      openru(fname, LU_INPUT);
      char buf[8];
      int32_t nbuf, term;
      readfu(fname.data(), static_cast<int32_t>(fname.size()), LU_INPUT, 8, nbuf, buf, term);
    });
    close_unit(LU_INPUT);
    std::fclose(ro);
    EXPECT_TRUE(c.fataled);
    EXPECT_EQ(c.console, " ** Warning: UTF-8 BOM in roster.txt\n\a*** Error writing to log file!\n");
    cmenc.enc = 0;
    cmsav.nsav = 0;
  });
}

}  // namespace
