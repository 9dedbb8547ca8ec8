#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "outbuf.h"
#include "phase_run.h"
#include "unit_helpers.h"
#include "zembic.h"

namespace {

using Args = std::vector<std::string>;

const std::string kCanvas = " ** WARNING: Expecting a Canvas CSV file as this program knows it.\n";
const std::string kBlackboard =
    " ** WARNING: Expecting a Blackboard XLS file as this program knows it.\n";
const std::string kOff = " ** WARNING: CSV mode turned off.\n";
const std::string kOn = " ** WARNING: CSV mode turned on.\n";
const std::string kKillOff = " ** WARNING: Unsupported kill turned off.\n";

ProgramDesc varlon_like() {
  ProgramDesc v = zembic_desc;
  v.name = "varlon";
  v.hdr_bb = "1NAID*";
  v.hdr_canvas = "2NAID*,0.00";
  v.hdr_csv = "1NAID*";
  v.sort = {};
  return v;
}

TEST(Fold, UpperCaseAndAliasesByArgument) {
  RunState& r = state_with_args(
      {"a.csv", "b.csv", "ck", "1aid*,x", "_cdpstvhnxq", "dsnfbhxq", "seed"});
  capture([&] { phase_fold(r, zembic_desc); });
  EXPECT_EQ(slot(r, 1), "a.csv");
  EXPECT_EQ(slot(r, 2), "b.csv");
  EXPECT_EQ(slot(r, 3), "CK");
  EXPECT_EQ(slot(r, 4), "1aid*,x");
  EXPECT_EQ(slot(r, 5), std::string(" ,:|;\t|HNXQ"));
  EXPECT_EQ(slot(r, 6), std::string("\"'\0FBHXQ", 8));
  EXPECT_EQ(slot(r, 7), "SEED");
}

struct ModeCase {
  Args args;
  int32_t ftype, csv, bb, canvas, kill, ncolf;
  std::string out;  // console and log
};

TEST(Modes, PosAndInputName) {
  const ModeCase cases[] = {
      {{"a.csv"}, 2, 1, 0, 1, 1, 3, kCanvas},
      {{"a.XLS"}, 1, 1, 1, 0, 0, 4, kBlackboard},
      {{"a.txt"}, 0, 0, 0, 0, 0, -1, ""},
      {{"data.CSV", "-", "5"}, 2, 1, 0, 0, 0, 5, ""},
      {{".csv", "-", "2"}, 2, 1, 0, 0, 0, 2, ""},
      {{"csv", "-", "2"}, 0, 1, 0, 0, 0, 2, kOn},
      {{"a.csvx", "-", "2"}, 0, 1, 0, 0, 0, 2, kOn},
      {{"a.csv", "-", "s"}, 2, 0, 0, 0, 0, -1, kOff},
      {{"a.xls", "-", "e"}, 1, 0, 0, 0, 0, -2, kOff},
      {{"a.csv", "-", "ck"}, 2, 1, 0, 1, 1, 3, kCanvas},
      {{"a.csv", "-", "c"}, 2, 1, 0, 1, 0, 3, kCanvas},
      {{"a.xls", "-", "bk"}, 1, 1, 1, 0, 1, 4, kBlackboard},
      {{"a.csv", "-", "0k"}, 2, 1, 0, 0, 0, 0, kKillOff},
      {{"a.csv", "-", "1K"}, 2, 1, 0, 0, 0, 1, kKillOff},
      {{"a.csv", "-", "2k"}, 2, 1, 0, 0, 1, 2, ""},
      {{"a.txt", "-", "0k"}, 0, 1, 0, 0, 0, 0, kOn + kKillOff},
      {{"a.csv", "-", "1234567899"}, 2, 1, 0, 0, 0, 1234567899, ""},
      {{"a.csv", "-", "0001234567899k"}, 2, 1, 0, 0, 1, 1234567899, ""},
  };
  for (const ModeCase& c : cases) {
    RunState& r = state_with_args(c.args);
    Captured out = capture([&] {
      phase_fold(r, zembic_desc);
      phase_modes(r, zembic_desc);
    });
    const std::string what = c.args.size() > 2 ? c.args[0] + " " + c.args[2] : c.args[0];
    EXPECT_FALSE(out.fataled) << what;
    EXPECT_EQ(r.ftype, c.ftype) << what;
    EXPECT_EQ(r.csv, c.csv) << what;
    EXPECT_EQ(r.bb, c.bb) << what;
    EXPECT_EQ(r.canvas, c.canvas) << what;
    EXPECT_EQ(r.kill, c.kill) << what;
    EXPECT_EQ(r.ncolf, c.ncolf) << what;
    EXPECT_EQ(out.console, c.out) << what;
    EXPECT_EQ(out.log, c.out) << what;
  }
}

struct HeaderCase {
  Args args;
  std::vector<std::string> texts;
  int32_t star, dosort;
  bool varlon = false;
};

TEST(Header, CountTextsStarAndSort) {
  const HeaderCase cases[] = {
      {{"a.csv"}, {"AIDsort", "0.00"}, 1, 1},
      {{"a.xls"}, {"AID"}, 1, 0},
      {{"a.csv", "-", "3"}, {"AID"}, 1, 0},
      {{"a.txt"}, {}, 0, 0},
      {{"a.txt", "-", "-", "0,x"}, {}, 0, 0},
      {{"a.csv", "-", "2", "1aidsort"}, {"aidsort"}, 0, 0},
      {{"a.csv", "-", "2", "1AIDsort"}, {"AIDsort"}, 0, 1},
      {{"a.csv", "-", "2", "1AIDsort**"}, {"AIDsort*"}, 1, 0},
      {{"a.csv", "-", "2", "1 AIDsort"}, {" AIDsort"}, 0, 0},
      {{"a.csv", "-", "2", "3ID,,Points"}, {"ID", "", "Points"}, 0, 0},
      {{"a.csv", "-", "2", "3A*,"}, {"A", "", ""}, 1, 0},
      {{"a.csv", "-", "2", "2A,B,C"}, {"A", "B"}, 0, 0},
      {{"a.csv", "-", "2", "2Sort*,x*"}, {"Sort", "x*"}, 1, 0},
      {{"a.txt", "-", "e", "2Id,-"}, {"Id", "-"}, 0, 0},
      {{"a.csv", "-", "2", "9a,b,c,d,e,f,g,h,i,j"}, {"a", "b", "c", "d", "e", "f", "g", "h", "i"},
       0, 0},
      // The other program: its own defaults and no sort mode.
      {{"a.csv"}, {"NAID", "0.00"}, 1, 0, true},
      {{"a.csv", "-", "2"}, {"NAID"}, 1, 0, true},
      {{"a.txt"}, {}, 0, 0, true},
      {{"a.txt", "-", "-", "1AIDsort"}, {"AIDsort"}, 0, 0, true},
  };
  const ProgramDesc varlon = varlon_like();
  for (const HeaderCase& c : cases) {
    const ProgramDesc& d = c.varlon ? varlon : zembic_desc;
    RunState& r = state_with_args(c.args, d);
    Captured out = capture([&] {
      phase_fold(r, d);
      phase_modes(r, d);
      phase_header(r, d);
    });
    const std::string what = (c.args.size() > 3 ? c.args[3] : c.args[0]) +
                             (c.varlon ? " (varlon)" : "");
    ASSERT_FALSE(out.fataled) << what;
    ASSERT_EQ(r.nhead, static_cast<int32_t>(c.texts.size())) << what;
    for (int i = 1; i <= r.nhead; ++i) EXPECT_EQ(header_text(r, i), c.texts[i - 1]) << what;
    EXPECT_EQ(r.star, c.star) << what;
    EXPECT_EQ(r.dosort, c.dosort) << what;
  }
}

TEST(Header, OffsetsCountBytesBeforeEachText) {
  RunState& r = state_with_args({"a.csv"});
  capture([&] { option_phases(r); });
  EXPECT_EQ(slot(r, 4), "2AIDsort*,0.00");
  EXPECT_EQ(r.hnamof[0], 1);
  EXPECT_EQ(r.hnamlt[0], 7);
  EXPECT_EQ(r.hnamof[1], 10);
  EXPECT_EQ(r.hnamlt[1], 4);
}

struct SepQuotCase {
  Args args;
  std::string sep, quot;
  int32_t esc, doquot;
};

TEST(SepQuot, SeparatorQuoteAndEscape) {
  const SepQuotCase cases[] = {
      {{"a.csv", "-", "2"}, ",", "\"", -1, 0},
      {{"a.xls"}, "\t", "\"", -1, 1},
      {{"a.xls", "-", "-", "-", "-", "d"}, "\t", "\"", -1, 0},
      {{"a.txt"}, ": ", "-", -1, 0},
      {{"a.txt", "-", "-", "-", "n"}, "", "-", -1, 0},
      {{"a.txt", "-", "-", "-", "h"}, "-", "-", -1, 0},
      {{"a.txt", "-", "-", "-", "=>"}, "=>", "-", -1, 0},
      {{"a.txt", "-", "-", "-", "_ab_"}, " AB ", "-", -1, 0},
      // The input's name names the default separator.
      {{"roster_ssv.csv"}, ";", "\"", -1, 0},
      {{"roster_xsv.csv"}, ",", "\"", -1, 0},
      {{"roster_tsv.txt", "-", "2"}, "\t", "\"", -1, 0},
      {{"r_PSV.CSV", "-", "2"}, "|", "\"", -1, 0},
      {{"r__sv.csv", "-", "2"}, " ", "\"", -1, 0},
      {{"r_Dsv.xls"}, ":", "\"", -1, 1},
      {{"r_csv.xls", "-", "3"}, ",", "\"", -1, 0},
      {{"_ssv.csv", "-", "2"}, ";", "\"", -1, 0},
      {{"ssv.csv", "-", "2"}, ",", "\"", -1, 0},
      {{"r_ssv.csv", "-", "2", "-", "c"}, ",", "\"", -1, 0},
      {{"r_ssv.txt"}, ": ", "-", -1, 0},
      // Separator aliases.
      {{"a.csv", "-", "2", "-", "t"}, "\t", "\"", -1, 0},
      {{"a.csv", "-", "2", "-", "h"}, "-", "\"", -1, 0},
      {{"a.csv", "-", "2", "-", "_"}, " ", "\"", -1, 0},
      // Quote aliases and suffixes.
      {{"a.csv", "-", "2", "-", "-", "n"}, ",", std::string(1, '\0'), -1, 0},
      {{"a.csv", "-", "2", "-", "-", "h"}, ",", "-", -1, 0},
      {{"a.csv", "-", "2", "-", "-", "b"}, ",", "B", -1, 0},
      {{"a.csv", "-", "2", "-", "-", "df"}, ",", "\"", -1, 1},
      {{"a.csv", "-", "2", "-", "-", "db"}, ",", "\"", 92, 0},
      {{"a.csv", "-", "2", "-", "-", "dfb"}, ",", "\"", 92, 1},
      {{"a.csv", "-", "2", "-", "-", "hfB"}, ",", "-", 92, 1},
      {{"a.csv", "-", "2", "-", "-", "ff"}, ",", "F", -1, 1},
  };
  for (const SepQuotCase& c : cases) {
    RunState& r = state_with_args(c.args);
    Captured front = capture([&] {
      phase_fold(r, zembic_desc);
      phase_modes(r, zembic_desc);
      phase_header(r, zembic_desc);
    });
    Captured out = capture([&] { phase_sepquot(r, zembic_desc); });
    std::string what = c.args[0];
    for (size_t i = 4; i < c.args.size(); ++i) what += " " + c.args[i];
    ASSERT_FALSE(front.fataled || out.fataled) << what;
    EXPECT_EQ(slot(r, 5), c.sep) << what;
    EXPECT_EQ(slot(r, 6), c.quot) << what;
    EXPECT_EQ(cmenc.esc, c.esc) << what;
    EXPECT_EQ(r.doquot, c.doquot) << what;
    EXPECT_EQ(out.console, "\n") << what;  // the empty line that ends the phase
    EXPECT_EQ(out.log, "\n") << what;
  }
}

TEST(SepQuot, LineEndBytesAreNotSeparatorsOrQuotes) {
  struct Case {
    int pos;
    char byte;
    std::string message;
  };
  const Case cases[] = {
      {5, '\n', "The CSV separator cannot be LF"},
      {5, '\r', "The CSV separator cannot be CR"},
      {6, '\n', "The CSV quote character cannot be LF"},
      {6, '\r', "The CSV quote character cannot be CR"},
  };
  for (const Case& c : cases) {
    RunState& r = state_with_args({"a.csv", "-", "2", "-", "x", "y"});
    Captured out = capture([&] {
      phase_fold(r, zembic_desc);
      r.argt[c.pos - 1][0] = c.byte;
      phase_modes(r, zembic_desc);
      phase_header(r, zembic_desc);
      phase_sepquot(r, zembic_desc);
    });
    EXPECT_TRUE(out.fataled) << c.message;
    EXPECT_EQ(out.console, "\a*** " + c.message + "!\n");
    EXPECT_EQ(out.log, "*** " + c.message + "!\n");
  }
}

TEST(Seed, GivenAsAnInteger) {
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"-", 1},          {"42", 42},      {" 42", 42},     {"+5", 5},
      {"-7", -7},        {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},   {"42 abc", 42},  {"42,x", 42},
      {"42/", 42},       {"3*9", 9},      {"007", 7},
  };
  for (const auto& [text, seed] : cases) {
    RunState& r = state_with_args({"a.csv", "-", "2", "-", "-", "-", text});
    r.seed = 99;
    Captured out = capture([&] { option_phases(r); });
    EXPECT_FALSE(out.fataled) << text;
    EXPECT_EQ(r.seed, seed) << text;
  }
  RunState& r = state_with_args({"a.csv", "-", "2"});
  r.seed = 99;
  capture([&] { option_phases(r); });
  EXPECT_EQ(r.seed, 1);
}

}  // namespace
