#include <string>

#include <gtest/gtest.h>

#include "e2e_harness.h"

namespace {

const std::string kRoster = "Student,ID,SIS User ID,SIS Login ID,Root Account,Section\n";
const std::string kNumberPrompt = "Enter your class distinction number from 0 to 14 (q to quit): ";

bool ends_with(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(E2eClassId, EndOfKeyboardInputEndsTheRun) {
  RunResult r = run_in_folder(ZEMBIC_BIN, {.files = {{"zembic.csv", kRoster}}, .keyboard = ""});
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(ends_with(r.console, kNumberPrompt + "\n\a*** End of keyboard input!\n"));
  EXPECT_TRUE(ends_with(r.file("zembic.log"), "\n*** End of keyboard input!\n"));
  EXPECT_FALSE(r.has("zembic.cid"));
}

TEST(E2eClassId, AnswersAreWrittenAndReadBackButNeverLogged) {
  // The run ends in the next phase on a record that is not valid.
  RunResult r = run_in_folder(
      ZEMBIC_BIN,
      {.files = {{"zembic.csv", kRoster}, {"zembic.lcs", "bad\n"}}, .keyboard = "99\n3\nx7\n"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.file("zembic.cid"), " 3\nx7  \n");
  const std::string log = r.file("zembic.log");
  EXPECT_TRUE(ends_with(log,
                        "Class distinction number:   3\n"
                        "Class ID: \"x7\"\n"
                        "\n"
                        "Reading file zembic.lcs\n"
                        "bad" +
                            std::string(76, ' ') +
                            "\n"
                            "*** Error reading limit, count, and seed file zembic.lcs!\n"));
  EXPECT_EQ(log.find("99"), std::string::npos);
  EXPECT_EQ(log.find("Bad number"), std::string::npos);
  EXPECT_EQ(log.find(kNumberPrompt), std::string::npos);
}

}  // namespace
