#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "csvfnd.h"
#include "outbuf.h"
#include "unit_helpers.h"

namespace {

struct Found {
  int32_t fndlt, lcol, iend, jcol;
  std::string fnd;  // the whole field after the call
  bool fataled = false;
  std::string log;
};

// Runs csvfnd on `row` (line end included, `term` its length) with a field
// `fnd` of the given declared length.
Found find(const std::string& row, int32_t term, int32_t icol, int32_t fndlt, std::string fnd,
           char sep = ',', char quot = '"', int32_t bufmax = 100000) {
  Found r{fndlt, 99, 99, 99, "", false, ""};
  Captured c = capture([&] {
    csvfnd(bufmax, static_cast<int32_t>(row.size()), row.data(), term, sep, quot, icol, r.fndlt,
           fnd.data(), static_cast<int32_t>(fnd.size()), r.lcol, r.iend, r.jcol);
  });
  r.fnd = fnd;
  r.fataled = c.fataled;
  r.log = c.log;
  return r;
}

class Csvfnd : public ::testing::Test {
 protected:
  void SetUp() override { cmenc.esc = -1; }
  void TearDown() override { cmenc.esc = -1; }
};

TEST_F(Csvfnd, EmptyRowHasOneEmptyColumn) {
  Found f = find("\n", 1, 1, -1, "");
  EXPECT_EQ(f.jcol, 1);
  EXPECT_EQ(f.lcol, 0);
  EXPECT_EQ(f.iend, 1);
  f = find("\r\n", 2, 1, 0, "x");
  EXPECT_EQ(f.jcol, 1);
  f = find("\"\"\n", 1, 1, 0, "x");  // an empty quoted field
  EXPECT_EQ(f.jcol, 1);
  EXPECT_EQ(f.lcol, 2);
  f = find("", 0, 1, -1, "");  // no line end at all
  EXPECT_EQ(f.jcol, 1);
  EXPECT_EQ(f.iend, 1);
}

TEST_F(Csvfnd, LocatePositionsOfEveryColumn) {
  // ab,"c,d",e with CR LF: iend is the separator after, or text length + 1.
  const std::string row = "ab,\"c,d\",e\r\n";
  struct {
    int32_t icol, jcol, lcol, iend;
  } cases[] = {{1, 1, 2, 3}, {2, 2, 5, 9}, {3, 3, 1, 11}, {0, 3, 1, 11}};
  for (auto k : cases) {
    Found f = find(row, 2, k.icol, -1, "");
    EXPECT_EQ(f.jcol, k.jcol) << k.icol;
    EXPECT_EQ(f.lcol, k.lcol) << k.icol;
    EXPECT_EQ(f.iend, k.iend) << k.icol;
  }
  // A row ending in a separator has an empty last column.
  Found f = find("a,\n", 1, 0, -1, "");
  EXPECT_EQ(f.jcol, 2);
  EXPECT_EQ(f.lcol, 0);
  EXPECT_EQ(f.iend, 3);
}

TEST_F(Csvfnd, NoColumnLeavesFieldAndLengthAlone) {
  for (int32_t fndlt : {-1, -9, 1}) {
    Found f = find("a,b\n", 1, 3, fndlt, "z");
    EXPECT_EQ(f.jcol, 0);
    EXPECT_EQ(f.lcol, -1);
    EXPECT_EQ(f.iend, -1);
    EXPECT_EQ(f.fndlt, fndlt);
    EXPECT_EQ(f.fnd, "z");
  }
}

TEST_F(Csvfnd, CompareExactAndPrefix) {
  const std::string row = "ID,Last Name ,last name,\"Last Name\",Lastname\n";
  struct {
    std::string fnd;
    int32_t icol, jcol;
  } cases[] = {
      {"Last Name", 1, 4},   // the quoted one: trailing blank and case differ before it
      {"Last*", 1, 2},       // prefix: the first column that begins with Last
      {"Last*", 3, 4},       // first match at or after icol
      {"Lastname*", 1, 5},   // prefix of its full length
      {"Lastnames*", 1, 0},  // contents shorter than the prefix
      {"*", 1, 1},           // matches any column
      {"*", 0, 5},           // only the last column is examined
      {"ID", 2, 0},          // columns before icol are not seen
      {"ID", 0, 0},
  };
  for (auto k : cases) {
    Found f = find(row, 1, k.icol, static_cast<int32_t>(k.fnd.size()), k.fnd);
    EXPECT_EQ(f.jcol, k.jcol) << k.fnd << " from " << k.icol;
  }
  // fndlt 0 matches only an empty column; the field may be longer.
  EXPECT_EQ(find("a,,b\n", 1, 1, 0, "abc").jcol, 2);
  EXPECT_EQ(find("a,\"\",b\n", 1, 1, 0, "abc").jcol, 2);
  EXPECT_EQ(find("a,b\n", 1, 1, 0, "abc").jcol, 0);
  // Only fnd(1..fndlt) counts.
  EXPECT_EQ(find("a,bc\n", 1, 1, 2, "bcd").jcol, 2);
}

TEST_F(Csvfnd, FetchUndoesQuotingAndStopsAtTheField) {
  Found f = find("x,\"a\"\"b\"\"c\",y\n", 1, 2, -9, std::string(10, '.'));
  EXPECT_EQ(f.lcol, 9);
  EXPECT_EQ(f.fndlt, 5);  // raw length - 4
  EXPECT_EQ(f.fnd, "a\"b\"c.....");

  // A quoted field holding the separator and a line end.
  f = find("\"a,\nb\",c\r\n", 2, 1, -9, std::string(8, '.'));
  EXPECT_EQ(f.fndlt, 4);
  EXPECT_EQ(f.fnd, "a,\nb....");

  // 300 contents bytes into a 256-byte field: the first 256 only.
  std::string longf;
  for (int i = 0; i < 300; ++i) longf += static_cast<char>('a' + i % 26);
  f = find("k,\"" + longf + "\"\n", 1, 2, -9, std::string(256, ' '));
  EXPECT_EQ(f.fndlt, 256);
  EXPECT_EQ(f.fnd, longf.substr(0, 256));
  // Into a 3-byte field; compare then needs the full contents.
  f = find("abcdef\n", 1, 1, -9, "...");
  EXPECT_EQ(f.fndlt, 3);
  EXPECT_EQ(f.fnd, "abc");
  EXPECT_EQ(find("abcdef\n", 1, 1, 3, "abc").jcol, 0);
}

TEST_F(Csvfnd, EscapeCharacterInForce) {
  cmenc.esc = '\\';
  // x\,y is one column; the escaped quote and escape are contents.
  const std::string row = "x\\,y,\"a\\\"b\\\\c\",\\\"q\n";
  Found f = find(row, 1, 1, -9, std::string(8, '.'));
  EXPECT_EQ(f.jcol, 1);
  EXPECT_EQ(f.lcol, 4);
  EXPECT_EQ(f.fndlt, 3);
  EXPECT_EQ(f.fnd, "x,y.....");
  f = find(row, 1, 2, -9, std::string(8, '.'));
  EXPECT_EQ(f.lcol, 9);
  EXPECT_EQ(f.fndlt, 5);
  EXPECT_EQ(f.fnd, "a\"b\\c...");
  f = find(row, 1, 3, -9, std::string(3, '.'));
  EXPECT_EQ(f.fnd, "\"q.");
  EXPECT_EQ(find(row, 1, 1, 5, "a\"b\\c").jcol, 2);
  EXPECT_EQ(find(row, 1, 1, 2, "\"*").jcol, 3);
  // An escaped line end inside the text.
  f = find("a\\\nb\n", 1, 1, -9, "....");
  EXPECT_EQ(f.fnd, "a\nb.");
}

TEST_F(Csvfnd, ArgumentErrors) {
  struct {
    std::string row;
    int32_t term, icol, fndlt, bufmax;
    std::string fnd, msg;
  } cases[] = {
      {"\n", 2, 1, -1, 100000, "", "*** csvfnd: Nonexisting line!\n"},
      {"abc\n", 1, 1, -1, 2, "", "*** csvfnd: Nonexisting line!\n"},
      {"a\n", 1, -1, -1, 100000, "", "*** csvfnd: Bad column to find!\n"},
      {"a\n", 1, 1, 4, 100000, "abc", "*** csvfnd: Bad contents to find!\n"},
      {"a\n", 1, 1, -2, 100000, "", "*** csvfnd: Bad value for fndlt!\n"},
      {"a\n", 1, 1, -8, 100000, "", "*** csvfnd: Bad value for fndlt!\n"},
  };
  for (auto& k : cases) {
    Found f = find(k.row, k.term, k.icol, k.fndlt, k.fnd, ',', '"', k.bufmax);
    EXPECT_TRUE(f.fataled) << k.msg;
    EXPECT_EQ(f.log, k.msg);
  }
  // A field of negative length cannot be: an internal error.
  Found f = find("a\n", 1, 1, -9, "");
  Captured c = capture([&] {
    csvfnd(100000, 2, "a\n", 1, ',', '"', 1, f.fndlt, nullptr, -1, f.lcol, f.iend, f.jcol);
  });
  EXPECT_TRUE(c.fataled);
  EXPECT_EQ(c.log, "*** Program error in csvfnd: negative field length!\n");
  // A row of exactly bufmax bytes of text is fine.
  EXPECT_FALSE(find("abc\n", 1, 1, -1, "", ',', '"', 3).fataled);
}

TEST_F(Csvfnd, RowsBreakingTheQuotingRulesAreProgramBugs) {
  struct {
    int32_t esc;
    std::string row, msg;
  } cases[] = {
      {-1, "a,\"bc\n", "*** Program bug 1 in csvfnd or readcv!\n"},
      {'\\', "a,bc\\\n", "*** Program bug 2 in csvfnd or readcv!\n"},
      {-1, "a,b\"c\n", "*** Program bug 3 in csvfnd or readcv!\n"},
      {'\\', "a\\,\"b\"\n", "*** Program bug 3 in csvfnd or readcv!\n"},
      {'\\', "\"a\"\"b\"\n", "*** Program bug 4 in csvfnd or readcv!\n"},
      {-1, "\"a\"b\n", "*** Program bug 5 in csvfnd or readcv!\n"},
  };
  for (auto& k : cases) {
    cmenc.esc = k.esc;
    Found f = find(k.row, 1, 0, -1, "");
    EXPECT_TRUE(f.fataled) << k.row;
    EXPECT_EQ(f.log, k.msg) << k.row;
  }
}

}  // namespace
