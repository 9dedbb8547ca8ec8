// Whole runs of zembic, compared byte for byte (run stamp masked, fixed seed).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_harness.h"
#include "e2e_expect.h"
#include "e2e_oracle.h"

namespace {

using namespace expect;
using oracle::rjust;

const std::string kHead1 =
    "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,Notes,Quiz 1 (48213)\r\n";
const std::string kHead2 = "    Points Possible,,,,,,,10.00\r\n";
const std::string kOutHead1 =
    "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,Notes,AIDsort\r\n";
const std::string kOutHead2 = "    Points Possible,,,,,,,0.00\r\n";

std::string quoted(const std::string& s) {
  return s.find(',') == std::string::npos ? s : "\"" + s + "\"";
}

std::string canvas_row(const Student& s, const std::string& notes, const std::string& tail) {
  return quoted(s.name) + ",1" + std::to_string(s.login.size()) + ",S" + s.login + "," + s.login +
         "," ROOT_HOST1 ",MATH 101," + notes + "," + tail + "\r\n";
}

const std::vector<Student> kClass = {
    {"Abbott, Grace", "gabbott"}, {"Álvarez, Diego", "dalvarez"}, {"Chen, Mei", "mchen"},
    {"Dubois, Élodie", "edubois"}, {"Müller, Jürgen", "jmuller"}, {"O'Connor, Siobhan", "soc"},
    {"Ødegaard, Åsa", "aodegaard"}};

const std::vector<Student> kJoiners = {
    {"Patel, Riya", "rpatel"}, {"Quinn, Harper", "hquinn"}, {"Rossi, Giulia", "grossi"}};

// Expected output of a fresh run over `cls` students (after what earlier
// parts of `e` hold), returning the output roster.
struct Outcome {
  std::string roster, names, ids;
  std::vector<bool> held = std::vector<bool>(232, false);
};

std::string notes_text(const Plan& p, int s) {
  const std::string sort = std::to_string(s + 1);
  return oracle::aids(p.cls)[s] + " " + std::string(3 - sort.size(), '0') + sort;
}

TEST(WholeRun, CanvasRoadOfOneRunThenARerunAfterThreeStudentsJoin) {
  Plan p;
  p.cls = 0;
  p.cid = "x7";
  const auto idorg = oracle::shuffled(p.seed, 232);

  std::string in = kHead1 + kHead2;
  for (const auto& s : kClass) in += canvas_row(s, "", "8.00");

  // First run: no Class ID file, no limit-count-seed file; one refused answer.
  RunResult r1 = run_in_folder(ZEMBIC_BIN, {.args = {"-", "-", "-", "-", "-", "-", "12345"},
                                            .files = {{"zembic.csv", in}},
                                            .keyboard = "15\n0\nx7\n"});
  Expect e;
  start(e);
  canvas_options(e);
  class_dialog(e, {"15"});
  class_readback(e, p);
  roster_to_shuffle(e, p, "zembic.csv");
  Outcome o;
  o.roster = kOutHead1 + kOutHead2;
  std::string names = lines({" AID=x7A00: Ideal Student (instructor email)"});
  std::string ids = lines({" AID=x7A00:   0 Ideal Student (instructor email)"});
  std::vector<std::string> recs(232);
  for (size_t i = 0; i < kClass.size(); ++i) {
    const int s = idorg[i];
    o.held[s] = true;
    recs[s] = record(p, s, kClass[i]);
    o.roster += canvas_row(kClass[i], notes_text(p, s), std::to_string(s + 1)).substr(0);
    e.both(recs[s].substr(0, 79));
    names += recs[s] + "\n";
  }
  ids += sorted_records(e, p, recs, o.held);
  first_unused(e, p, static_cast<int>(kClass.size()) - 1);
  fresh_summary(e, 7);

  ASSERT_EQ(r1.status, 0) << r1.console;
  EXPECT_EQ(mask_stamp(r1.console), e.console);
  EXPECT_EQ(mask_stamp(r1.file("zembic.log")), e.log);
  EXPECT_EQ(r1.file("zembic.cid"), " 0\nx7  \n");
  EXPECT_EQ(r1.file("zembic.csv"), in);
  EXPECT_EQ(r1.file("new_zembic.csv"), o.roster);
  EXPECT_EQ(r1.file("zembic.nam.txt"), names);
  EXPECT_EQ(r1.file("zembic.aid.txt"), ids);
  EXPECT_EQ(r1.file("zembic.htm"), web_page(p, o.held));
  EXPECT_EQ(r1.file("zembic.srt.txt"), text_table(p, o.held));
  const std::string rec1 = "ccyymmdd hhmmss Limit, Used, and Seed: 232, 7, 12345";
  EXPECT_EQ(mask_stamp(r1.file("zembic.lcs")), rec1 + "\n");
  EXPECT_EQ(r1.files.size(), 9u);

  // Re-run: the instructor exports the grade book again after three students
  // joined; their identifier cells are empty.
  std::string in2 = r1.file("new_zembic.csv");
  for (const auto& s : kJoiners) in2 += canvas_row(s, "", "");
  RunResult r2 = run_in_folder(ZEMBIC_BIN, {.files = {{"zembic.csv", in2},
                                                      {"zembic.cid", r1.file("zembic.cid")},
                                                      {"zembic.lcs", r1.file("zembic.lcs")}},
                                            .keyboard = "Cancel\n\nc\n"});
  Expect e2;
  start(e2);
  canvas_options(e2);
  class_readback(e2, p);
  e2.both("Reading file zembic.lcs");
  e2.both(mask_stamp(r1.file("zembic.lcs")).substr(0, rec1.size()) +
          std::string(79 - rec1.size(), ' '));
  rerun_dialog(e2, "zembic.csv", 7, 2);  // "Canc" asks again, the empty line does not
  e2.both("");
  roster_to_shuffle(e2, p, "zembic.csv");
  std::string roster2 = kOutHead1 + kOutHead2;
  std::string names2 = names;
  std::vector<bool> held2 = o.held;
  for (size_t i = 0; i < kClass.size(); ++i) {
    const int s = idorg[i];
    e2.both(recs[s].substr(0, 79));
    roster2 += canvas_row(kClass[i], notes_text(p, s), std::to_string(s + 1));
  }
  for (size_t j = 0; j < kJoiners.size(); ++j) {
    const int s = idorg[kClass.size() + j];
    held2[s] = true;
    recs[s] = record(p, s, kJoiners[j]);
    e2.both(recs[s].substr(0, 79));
    names2 += recs[s] + "\n";
    roster2 += canvas_row(kJoiners[j], notes_text(p, s), std::to_string(s + 1));
  }
  std::string ids2 = lines({" AID=x7A00:   0 Ideal Student (instructor email)"});
  ids2 += sorted_records(e2, p, recs, held2);
  first_unused(e2, p, 9);
  for (const char* l : {"Previous AID strings assigned:   7", "     New AID strings assigned:   3",
                        "Total student records written:  10"}) {
    e2.con(l);
  }
  for (const char* l : {"Previous AID strings assigned:   7", "     New AID strings assigned:   3",
                        "Total student records written:  10"}) {
    e2.lg(l);
  }
  e2.both("");

  ASSERT_EQ(r2.status, 0) << r2.console;
  EXPECT_EQ(mask_stamp(r2.console), e2.console);
  EXPECT_EQ(mask_stamp(r2.file("zembic.log")), e2.log);
  EXPECT_EQ(r2.file("new_zembic.csv"), roster2);
  EXPECT_EQ(r2.file("zembic.nam.txt"), names2);
  EXPECT_EQ(r2.file("zembic.aid.txt"), ids2);
  EXPECT_EQ(r2.file("zembic.htm"), web_page(p, held2));
  EXPECT_EQ(mask_stamp(r2.file("zembic.lcs")),
            rec1 + "\n" + "ccyymmdd hhmmss Limit, Used, and Seed: 232, 10, 12345\n");
}

}  // namespace
