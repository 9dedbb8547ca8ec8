// Whole runs on a current Canvas export whose assignments use a manual
// posting policy: a "Manual Posting" row comes between the column names and
// the "Points Possible" row.  The Points Possible row is a header row: it
// gets header text 2 in the identifier column and never an identifier.
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_expect.h"
#include "e2e_harness.h"
#include "e2e_oracle.h"
#include "varlon_expect.h"

namespace {

using namespace expect;

const std::string kHead1 = "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,Quiz 1\r\n";
const std::string kManual = ",,,,,,Manual Posting\r\n";
const std::string kPoints = "    Points Possible,,,,,,42\r\n";

// A student row; `last` is the cell after Section.
std::string row(const Student& s, const std::string& last) {
  return "\"" + s.name + "\",10" + std::to_string(s.login.size()) + ",S" + s.login + "," +
         s.login + "," ROOT_HOST1 ",BIO 101," + last + "\r\n";
}

const std::vector<Student> kClass = {
    {"Abara, Chinedu", "cabara"}, {"Berg, Lina", "lberg"}, {"Costa, Rui", "rcosta"}};
const Student kJoiner = {"Dahl, Ines", "idahl"};

TEST(ManualPosting, ZembicFirstRunAndRerunHandOutOneAidPerStudent) {
  Plan p;
  const auto idorg = oracle::shuffled(p.seed, 232);
  std::string in = kHead1 + kManual + kPoints;
  for (const auto& s : kClass) in += row(s, "94");

  RunResult r1 = run_in_folder(ZEMBIC_BIN, {.args = {"-", "-", "-", "-", "-", "-", "12345"},
                                            .files = {{"zembic.csv", in}, {"zembic.cid", " 0\n    \n"}}});
  Expect e;
  start(e);
  canvas_options(e);
  class_readback(e, p);
  roster_to_shuffle(e, p, "zembic.csv");
  // The new column follows Section; the columns after it go (Canvas kill).
  std::string out = "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,AIDsort\r\n"
                    ",,,,,,\r\n"
                    "    Points Possible,,,,,,0.00\r\n";
  std::string names = lines({" AID=A00: Ideal Student (instructor email)"});
  std::vector<std::string> recs(232);
  std::vector<bool> held(232, false);
  for (size_t i = 0; i < kClass.size(); ++i) {
    const int s = idorg[i];
    held[s] = true;
    recs[s] = record(p, s, kClass[i]);
    e.both(recs[s]);
    names += recs[s] + "\n";
    out += row(kClass[i], std::to_string(s + 1));
  }
  const std::string ids =
      lines({" AID=A00:   0 Ideal Student (instructor email)"}) + sorted_records(e, p, recs, held);
  first_unused(e, p, 2);
  fresh_summary(e, 3);

  ASSERT_EQ(r1.status, 0) << r1.console;
  EXPECT_EQ(r1.file("new_zembic.csv"), out);
  EXPECT_EQ(r1.file("zembic.nam.txt"), names);
  EXPECT_EQ(r1.file("zembic.aid.txt"), ids);
  EXPECT_EQ(mask_stamp(r1.file("zembic.lcs")),
            "ccyymmdd hhmmss Limit, Used, and Seed: 232, 3, 12345\n");
  EXPECT_EQ(mask_stamp(r1.console), e.console);
  EXPECT_EQ(mask_stamp(r1.file("zembic.log")), e.log);

  // Re-run after one student joined: the 0.00 of the Points Possible row is
  // no sort number, and the joiner gets the fourth AID.
  const std::string in2 = out + row(kJoiner, "");
  RunResult r2 = run_in_folder(ZEMBIC_BIN, {.files = {{"zembic.csv", in2},
                                                      {"zembic.cid", " 0\n    \n"},
                                                      {"zembic.lcs", r1.file("zembic.lcs")}},
                                            .keyboard = "C\n"});
  ASSERT_EQ(r2.status, 0) << r2.console;
  EXPECT_EQ(r2.file("new_zembic.csv"), out + row(kJoiner, std::to_string(idorg[3] + 1)));
  EXPECT_EQ(mask_stamp(r2.file("zembic.lcs")),
            mask_stamp(r1.file("zembic.lcs")) +
                "ccyymmdd hhmmss Limit, Used, and Seed: 232, 4, 12345\n");
  EXPECT_NE(r2.console.find("Previous AID strings assigned:   3\n"), std::string::npos);
  EXPECT_NE(r2.console.find("Total student records written:   4\n"), std::string::npos);
}

// varlon on the same export: the Points Possible row gets 0.00, the Manual
// Posting row an empty cell, and only the student rows get NAIDs.
TEST(ManualPosting, VarlonFirstRunAndRerunHandOutOneNaidPerStudent) {
  vexpect::Plan p = vexpect::plan(4, "5", 31);
  std::string in = kHead1 + kManual + kPoints;
  for (const auto& s : kClass) in += row(s, "94");
  const std::map<std::string, std::string> folder = {{"varlon.csv", in}, {"varlon.cid", "4\n5\n"}};
  RunResult r1 = run_in_folder(VARLON_BIN, {.args = {"-", "-", "-", "-", "-", "-", "31"},
                                            .files = folder});
  auto front = [&](Expect& e) {
    start(e);
    canvas_options(e);
  };
  auto table = [&](Expect& e) {
    vexpect::naid_report(e, 4);
    vexpect::shuffle_table(e, p);
  };
  Expect e;
  front(e);
  vexpect::readback(e, 4, "5");
  e.both("Reading file varlon.csv");
  e.both("");
  table(e);
  std::string out = "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,NAID\r\n"
                    ",,,,,,\r\n"
                    "    Points Possible,,,,,,0.00\r\n";
  const std::string ideal = " NAID=51000: Ideal Student (instructor email)\n";
  std::string names = ideal;
  std::map<std::string, std::string> recs;
  auto pass = [&](Expect& ex, int k, const Student& s) {
    const std::string rec = vexpect::record(p, k, s.name + " (" + s.login + ROOT_DOMAIN1 + ")");
    ex.both(rec);
    names += rec + "\n";
    recs[p.at(k)] = rec;
  };
  for (int k = 0; k < 3; ++k) {
    out += row(kClass[k], "5" + p.at(k));
    pass(e, k, kClass[k]);
  }
  const std::string ids = ideal + vexpect::lists(e, p, recs, false);
  vexpect::closing(e, p, 2, 3);
  vexpect::expect_finished(r1, e, "new_varlon.csv", out, names, ids);

  // Re-run after one student joined: the 0.00 of the Points Possible row is
  // no NAID, and the joiner gets the fourth one.
  p.idused = 3;
  std::map<std::string, std::string> folder2 = folder;
  folder2["varlon.csv"] = out + row(kJoiner, "");
  folder2["varlon.lcs"] = r1.file("varlon.lcs");
  RunResult r2 = run_in_folder(VARLON_BIN, {.files = folder2, .keyboard = "C\n"});
  Expect e2;
  front(e2);
  vexpect::readback(e2, 4, "5");
  e2.both("Reading file varlon.lcs");
  const std::string lcs = r1.file("varlon.lcs");
  e2.both(mask_stamp(lcs.substr(0, lcs.size() - 1) + std::string(80 - lcs.size(), ' ')));
  vexpect::rerun_dialog(e2, "varlon.csv", 3);
  e2.both("Reading file varlon.csv");
  e2.both("");
  table(e2);
  names = ideal;
  for (int k = 0; k < 3; ++k) pass(e2, k, kClass[k]);
  pass(e2, 3, kJoiner);
  const std::string ids2 = ideal + vexpect::lists(e2, p, recs, false);
  vexpect::closing(e2, p, 3, 4);
  vexpect::expect_finished(r2, e2, "new_varlon.csv", out + row(kJoiner, "5" + p.at(3)), names,
                           ids2);
  EXPECT_EQ(mask_stamp(r2.file("varlon.lcs")),
            "ccyymmdd hhmmss Limit, Used, and Seed: 323, 3, 31\n"
            "ccyymmdd hhmmss Limit, Used, and Seed: 323, 4, 31\n");
}

// A header line 2 with an empty Student cell but no "Manual Posting" cell is
// no such row: the next row is read by the student pass as always, so its
// faults show where they always did (after the tables, the output begun).
TEST(ManualPosting, OtherExportsAreNotReadAhead) {
  const std::string in = kHead1 + ",,,,,,\r\n\"Abara, C\",1\r\n";
  RunResult r = run_in_folder(ZEMBIC_BIN, {.args = {"-", "-", "-", "-", "-", "-", "12345"},
                                           .files = {{"zembic.csv", in}, {"zembic.cid", " 0\n    \n"}}});
  EXPECT_EQ(r.status, 1);
  const size_t tables = r.console.find("Randomly resorted AID strings");
  const size_t fault = r.console.find("*** Variable number of columns in zembic.csv!");
  ASSERT_NE(fault, std::string::npos) << r.console;
  EXPECT_LT(tables, fault);
  EXPECT_TRUE(r.has("new_zembic.csv"));
}

}  // namespace
