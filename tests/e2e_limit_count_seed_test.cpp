#include <string>

#include <gtest/gtest.h>

#include "e2e_harness.h"

namespace {

TEST(E2eLimitCountSeed, RerunNotConfirmed) {
  const std::string rec = "20260105 101500 Limit, Used, and Seed: 232, 17, 12345";
  RunResult r = run_in_folder(ZEMBIC_BIN, {.args = {"zembic.csv"},
                                           .files = {{"zembic.csv", "Student,ID\n"},
                                                     {"zembic.cid", " 0\n    \n"},
                                                     {"zembic.lcs", rec + "\n"}},
                                           .keyboard = "\nCancel\nq\n"});
  EXPECT_EQ(r.status, 1);
  const std::string prompt = "    Enter \"C\" or \"Q\" as described above: ";
  const std::string tail =
      prompt + prompt + "\a*** User did not confirm the input file zembic.csv!\n";
  ASSERT_GE(r.console.size(), tail.size());
  EXPECT_EQ(r.console.substr(r.console.size() - tail.size()), tail);
  const std::string log_tail = "Reading file zembic.lcs\n" + rec +
                               std::string(79 - rec.size(), ' ') +
                               "\n*** User did not confirm the input file zembic.csv!\n";
  const std::string log = r.file("zembic.log");
  ASSERT_GE(log.size(), log_tail.size());
  EXPECT_EQ(log.substr(log.size() - log_tail.size()), log_tail);
  EXPECT_EQ(r.file("zembic.lcs"), rec + "\n");  // nothing appended
}

}  // namespace
