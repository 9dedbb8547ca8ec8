// Whole runs that end with few or no positions left, header-only and empty
// rosters, and a 3-character class ID.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_expect.h"
#include "e2e_harness.h"
#include "e2e_oracle.h"

namespace {

using namespace expect;
using oracle::rjust;

// A plain CSV roster "class.csv" (POS 0: the AID becomes the last column),
// a Class ID file and a restart record "New: 232, <used>, <seed>".
struct CsvRun {
  Plan p;
  std::vector<std::string> rows;  // student rows without line end
  RunResult result;
  Expect e;
  std::string roster, names, ids;
  std::vector<bool> held = std::vector<bool>(232, false);
  int idpos = 0;

  void run() {
    std::string in = "Name,Login\r\n";
    for (const auto& r : rows) in += r + "\r\n";
    const std::string cidfile = rjust(p.cls, 2) + "\n" + p.cid + std::string(4 - p.cid.size(), ' ') + "\n";
    const std::string restart = "New: 232, " + std::to_string(p.idused) + ", " + std::to_string(p.seed);
    result = run_in_folder(ZEMBIC_BIN, {.args = {"class.csv", "-", "0"},
                                        .files = {{"class.csv", in},
                                                  {"zembic.cid", cidfile},
                                                  {"zembic.lcs", restart + "\n"}}});
    const auto idorg = oracle::shuffled(p.seed, 232);
    const auto aids = oracle::aids(p.cls);
    start(e);
    e.both("");  // end of the option phases
    class_readback(e, p);
    e.both("Reading file zembic.lcs");
    e.both(restart + std::string(79 - restart.size(), ' '));
    e.both("");
    roster_to_shuffle(e, p, "class.csv");
    roster = "Name,Login,AID\r\n";
    std::vector<std::string> recs(232);
    for (size_t i = 0; i < rows.size(); ++i) {
      const int s = idorg[p.idused + i];
      held[s] = true;
      recs[s] = " AID=" + p.cid + aids[s] + ": " + rows[i];
      roster += rows[i] + "," + p.cid + aids[s] + "\r\n";
      e.both(recs[s].substr(0, 79));
      names += recs[s] + "\n";
    }
    ids = sorted_records(e, p, recs, held);
    idpos = p.idused + static_cast<int>(rows.size()) - 1;
    first_unused(e, p, idpos);
    fresh_summary(e, static_cast<int>(rows.size()));
  }

  void check_all() const {
    ASSERT_EQ(result.status, 0) << result.console;
    EXPECT_EQ(mask_stamp(result.console), e.console);
    EXPECT_EQ(mask_stamp(result.file("zembic.log")), e.log);
    EXPECT_EQ(result.file("new_class.csv"), roster);
    EXPECT_EQ(result.file("zembic.nam.txt"), names);
    EXPECT_EQ(result.file("zembic.aid.txt"), ids);
    EXPECT_EQ(result.file("zembic.htm"), web_page(p, held));
    EXPECT_EQ(result.file("zembic.srt.txt"), text_table(p, held));
    EXPECT_EQ(mask_stamp(result.file("zembic.lcs")),
              "New: 232, " + std::to_string(p.idused) + ", " + std::to_string(p.seed) + "\n" +
                  "ccyymmdd hhmmss Limit, Used, and Seed: 232, " + std::to_string(idpos + 1) +
                  ", " + std::to_string(p.seed) + "\n");
  }
};

std::vector<std::string> students(int n) {
  std::vector<std::string> v;
  for (int i = 0; i < n; ++i) v.push_back("Student " + std::to_string(i + 1) + ",s" + std::to_string(100 + i));
  return v;
}

TEST(WholeRunClosing, FivePositionsLeftGiveOneRowOfFive) {
  CsvRun c;
  c.p.idused = 225;
  c.rows = students(2);
  c.run();
  c.check_all();
  EXPECT_NE(c.result.console.find("First few still unused AID strings preceded by sort numbers:\n"
                                  "Num:"),
            std::string::npos);
}

TEST(WholeRunClosing, FifteenPositionsLeftGiveRowsOfTenAndFive) {
  CsvRun c;
  c.p.idused = 215;
  c.p.seed = -5;
  c.rows = students(2);
  c.run();
  c.check_all();
}

TEST(WholeRunClosing, AllPositionsUsedLeaveTheTableEmpty) {
  CsvRun c;
  c.p.idused = 229;
  c.p.seed = 0;
  c.rows = students(3);
  c.run();
  c.check_all();
  EXPECT_NE(c.result.console.find("First few still unused AID strings preceded by sort numbers:\n\n"),
            std::string::npos);
}

TEST(WholeRunClosing, RecordCountingMoreThanTheCandidatesLeavesTheTableEmpty) {
  CsvRun c;
  c.p.idused = 300;  // a header-only roster: no new position is needed
  c.run();
  const std::string heading = "First few still unused AID strings preceded by sort numbers:\n";
  const std::string warning = " ** WARNING: Input file has a header only: class.csv\n\n";
  EXPECT_EQ(c.result.status, 0);
  EXPECT_NE(c.result.console.find(heading + "\n" + warning), std::string::npos);
  EXPECT_NE(c.result.file("zembic.log").find(heading + kDash79 + "\n\n" + warning),
            std::string::npos);
}

// The web page shows "&", "<" and ">" of a class ID as entities; the text
// table keeps it as typed.
TEST(WholeRunClosing, SeventeenStudentsWithAThreeCharacterClassId) {
  for (const auto& [cid, cell] : {std::pair{"ab3", "<td>ab3"},
                                  {"<b1", "<td>&lt;b1"},
                                  {"a>1", "<td>a&gt;1"},
                                  {"&lt", "<td>&amp;lt"}}) {
    SCOPED_TRACE(cid);
    CsvRun c;
    c.p.cls = 7;
    c.p.cid = cid;
    c.rows = students(17);
    c.run();
    c.check_all();
    const std::string& htm = c.result.file("zembic.htm");
    const std::string& srt = c.result.file("zembic.srt.txt");
    const std::string entry = std::string(" ") + cid;
    int cells = 0, entries = 0;
    for (size_t p = htm.find(cell); p != std::string::npos; p = htm.find(cell, p + 1)) ++cells;
    for (size_t p = srt.find(entry); p != std::string::npos; p = srt.find(entry, p + 1)) ++entries;
    EXPECT_EQ(cells, 17);
    EXPECT_EQ(entries, 17);
    EXPECT_NE(htm.find("<td>______</td>"), std::string::npos);
  }
}

TEST(WholeRunClosing, CanvasHeaderOnly) {
  Plan p;
  const std::string in =
      "Student,ID,SIS Login ID,Root Account,Section\r\n    Points Possible,,,,\r\n";
  RunResult r = run_in_folder(ZEMBIC_BIN, {.args = {"-", "-", "-", "-", "-", "-", "12345"},
                                           .files = {{"zembic.csv", in}, {"zembic.cid", " 0\n    \n"}}});
  Expect e;
  start(e);
  canvas_options(e);
  class_readback(e, p);
  roster_to_shuffle(e, p, "zembic.csv");
  no_student_end(e, p, " ** WARNING: Input file has a header only: zembic.csv");
  ASSERT_EQ(r.status, 0) << r.console;
  EXPECT_EQ(mask_stamp(r.console), e.console);
  EXPECT_EQ(mask_stamp(r.file("zembic.log")), e.log);
  EXPECT_EQ(r.file("new_zembic.csv"),
            "Student,ID,SIS Login ID,Root Account,Section,AIDsort\r\n    Points Possible,,,,,0.00\r\n");
  EXPECT_EQ(r.file("zembic.nam.txt"), " AID=A00: Ideal Student (instructor email)\n");
  EXPECT_EQ(r.file("zembic.aid.txt"), " AID=A00:   0 Ideal Student (instructor email)\n");
  EXPECT_EQ(mask_stamp(r.file("zembic.lcs")), "ccyymmdd hhmmss Limit, Used, and Seed: 232, 0, 12345\n");
}

// A plain text roster that is one header line without a line end.
TEST(WholeRunClosing, PlainTextHeaderOnlyWithoutLineEnd) {
  RunResult r = run_in_folder(ZEMBIC_BIN, {.args = {"-", "-", "-", "1X", "-", "-", "12345"},
                                           .files = {{"zembic.txt", "Title"}, {"zembic.cid", " 0\n    \n"}}});
  ASSERT_EQ(r.status, 0) << r.console;
  EXPECT_EQ(r.file("new_zembic.txt"), "X: Title");
  EXPECT_NE(r.console.find(" ** WARNING: Input file has a header only: zembic.txt\n\n"),
            std::string::npos);
}

TEST(WholeRunClosing, EmptyPlainTextRoster) {
  Plan p;
  p.cid = "k";
  RunResult r = run_in_folder(ZEMBIC_BIN, {.args = {"-", "-", "-", "-", "-", "-", "12345"},
                                           .files = {{"zembic.txt", ""}, {"zembic.cid", " 0\nk   \n"}}});
  Expect e;
  start(e);
  e.both("");
  class_readback(e, p);
  roster_to_shuffle(e, p, "zembic.txt");
  no_student_end(e, p, " ** WARNING: Input file is empty: zembic.txt");
  ASSERT_EQ(r.status, 0) << r.console;
  EXPECT_EQ(mask_stamp(r.console), e.console);
  EXPECT_EQ(mask_stamp(r.file("zembic.log")), e.log);
  EXPECT_EQ(r.file("new_zembic.txt"), "");
  EXPECT_EQ(r.file("zembic.nam.txt"), "");
  EXPECT_EQ(r.file("zembic.aid.txt"), "");
}

}  // namespace
