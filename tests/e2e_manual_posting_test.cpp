// Whole runs on a current Canvas export whose assignments use a manual
// posting policy: a "Manual Posting" row comes between the column names and
// the "Points Possible" row.  The Points Possible row is a header row: it
// gets header text 2 in the identifier column and never an identifier.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_expect.h"
#include "e2e_harness.h"
#include "e2e_oracle.h"

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
  e.both("Reading file zembic.csv");
  e.both("");
  candidates(e, p.cls);
  shuffle_table(e, p);
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

}  // namespace
