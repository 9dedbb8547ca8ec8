#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_harness.h"

namespace {

const std::vector<std::string> kUsage = {
    "Usage: zembic INFILE OUTFILE POS HEADER SEP QUOT SEED",
    "       INFILE: input file (CSV file names should end in .csv or .xls)",
    "               default (or -): zembic[_?sv].{csv|xls} or zembic.txt",
    "       OUTFILE: output file (may not be the same as the input file)",
    "                default (or -): new_INFILE if INFILE has no path",
    "       POS: if CSV: column number in which to put the AID or B or C",
    "                    column number 1 puts the AID at the start",
    "                    column number 0 puts the AID at the end",
    "                    end POS with K to kill remaining columns",
    "                    default (or -): if .xls file: B: Blackboard mode",
    "                                    if .csv file: CK: Canvas mode",
    "            if not: S: puts the AID at the start of each line",
    "                    E: puts the AID at the  end  of each line",
    "                    default (or -): S",
    "       HEADER: number of header lines (0-9) followed by field content",
    "               default (or -): if CSV: 1AID* or 2AIDsort*,0.00 Canvas",
    "                                       (AIDsort puts in sort numbers)",
    "                               if not: 0",
    "       SEP: if CSV: single byte separating CSV fields (like comma)",
    "                    default (or -): if .xls file: Tab, else: comma",
    "                                    [but { ,:;Tab|} if ?={_CDSTV}]",
    "            if not: string between the AID and the rest of the line",
    "                    default (or -): \": \"",
    "            aliases: _=Space  C=,  D=:  S=;  T=Tab  V=|  H=-  N=NIL",
    "       QUOT: if CSV: single byte used to quote CSV fields",
    "                     follow QUOT with F to force quoting added fields",
    "                     default (or -): double-quote",
    "             if not: must be omitted or set to -",
    "             aliases: D=\"  S='  H=-  N=NUL",
    "       SEED: seed to use for the random number generator (if not 1)",
    "             default: 1; creates an unpredictable set of AID strings",
};

const std::string kStart = "Run date and time: ccyymmdd hhmmss.sss Shhmm\n\n";

TEST(Startup, EightArgumentsGiveTheUsageTextAlone) {
  RunResult r = run_in_folder(ZEMBIC_BIN, {.args = {"a", "b", "c", "d", "e", "f", "g", "h"}});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(mask_stamp(r.console), kStart + lines(kUsage));
  EXPECT_EQ(mask_stamp(r.file("zembic.log")), kStart + lines(kUsage));
  EXPECT_EQ(r.files.size(), 1u);  // only the log file
}

TEST(Startup, UsageTextShape) {
  ASSERT_EQ(kUsage.size(), 31u);
  EXPECT_EQ(kUsage[0].size(), 53u);
  for (size_t i = 1; i < kUsage.size(); ++i) {
    EXPECT_EQ(kUsage[i].compare(0, 7, "       "), 0) << i;
    EXPECT_NE(kUsage[i].back(), ' ') << i;
  }
}

TEST(Startup, RunStampLayout) {
  RunResult r = run_in_folder(ZEMBIC_BIN, {.args = {"1", "2", "3", "4", "5", "6", "7", "8"}});
  const std::string lead = "Run date and time: ";
  ASSERT_EQ(r.console.compare(0, lead.size(), lead), 0);
  const std::string stamp = r.console.substr(lead.size(), 25);
  EXPECT_EQ(r.console[lead.size() + 25], '\n');
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 16, 17, 18, 21, 22, 23, 24}) {
    EXPECT_TRUE(stamp[i] >= '0' && stamp[i] <= '9') << stamp << " at " << i;
  }
  EXPECT_EQ(stamp[8], ' ');
  EXPECT_EQ(stamp[15], '.');
  EXPECT_EQ(stamp[19], ' ');
  EXPECT_TRUE(stamp[20] == '+' || stamp[20] == '-');
  EXPECT_EQ(r.file("zembic.log").substr(0, lead.size() + 26), lead + stamp + "\n");
}

TEST(Startup, OldLogIsReplacedNotExtended) {
  RunResult r = run_in_folder(ZEMBIC_BIN, {.args = {"1", "2", "3", "4", "5", "6", "7", "8"},
                                           .files = {{"zembic.log", "old contents\n"}}});
  EXPECT_EQ(mask_stamp(r.file("zembic.log")), kStart + lines(kUsage));
}

TEST(Startup, LogFolderInThePlaceOfTheLogFile) {
  RunResult r = run_in_folder(ZEMBIC_BIN, {.setup = [](const std::string& dir) {
    std::string cmd = "mkdir '" + dir + "/zembic.log'";
    ASSERT_EQ(system(cmd.c_str()), 0);
  }});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.console, "\a*** Unable to replace old file zembic.log!\n");
}

}  // namespace
