// Whole runs of varlon through its front phases and the NAID candidate set
// (run stamp masked); the whole runs of the NAID pass check what follows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e_harness.h"
#include "varlon_expect.h"
#include "varlon_usage_text.h"

namespace {

using namespace vexpect;

const std::string kCanvas2 = "    Points Possible,,,,,,,10.00\r\n";
const std::string kRecord = "20261201 101010 Limit, Used, and Seed: 313, 1, 4242";

std::string pad79(const std::string& s) { return s + std::string(79 - s.size(), ' '); }

Expect started() {
  Expect e;
  expect::start(e);
  return e;
}

void expect_run(const RunResult& r, const Expect& e) {
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(mask_stamp(r.console), e.console);
  EXPECT_EQ(mask_stamp(r.file("varlon.log")), e.log);
}

// A run that goes on after the candidate phase: console and log begin with
// what the front phases show.
void expect_front(const RunResult& r, const Expect& e) {
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(mask_stamp(r.console).substr(0, e.console.size()), e.console);
  EXPECT_EQ(mask_stamp(r.file("varlon.log")).substr(0, e.log.size()), e.log);
}

TEST(VarlonFront, EightArgumentsGiveTheUsageTextAlone) {
  // Line lengths as the usage text is laid out, blanks included.
  const std::vector<size_t> widths = {53, 69, 67, 67, 64, 68, 62, 60, 60, 68, 65, 62, 62, 37, 69,
                                      67, 40, 66, 66, 66, 68, 40, 67, 57, 69, 49, 48, 42, 67, 68};
  ASSERT_EQ(kVarlonUsage.size(), widths.size());
  for (size_t i = 0; i < widths.size(); ++i) EXPECT_EQ(kVarlonUsage[i].size(), widths[i]) << i;
  RunResult r = run_in_folder(VARLON_BIN, {.args = {"a", "b", "c", "d", "e", "f", "g", "h"}});
  const std::string want = "Run date and time: ccyymmdd hhmmss.sss Shhmm\n\n" + lines(kVarlonUsage);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(mask_stamp(r.console), want);
  EXPECT_EQ(mask_stamp(r.file("varlon.log")), want);
}

// varlon.csv alone in the folder: Canvas mode, both class dialogs with their
// refused answers, up to the candidate table.
TEST(VarlonFront, CanvasFirstRunUpToTheCandidateTable) {
  const std::string in =
      "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,Notes,Quiz 1\r\n" + kCanvas2 +
      "\"Lee, Ann\",11,S1,alee,canvas1.example.edu,MATH 101,,8.00\r\n";
  RunResult r =
      run_in_folder(VARLON_BIN, {.files = {{"varlon.csv", in}},
                                 .keyboard = "10\n07\nx\n-7\n\n 7 \n"
                                             "1234\n12345\n0\n05\n1.2\n..\n1a\n100.\n1\t2\n12,\n"});
  Expect e = started();
  expect::canvas_options(e);
  digit_dialog(e, 4);
  e.prompt("Enter your class distinction digit (q to quit): ");  // after the empty line
  class_id_intro(e);
  e.prompt(kNaidClassIdPrompt + kNaidClassIdPrompt + kNaidClassIdPrompt);  // 1234, 12345 and 0
  for (const char* refused : {"0", "0", ".", ".", "a"}) {
    e.con("*** Character \"" + std::string(refused) + "\" is illegal.");
    e.prompt(kNaidClassIdPrompt);
  }
  e.prompt(kNaidClassIdPrompt);  // after 100.
  e.con(" *** ASCII control character 9 is illegal");
  e.prompt(kNaidClassIdPrompt);
  readback(e, 7, "12,");
  e.both("Reading file varlon.csv");
  e.both("");
  naid_report(e, 7);
  expect_front(r, e);
  EXPECT_EQ(r.file("varlon.cid"), "7\n12, \n");
}

// "AIDsort" names the identifier text of a plain text file like any other
// name; four blanks before 5 are an empty class ID.
TEST(VarlonFront, AidsortIsAnOrdinaryHeaderText) {
  RunResult r = run_in_folder(VARLON_BIN, {.args = {"-", "-", "-", "1AIDsort"},
                                           .files = {{"varlon.txt", "Name\nAnn Lee\n"}},
                                           .keyboard = "0\n    5\n"});
  Expect e = started();
  e.both("");
  digit_dialog(e, 0);
  class_id_intro(e);
  e.prompt(kNaidClassIdPrompt);
  readback(e, 0, "");
  e.both("Reading file varlon.txt");
  e.both("");
  naid_report(e, 0);
  expect_front(r, e);
  EXPECT_EQ(r.file("varlon.cid"), "0\n    \n");
}

// Another CSV file with the column given; digit 2 fills the candidate storage.
TEST(VarlonFront, OtherCsvFileWithTheLargestSet) {
  RunResult r = run_in_folder(VARLON_BIN, {.args = {"class.csv", "-", "2"},
                                           .files = {{"class.csv", "Name,Email\r\nAnn,a@x\r\n"},
                                                     {"varlon.cid", "2\n12.\n"}}});
  Expect e = started();
  e.both("");
  readback(e, 2, "12.");
  e.both("Reading file class.csv");
  e.both("");
  naid_report(e, 2);
  expect_front(r, e);
}

// A re-run finds its NAID column elsewhere than expected; the expected column
// shows where the Notes column puts it.
Expect misplaced(int cls, const std::string& cid, const std::string& lcs, int idused, int expected,
                 int found) {
  Expect e = started();
  expect::canvas_options(e);
  readback(e, cls, cid);
  e.both("Reading file varlon.lcs");
  e.both(mask_stamp(pad79(lcs)));
  rerun_dialog(e, "varlon.csv", idused);
  e.both("Reading file varlon.csv");
  e.both("");
  e.con("*** Column 'NAID*' in input file");
  e.con("       varlon.csv");
  e.con("    is in the wrong place:");
  e.con("    Expected column number: " + std::to_string(expected));
  e.con("    Found at column number: " + std::to_string(found));
  e.con("    Will proceed using column number " + std::to_string(found));
  e.prompt("    Enter the letter \"A\" to accept that or \"Q\" to quit: ");
  return e;
}

TEST(VarlonFront, CanvasRerunWithNotesRightOfSection) {
  const std::string in =
      "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,Quiz 1,Notes,Quiz 2,NAID\r\n"
      "    Points Possible,,,,,,10.00,,10.00,0.00\r\n";
  // A hand-edited Class ID file: line 1 "10" is the digit 1, letters in line 2.
  RunResult r = run_in_folder(
      VARLON_BIN,
      {.files = {{"varlon.csv", in}, {"varlon.cid", "10\nabc\n"}, {"varlon.lcs", kRecord + "\n"}},
       .keyboard = "c\nA\n"});
  Expect e = misplaced(1, "abc", kRecord, 1, 9, 10);
  e.lg(" ** User accepted NAID column number 10");
  naid_report(e, 1);
  expect_front(r, e);
}

TEST(VarlonFront, CanvasRerunWithNotesLeftOfSection) {
  const std::string in =
      "Student,ID,SIS User ID,SIS Login ID,Root Account,Notes,Section,Quiz 1,NAID\r\n" +
      kCanvas2.substr(0, kCanvas2.size() - 2) + ",0.00\r\n";
  RunResult r = run_in_folder(
      VARLON_BIN,
      {.files = {{"varlon.csv", in}, {"varlon.cid", " 3\n\n"}, {"varlon.lcs", ": 100, 5, 777\n"}},
       .keyboard = "C\nq\n"});
  Expect e = misplaced(0, "", ": 100, 5, 777", 5, 8, 9);
  fatal(e, "User quit on column number error");
  expect_run(r, e);
}

void abort_block(Expect& e, const std::string& first, const std::string& fin,
                 const std::vector<std::string>& rest) {
  std::vector<std::string> block = {first, "       " + fin};
  for (const auto& l : rest) block.push_back("    " + l);
  for (const auto& l : block) e.con(l);
  for (const auto& l : block) e.lg(l);
  fatal(e, "Must abort for the above reason");
}

TEST(VarlonFront, FreshRunWithANaidColumnAborts) {
  RunResult r = run_in_folder(
      VARLON_BIN,
      {.files = {{"varlon.csv",
                  "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,NAID\r\n,,,,,,\r\n"},
                 {"varlon.cid", "5\n1.\n"}}});
  Expect e = started();
  expect::canvas_options(e);
  readback(e, 5, "1.");
  e.both("Reading file varlon.csv");
  e.both("");
  abort_block(
      e, "*** There is already a column 'NAID*' in input file", "varlon.csv",
      {"To create a completely new set of NAID numbers, you must",
       "delete this column.  Then move the input file into a new", "folder and run varlon again.",
       "To add instead missing NAID numbers to the current ones,",
       "it is *essential* to have a valid file varlon.lcs that",
       "was created when the current NAID numbers were created", "without program errors."});
  expect_run(r, e);
}

TEST(VarlonFront, RerunWithoutNaidTextAborts) {
  RunResult r = run_in_folder(VARLON_BIN, {.args = {"-", "-", "-", "1NAID"},
                                           .files = {{"varlon.txt", "Name\n"},
                                                     {"varlon.cid", "9\n7\n"},
                                                     {"varlon.lcs", kRecord + "\n"}},
                                           .keyboard = "C\n"});
  Expect e = started();
  e.both("");
  readback(e, 9, "7");
  e.both("Reading file varlon.lcs");
  e.both(mask_stamp(pad79(kRecord)));
  rerun_dialog(e, "varlon.txt", 1);
  e.both("Reading file varlon.txt");
  e.both("");
  abort_block(e, "*** Column 'NAID' not found in input file", "varlon.txt",
              {"You cannot add more NAID numbers without an existing",
               "NAID column.  Check that you are using the latest", "version of the input file.",
               "Otherwise you may need to create new NAID numbers from",
               "scratch.  Make sure to create a new folder for that."});
  expect_run(r, e);
}

// "Feedback to User" is an ordinary column of a Blackboard roster.
TEST(VarlonFront, BlackboardRosterWithFeedbackToUser) {
  const std::string in =
      "Last Name\tFirst Name\tUsername\tStudent ID\tLast Access\tAvailability\t"
      "Feedback to User\tQuiz\r\n";
  RunResult r = run_in_folder(VARLON_BIN, {.files = {{"varlon.xls", in}, {"varlon.cid", "5\n\n"}}});
  Expect e = started();
  e.both(" ** WARNING: Expecting a Blackboard XLS file as this program knows it.");
  e.both("");
  readback(e, 5, "");
  e.both("Reading file varlon.xls");
  e.both("");
  naid_report(e, 5);
  expect_front(r, e);
}

// Runs that end in the class dialogs or at the read-back.
TEST(VarlonFront, QuitEndOfInputAndUnreadableClassFile) {
  const std::string roster = "Name\n";
  struct Case {
    std::map<std::string, std::string> files;
    std::string keyboard, tail;
  };
  const Case cases[] = {
      {{}, "Q\n", "Enter your class distinction digit (q to quit): \a*** User quit!\n"},
      {{}, "3\n", kNaidClassIdPrompt + "\n\a*** End of keyboard input!\n"},
      {{{"varlon.cid", "x\n\n"}}, "", "\n\a*** Error reading Class ID file varlon.cid!\n"},
  };
  for (const Case& c : cases) {
    std::map<std::string, std::string> files = c.files;
    files["varlon.txt"] = roster;
    RunResult r = run_in_folder(VARLON_BIN, {.files = files, .keyboard = c.keyboard});
    EXPECT_EQ(r.status, 1);
    ASSERT_GE(r.console.size(), c.tail.size());
    EXPECT_EQ(r.console.substr(r.console.size() - c.tail.size()), c.tail);
  }
}

}  // namespace
