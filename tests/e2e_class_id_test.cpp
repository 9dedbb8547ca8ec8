#include <string>

#include <gtest/gtest.h>

#include "class_dialog_text.h"
#include "e2e_expect.h"
#include "e2e_harness.h"

namespace {

const std::string kRoster = "Student,ID,SIS User ID,SIS Login ID,Root Account,Section\n";
const std::string kNumberPrompt = kClassNumberPrompt;

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
  // The whole log: no answer, prompt or complaint of the dialog is in it.
  expect::Expect e;
  expect::start(e);
  expect::canvas_options(e);
  expect::class_readback(e, {.cls = 3, .cid = "x7"});
  e.lg("Reading file zembic.lcs");
  e.lg("bad" + std::string(76, ' '));
  e.lg("*** Error reading limit, count, and seed file zembic.lcs!");
  EXPECT_EQ(mask_stamp(r.file("zembic.log")), e.log);
}

}  // namespace
