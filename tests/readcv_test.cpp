#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "decoder.h"
#include "fuzz/fuzz_options.h"
#include "readcv.h"
#include "reader_helpers.h"
#include "sizes.h"

namespace {

struct Opts {
  char sep = ',';
  char quot = '"';
  int32_t esc = -1;
  int32_t ncolf = 0;
  int32_t bufmax = BUFMAX;
};

struct CsvRead : ReadAll {
  char sep = 0;  // the separator after the last call
};

const std::string fname = "r.csv";

// One read with the word paths on or off (off, every byte comes from the
// decoder one by one and goes through the row reader's scan byte by byte).
CsvRead read_csv_once(const std::string& bytes, const Opts& o, bool words) {
  static char bufchr[BUFMAX + 1];
  readcv_reset();
  set_word_paths(words);
  cmenc.esc = o.esc;
  char sep = o.sep;
  CsvRead r;
  static_cast<ReadAll&>(r) = read_all(fname, bytes, [&](ReadRow& row) {
    int32_t nbuf = -5, ipos = -5, lpos = -5, term = -5;
    readcv(fname.data(), static_cast<int32_t>(fname.size()), LU_INPUT, sep, o.quot, o.ncolf,
           o.bufmax, nbuf, ipos, lpos, bufchr, term);
    if (nbuf == 0 && term == 0) return 0;
    row = {std::string(bufchr, nbuf), term, ipos, lpos};
    return 1;
  });
  r.sep = sep;
  cmenc.esc = -1;
  set_word_paths(true);
  return r;
}

// Everything a read gave, as one text.
std::string read_text(const CsvRead& r) {
  std::string t;
  for (const ReadRow& row : r.rows) {
    t += std::to_string(row.term) + ' ' + std::to_string(row.ipos) + ' ' +
         std::to_string(row.lpos) + ' ' + row.bytes;
  }
  return t + std::to_string(r.ended) + std::to_string(r.fataled) + r.console + r.log + r.saved +
         std::to_string(r.enc) + r.sep;
}

// Every file is read both ways, and both reads must give the same; the
// result is the read with the word paths.
CsvRead read_csv(const std::string& bytes, Opts o = {}) {
  const CsvRead words = read_csv_once(bytes, o, true);
  EXPECT_TRUE(read_text(words) == read_text(read_csv_once(bytes, o, false)))
      << "word and byte paths differ on " << bytes.substr(0, 200);
  return words;
}

std::vector<std::string> texts(const ReadAll& r) {
  std::vector<std::string> v;
  for (const ReadRow& row : r.rows) v.push_back(row.bytes);
  return v;
}

std::string fatal_line(const std::string& msg) { return "*** " + msg + fname + "!\n"; }

const std::string unix_warning = warning(" ** WARNING: Unix, not Microsoft, CSV file: r.csv");

TEST(Readcv, EmptyFileEndsAtOnce) {
  CsvRead r = read_csv("");
  EXPECT_TRUE(r.ended);
  EXPECT_TRUE(r.rows.empty());
  EXPECT_EQ(r.console, "");
  EXPECT_EQ(r.enc, 0);
}

TEST(Readcv, RowsWithLineEndsAndLastRowWithout) {
  CsvRead r = read_csv("a,b\r\n\"c\r\nd\",e\r\nf,\"g\r\n\r\n\"\r\nh,i");
  ASSERT_TRUE(r.ended) << r.log;
  ASSERT_EQ(r.rows.size(), 4u);
  EXPECT_EQ(texts(r), (std::vector<std::string>{"a,b\r\n", "\"c\r\nd\",e\r\n",
                                                "f,\"g\r\n\r\n\"\r\n", "h,i"}));
  EXPECT_EQ(r.rows[0].term, 2);
  EXPECT_EQ(r.rows[1].term, 2);
  EXPECT_EQ(r.rows[2].term, 2);
  EXPECT_EQ(r.rows[3].term, 0);
  EXPECT_EQ(r.enc, -1);
  // The CR LFs inside quoted fields (three, in two rows) are warned about
  // once in the run; no other warning.
  EXPECT_EQ(r.console, warning(" ** WARNING: CRLF instead of LF inside a column of r.csv"));
  EXPECT_EQ(r.log, r.console);
}

TEST(Readcv, UnixFileIsWarnedAboutOnce) {
  CsvRead r = read_csv("a\n\"x\ny\"\n\n");
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(texts(r), (std::vector<std::string>{"a\n", "\"x\ny\"\n", "\n"}));  // empty row: 1 column
  EXPECT_EQ(r.console, unix_warning);
  EXPECT_EQ(r.log, unix_warning);
}

TEST(Readcv, SeparatorLines) {
  struct {
    std::string first;
    bool is_sep_line, unix_file;
  } cases[] = {
      {"sep=;\n", true, true},         {"SeP=;\n", true, true},
      {"\"sep=;\"\r\n", true, false},  {"sep=;\r\n", true, false},
      {"sep=; \n", false, true},       {"sep:;\n", false, true},
      {"xsep=;\n", false, true},
  };
  for (auto& k : cases) {
    const std::string end = k.unix_file ? "\n" : "\r\n";
    CsvRead r = read_csv(k.first + "a;b" + end + "c;d" + end);
    ASSERT_TRUE(r.ended) << k.first << r.log;
    const std::string warn_unix = k.unix_file ? unix_warning : "";
    if (k.is_sep_line) {
      EXPECT_EQ(r.sep, ';') << k.first;
      EXPECT_EQ(texts(r), (std::vector<std::string>{"a;b" + end, "c;d" + end})) << k.first;
      EXPECT_EQ(r.saved, k.first);
      EXPECT_EQ(r.console,
                warn_unix + warning(" ** Warning: CSV field separator set to \";\""));
    } else {
      // An ordinary first row of one column; the next rows have one too.
      EXPECT_EQ(r.sep, ',');
      EXPECT_EQ(r.rows.size(), 3u) << k.first;
      EXPECT_EQ(r.saved, "");
      EXPECT_EQ(r.console, warn_unix);
    }
  }
}

TEST(Readcv, SeparatorLineAfterMarkAndUnusableSeparators) {
  CsvRead r = read_csv("\xEF\xBB\xBFsep=\t\r\na\tb\r\n");
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.sep, '\t');
  EXPECT_EQ(r.saved, "\xEF\xBB\xBFsep=\t\r\n");
  EXPECT_EQ(r.console, warning(" ** Warning: UTF-8 BOM in r.csv") +
                           warning(" ** Warning: CSV field separator set to \"\t\""));
  // A separator that the caller's own rules would refuse ends the run.
  Opts o;
  o.quot = '\'';
  for (const std::string first : {"sep=\"\n", "sep=\r\r\n"}) {
    r = read_csv(first + "a,b\n", o);
    EXPECT_TRUE(r.fataled) << first;
    EXPECT_EQ(r.log.substr(r.log.find("***")),
              fatal_line("Unusable separator in the separator line of "));
    EXPECT_EQ(r.saved, "");
  }
}

TEST(Readcv, QuotingErrors) {
  struct {
    std::string file;
    int32_t esc;
    std::string msg;
  } cases[] = {
      {"ab,c\"d\"\r\n", -1, "Bad quoting (started too late) in "},
      {"\"ab\"c\r\n", -1, "Bad quoting (terminated too early) in "},
      {"\"a\"\"b\",c\r\n", '\\', "Bad quoting (terminated before a quote) in "},
      {"\"a\"\rb\r\n", -1, "Bad quoting (terminated before bare CR) in "},
      {"\"a\"\r\r\n", -1, "Bad quoting (terminated before bare CR) in "},
      {"\"a\"\r", -1, "Bad quoting (terminated before CR EOF) in "},
      {"a\r\n\"b\r\n", -1, "File ended inside a quoted string: "},
      {"a,b\r\nc\r\n", -1, "Variable number of columns in "},
      {"a,b\r\nc,d,e\r\n", -1, "Variable number of columns in "},
      {"a\r\nb,,\r\n", -1, "Variable number of columns in "},  // two extra separators
      {"a\r\nb\n", -1, "Mix of Unix and DOS newlines in "},
      {"a\nb\r\n", -1, "Mix of Unix and DOS newlines in "},
      // An escaped separator byte does not start a column.
      {"a\\,\"b\"\r\n", '\\', "Bad quoting (started too late) in "},
      // Nor can an escaped separator be taken for an extra one.
      {"a\r\nc,d\\,\r\n", '\\', "Variable number of columns in "},
      // An escape byte may not end a row's text.
      {"ab\\\r\n", '\\', "Bad escape (at the end of a row) in "},
      {"ab\r\ncd\\", '\\', "Bad escape (at the end of a row) in "},
  };
  for (auto& k : cases) {
    Opts o;
    o.esc = k.esc;
    CsvRead r = read_csv(k.file, o);
    EXPECT_TRUE(r.fataled) << k.file;
    const size_t at = r.log.find("***");
    ASSERT_NE(at, std::string::npos) << k.file;
    EXPECT_EQ(r.log.substr(at), fatal_line(k.msg)) << k.file;
  }
  Opts o;
  o.ncolf = -1;
  CsvRead r = read_csv("a\r\n", o);
  EXPECT_EQ(r.log, "*** readcv: bad number of column to find!\n");
}

TEST(Readcv, DoubledQuotesAndEscapes) {
  CsvRead r = read_csv("\"a\"\"b\",c\r\n");
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(texts(r), (std::vector<std::string>{"\"a\"\"b\",c\r\n"}));
  // The escape makes LF, the separator and the quote data, in quotes or not.
  Opts o;
  o.esc = '\\';
  r = read_csv("a\\\nb\\,c\\\",\"d\\\"\\\ne\\\\\"\r\nx,y\r\n", o);
  ASSERT_TRUE(r.ended) << r.log;
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(r.rows[0].bytes, "a\\\nb\\,c\\\",\"d\\\"\\\ne\\\\\"\r\n");
  EXPECT_EQ(r.console, "");  // the escaped line ends are no row ends
}

TEST(Readcv, ExtraSeparatorRepairedWithOneWarning) {
  const std::string bb = warning(" ** Warning: Blackboard Bug: Additional separator at the end of the line!");
  CsvRead r = read_csv("a\tb\r\nc\td\t\r\ne\tf\t\r\ng\th\t", {'\t'});
  ASSERT_TRUE(r.ended) << r.log;
  EXPECT_EQ(texts(r), (std::vector<std::string>{"a\tb\r\n", "c\td\r\n", "e\tf\r\n", "g\th"}));
  EXPECT_EQ(r.console, bb);
  // Only the last row has one: the end-of-file form of the warning.
  r = read_csv("a\tb\ng\t\"h\"\t", {'\t'});
  ASSERT_TRUE(r.ended) << r.log;
  EXPECT_EQ(texts(r), (std::vector<std::string>{"a\tb\n", "g\t\"h\""}));
  EXPECT_EQ(r.console,
            unix_warning + warning(" ** Warning: Additional separator at the end of file!"));
}

TEST(Readcv, InsertionPoint) {
  struct {
    std::string file;
    int32_t ncolf;
    std::vector<std::pair<int32_t, int32_t>> ipos_lpos;
  } cases[] = {
      {"ab,cd\r\nef,gh\r\n", 1, {{0, 0}, {0, 0}}},
      {"a,\"xyz\",c\r\n", 3, {{7, 5}}},
      {"a,\"xyz\",c\r\n", 2, {{1, 1}}},
      {"a,\"xyz\",c\r\n", 4, {{9, 1}}},  // one past the last column
      {"a,\"xyz\",c\r\n", 0, {{9, 1}}},
      {"ab,c\r\nde,\"fgh\",\r\n", 0, {{4, 1}, {8, 5}}},  // after the repair
      {"ab,c\r\nde,fgh,\r\n", 3, {{4, 1}, {6, 3}}},      // set at the removed separator
      {"ab,c\r\nde,fgh,", 0, {{4, 1}, {6, 3}}},          // end-of-file repair
      {"\r\n", 0, {{0, 0}}},
  };
  for (auto& k : cases) {
    Opts o;
    o.ncolf = k.ncolf;
    CsvRead r = read_csv(k.file, o);
    ASSERT_TRUE(r.ended) << k.file << r.log;
    ASSERT_EQ(r.rows.size(), k.ipos_lpos.size()) << k.file;
    for (size_t i = 0; i < r.rows.size(); ++i) {
      EXPECT_EQ(r.rows[i].ipos, k.ipos_lpos[i].first) << k.file << " ncolf " << k.ncolf;
      EXPECT_EQ(r.rows[i].lpos, k.ipos_lpos[i].second) << k.file << " ncolf " << k.ncolf;
    }
  }
  Opts o;
  o.ncolf = 5;
  CsvRead r = read_csv("a,b,c\r\n", o);
  EXPECT_EQ(r.log, fatal_line("Not enough columns in "));
}

TEST(Readcv, RowOfExactlyTheBufferSize) {
  const std::string row = std::string(BUFMAX - 2, 'x') + "\r\n";
  CsvRead r = read_csv(row + row);
  ASSERT_TRUE(r.ended);
  EXPECT_EQ(r.rows.size(), 2u);
  r = read_csv(row + "y" + row);
  EXPECT_TRUE(r.fataled);
  EXPECT_EQ(r.rows.size(), 1u);
  EXPECT_EQ(r.log, fatal_line("Bad quoting or row is too big to process in "));
}

TEST(Readcv, Utf16FilesArriveAsUtf8) {
  // a,é CR LF in little-endian UTF-16 with its mark.
  const std::string le("\xFF\xFE" "a\0,\0\xE9\0\r\0\n\0", 12);
  CsvRead r = read_csv(le);
  ASSERT_TRUE(r.ended) << r.log;
  EXPECT_EQ(texts(r), (std::vector<std::string>{"a,\xC3\xA9\r\n"}));
  EXPECT_EQ(r.enc, 2);
  EXPECT_EQ(r.saved, "\xEF\xBB\xBF");
  EXPECT_EQ(r.console, warning(" ** Warning: UTF-16LE file: r.csv"));
  const std::string be("\xFE\xFF\0a\0\n", 6);
  r = read_csv(be);
  EXPECT_EQ(texts(r), (std::vector<std::string>{"a\n"}));
  EXPECT_EQ(r.enc, 1);
  EXPECT_EQ(r.console, warning(" ** Warning: UTF-16BE file: r.csv") + unix_warning);
}

TEST(Readcv, RowsAcrossInputBlocks) {
  // UTF-16LE: the mark and 32766 characters fill the first 64 KiB block but
  // for two bytes, so a surrogate pair (U+1F600) inside a quoted column is cut
  // by the block's end.
  const auto utf16le = [](const std::string& ascii) {
    std::string units;
    for (const char ch : ascii) units += std::string(1, ch) + '\0';
    return units;
  };
  std::string text = "x,\"b";
  for (int i = 0; i < 16381; ++i) text += "a,";
  const std::string file = std::string("\xFF\xFE", 2) + utf16le(text) + "\x3D\xD8" +
                           std::string("\x00\xDE", 2) + utf16le("\",\"q\"\"r\"\r\ny,\"z\",w\r\n");
  CsvRead r = read_csv(file);
  ASSERT_TRUE(r.ended) << r.log;
  EXPECT_EQ(texts(r), (std::vector<std::string>{text + "\xF0\x9F\x98\x80\",\"q\"\"r\"\r\n",
                                                "y,\"z\",w\r\n"}));
  // UTF-8: a quoted column up to the block's end, whose CR LF is cut by it.
  const std::string row = "\"" + std::string(65533, 'c') + "\"\r\n";
  r = read_csv(row + "\"d\"\r\n");
  ASSERT_TRUE(r.ended) << r.log;
  EXPECT_EQ(texts(r), (std::vector<std::string>{row, "\"d\"\r\n"}));
}

TEST(Readcv, FuzzCorpusReadsTheSameBothWays) {
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

// Rows after a first column of 0 to 16 bytes, so that their separators,
// quotes, CRs, LFs and escape bytes fall on every place of an 8-byte word.
TEST(Readcv, QuotingBytesOnEveryPlaceOfAWordReadTheSameBothWays) {
  const std::pair<std::string, int32_t> rows[] = {
      {"a,\"b\"\"c,d\",\"\",e\r\n", -1}, {"\"ab\"c,d\r\n", -1},
      {"abcd\"e\",f\r\n", -1},           {"\"abc\"\rd\r\n", -1},
      {"\"ab\nc\r\nd\",e,\n", -1},       {"\"abcdefghij", -1},
      {"\"abc\"\r", -1},                  {"abcdefgh,ijklm\r\nq,r,s,\r\nt,u,v,", -1},
      {"ab\\,c\\\"d,\"e\\\"\\\nf\",g\\\\\r\n", '\\'},
      {"\"a\"\"b\",c\r\n", '\\'},        {"abcdefg\\", '\\'},
  };
  for (const auto& [row, esc] : rows) {
    for (int pad = 0; pad <= 16; ++pad) {
      SCOPED_TRACE(row + " after " + std::to_string(pad));
      read_csv(std::string(pad, 'x') + "," + row, {',', '"', esc, pad % 4, BUFMAX});
    }
  }
}

}  // namespace
