#include <cctype>
#include <cstring>
#include <ostream>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "output_layout.h"
#include "outbuf.h"
#include "unit_helpers.h"

namespace {

RunState st;  // large: static storage

// Sets up a line of the input and the options that shape the output.
struct LineSetup {
  std::string line;
  int32_t term = 1;
  bool csv = true;
  int32_t ncolf = 0;
  int32_t ipos = 0;
  bool kill = false;
  bool doquot = false;
  std::string sep = ",";
  char quot = '"';
};

RunState& prepare(const LineSetup& s) {
  st.csv = s.csv ? 1 : 0;
  st.ncolf = s.ncolf;
  st.ipos = s.ipos;
  st.kill = s.kill ? 1 : 0;
  st.doquot = s.doquot ? 1 : 0;
  std::memset(st.argt[4], ' ', FLDMAX);
  std::memcpy(st.argt[4], s.sep.data(), s.sep.size());
  st.argtl[4] = static_cast<int32_t>(s.sep.size());
  st.argt[5][0] = s.quot;
  st.argtl[5] = 1;
  std::memcpy(st.bufchr, s.line.data(), s.line.size());
  st.nbuf = static_cast<int32_t>(s.line.size());
  st.term = s.term;
  cmsav.nsav = 0;
  return st;
}

std::string saved() { return std::string(cmsav.savchr, cmsav.nsav); }

struct InsertCase {
  const char* what;
  LineSetup setup;
  std::string value;
  std::string expected;
};

// ctest shows each case by its description, not as a memory dump.
void PrintTo(const InsertCase& c, std::ostream* os) { *os << c.what; }

// The description as a test name: letters and digits, words joined by '_'.
std::string case_name(const ::testing::TestParamInfo<InsertCase>& info) {
  std::string name;
  for (const char* p = info.param.what; *p != '\0'; ++p) {
    if (std::isalnum(static_cast<unsigned char>(*p)) != 0) {
      name += *p;
    } else if (!name.empty() && name.back() != '_') {
      name += '_';
    }
  }
  while (!name.empty() && name.back() == '_') name.pop_back();
  return name;
}

class InsertValue : public ::testing::TestWithParam<InsertCase> {};

TEST_P(InsertValue, BuildsTheOutputLine) {
  const InsertCase& c = GetParam();
  RunState& r = prepare(c.setup);
  insert_value(r, c.value.data(), static_cast<int32_t>(c.value.size()));
  EXPECT_EQ(saved(), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, InsertValue,
    ::testing::Values(
        InsertCase{"csv column 1 keeps the CR LF",
                   {.line = "a,b,c\r\n", .term = 2, .ncolf = 1, .ipos = 0},
                   "AID",
                   "AID,a,b,c\r\n"},
        InsertCase{"csv column 1 ignores kill",
                   {.line = "a,b,c\n", .ncolf = 1, .ipos = 0, .kill = true},
                   "AID",
                   "AID,a,b,c\n"},
        InsertCase{"csv after the last column",
                   {.line = "a,b,c\r\n", .term = 2, .ncolf = 0, .ipos = 5},
                   "AID",
                   "a,b,c,AID\r\n"},
        InsertCase{"csv middle column moves the rest right",
                   {.line = "a,b,c\n", .ncolf = 2, .ipos = 1},
                   "AID",
                   "a,AID,b,c\n"},
        InsertCase{"csv 2K drops the later columns",
                   {.line = "a,b,c\n", .ncolf = 2, .ipos = 1, .kill = true},
                   "AID",
                   "a,AID\n"},
        InsertCase{"csv last row without line end",
                   {.line = "a,b,c", .term = 0, .ncolf = 4, .ipos = 5},
                   "AID",
                   "a,b,c,AID"},
        InsertCase{"forced quoting, quote byte in the value doubled",
                   {.line = "a\tb\n", .ncolf = 2, .ipos = 1, .doquot = true, .sep = "\t"},
                   "A\"B",
                   "a\t\"A\"\"B\"\tb\n"},
        InsertCase{"a value holding the separator is quoted",
                   {.line = "a;b\n", .ncolf = 2, .ipos = 1, .sep = ";"},
                   "x;7",
                   "a;\"x;7\";b\n"},
        InsertCase{"a value holding the quote byte is quoted, the byte doubled",
                   {.line = "a,b\n", .ncolf = 1, .quot = '\''},
                   "x'7",
                   "'x''7',a,b\n"},
        InsertCase{"a value holding a line end is quoted",
                   {.line = "a,b", .term = 0, .ncolf = 0, .ipos = 3},
                   "x\r\n",
                   "a,b,\"x\r\n\""},
        InsertCase{"a comma needs no quotes when the separator is ;",
                   {.line = "a,b\n", .ncolf = 2, .ipos = 1, .sep = ";"},
                   "x,7",
                   "a;x,7,b\n"},
        InsertCase{"no quote character: the value goes as it is",
                   {.line = "a,b\n", .ncolf = 2, .ipos = 1, .quot = '\0'},
                   "x,7",
                   "a,x,7,b\n"},
        InsertCase{"forced quoting at column 1",
                   {.line = "a;b\n", .ncolf = 1, .doquot = true, .sep = ";", .quot = '\''},
                   "AID",
                   "'AID';a;b\n"},
        InsertCase{"empty header text gives an empty quoted cell",
                   {.line = "x,y\n", .ncolf = 2, .ipos = 1, .doquot = true},
                   "",
                   "x,\"\",y\n"},
        InsertCase{"canvas header line 1",
                   {.line = "Student,ID,Section,Notes,Quiz 1\r\n", .term = 2, .ncolf = 5,
                    .ipos = 24, .kill = true},
                   "AIDsort",
                   "Student,ID,Section,Notes,AIDsort\r\n"},
        InsertCase{"canvas header line 2",
                   {.line = "Points Possible,,,,10.00\r\n", .term = 2, .ncolf = 5, .ipos = 18,
                    .kill = true},
                   "0.00",
                   "Points Possible,,,,0.00\r\n"},
        InsertCase{"text at the start",
                   {.line = "Name\n", .csv = false, .ncolf = -1, .sep = ": "},
                   "AID",
                   "AID: Name\n"},
        InsertCase{"text at the end, CR LF",
                   {.line = "Name\r\n", .term = 2, .csv = false, .ncolf = -2, .sep = ": "},
                   "AID",
                   "Name: AID\r\n"},
        InsertCase{"text at the end of a last line without line end",
                   {.line = "Ann Lee", .term = 0, .csv = false, .ncolf = -2, .sep = ": "},
                   "xB5P",
                   "Ann Lee: xB5P"},
        InsertCase{"text without separator, never quoted",
                   {.line = "Name\n", .csv = false, .ncolf = -1, .doquot = true, .sep = ""},
                   "AID",
                   "AIDName\n"},
        InsertCase{"text empty line",
                   {.line = "\n", .csv = false, .ncolf = -2, .sep = ": "},
                   "B5P",
                   ": B5P\n"}),
    case_name);

TEST(OutputLayout, AppendsAfterWhatTheReaderPutFirst) {
  RunState& r = prepare({.line = "Name,Mail\n", .ncolf = 0, .ipos = 9});
  savbuf(3, "\xEF\xBB\xBF");
  savbuf(6, "sep=,\n");
  insert_value(r, "AID", 3);
  EXPECT_EQ(saved(), "\xEF\xBB\xBFsep=,\nName,Mail,AID\n");
}

TEST(OutputLayout, CopyRerun) {
  // The identifier column is column 3; position 8 is the separator after it.
  RunState& r = prepare({.line = "a,b,AID,c,d\r\n", .term = 2, .ncolf = 3});
  copy_rerun(r, 8);
  EXPECT_EQ(saved(), "a,b,AID,c,d\r\n");

  prepare({.line = "a,b,AID,c,d\r\n", .term = 2, .ncolf = 3, .kill = true});
  copy_rerun(r, 8);
  EXPECT_EQ(saved(), "a,b,AID\r\n");

  // Identifier column last: iend is the first line-end byte.
  prepare({.line = "a,b,AID", .term = 0, .ncolf = 3, .kill = true});
  copy_rerun(r, 8);
  EXPECT_EQ(saved(), "a,b,AID");

  prepare({.line = "AID: Name\n", .csv = false, .ncolf = -1, .sep = ": "});
  copy_rerun(r, 1);
  EXPECT_EQ(saved(), "AID: Name\n");
}

TEST(OutputLayout, ReplaceCell) {
  struct Case {
    LineSetup setup;
    int32_t iend, lcol;
    std::string expected;
  } cases[] = {
      {{.line = "a,,c\n", .ncolf = 2}, 3, 0, "a,xB5P,c\n"},
      {{.line = "a,,c\n", .ncolf = 2, .kill = true}, 3, 0, "a,xB5P\n"},
      {{.line = "a, ,c\r\n", .term = 2, .ncolf = 2}, 4, 1, "a,xB5P,c\r\n"},
      {{.line = ",b\n", .ncolf = 1}, 1, 0, "xB5P,b\n"},
      {{.line = "a,b,\r\n", .term = 2, .ncolf = 3}, 5, 0, "a,b,xB5P\r\n"},
      {{.line = "a,\"\",c\n", .ncolf = 2, .doquot = true}, 5, 2, "a,\"xB5P\",c\n"},
  };
  for (const Case& c : cases) {
    RunState& r = prepare(c.setup);
    replace_cell(r, c.iend, c.lcol, "xB5P", 4);
    EXPECT_EQ(saved(), c.expected) << c.setup.line;
  }
}

TEST(OutputLayout, PositionsOutsideTheLineAreProgramErrors) {
  const std::function<void(RunState&)> faults[] = {
      [](RunState& r) { insert_value(r, "X", 1); },  // ipos past the text
      [](RunState& r) { r.ipos = -7, insert_value(r, "X", 1); },
      [](RunState& r) { r.kill = 1, copy_rerun(r, 900); },
      [](RunState& r) { r.kill = 1, replace_cell(r, -3, 50, "X", 1); },
      [](RunState& r) { r.kill = 1, replace_cell(r, 3, 5, "X", 1); },  // cell before the line
      [](RunState& r) { r.term = 9, insert_value(r, "X", 1); },
      [](RunState& r) { r.nbuf = -1, insert_value(r, "X", 1); },
  };
  for (const auto& fault : faults) {
    RunState& r = prepare({.line = "a,b\n", .ncolf = 2, .ipos = 500});
    const Captured c = capture([&] { fault(r); });
    EXPECT_TRUE(c.fataled);
    EXPECT_EQ(c.console, "\a*** Program error in output_layout!\n");
  }
  cmsav.nsav = 0;
}

}  // namespace
