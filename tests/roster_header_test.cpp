#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "io.h"
#include "outbuf.h"
#include "phases.h"
#include "readcv.h"
#include "readfu.h"
#include "unit_helpers.h"
#include "zembic.h"

namespace {

RunState st;  // large: static storage

// One run of the roster header phase on a file written by the test.
struct Roster {
  std::string name = "roster.csv";
  std::string contents = {};
  std::string header = "1AID*";  // HEADER as given
  bool csv = true, bb = false, canvas = false, kill = false, dosort = false, doquot = false;
  int32_t ncolf = 0;
  bool rerun = false;
  std::string sep = ",";
  char quot = '"';
  std::string keyboard = {};
  const ProgramDesc* desc = &zembic_desc;
};

struct Result {
  Captured cap;
  std::string out;  // the output buffer
};

// The header count and texts of HEADER, as the options phase leaves them.
void set_header(const std::string& h) {
  std::memset(st.argt[3], ' ', FLDMAX);
  std::memcpy(st.argt[3], h.data(), h.size());
  st.argtl[3] = static_cast<int32_t>(h.size());
  st.nhead = h[0] - '0';
  int32_t p = 1;
  for (int32_t i = 0; i < st.nhead; ++i) {
    st.hnamof[i] = p;
    const size_t comma = h.find(',', p);
    const int32_t end = comma == std::string::npos ? static_cast<int32_t>(h.size())
                                                   : static_cast<int32_t>(comma);
    st.hnamlt[i] = end - p;
    p = comma == std::string::npos ? end : end + 1;
  }
  if (st.nhead > 0 && st.hnamlt[0] > 0 && h[st.hnamof[0] + st.hnamlt[0] - 1] == '*') {
    st.star = 1;
    --st.hnamlt[0];
  }
}

Result run(const Roster& ro) {
  std::memset(&st, 0, sizeof st);
  std::memset(st.argt, ' ', sizeof st.argt);
  std::memcpy(st.argt[0], ro.name.data(), ro.name.size());
  st.argtl[0] = static_cast<int32_t>(ro.name.size());
  set_header(ro.header);
  std::memcpy(st.argt[4], ro.sep.data(), ro.sep.size());
  st.argtl[4] = static_cast<int32_t>(ro.sep.size());
  st.argt[5][0] = ro.quot;
  st.argtl[5] = 1;
  st.csv = ro.csv;
  st.bb = ro.bb;
  st.canvas = ro.canvas;
  st.kill = ro.kill;
  st.dosort = ro.dosort;
  st.doquot = ro.doquot;
  st.ncolf = ro.ncolf;
  st.new_ = ro.rerun ? 0 : 1;
  cmenc.enc = 0;
  cmenc.esc = -1;
  cmsav.nsav = 0;
  readcv_reset();
  readfu_reset();
  Result res;
  in_temp_folder([&] {
    put_file(ro.name, ro.contents);
    res.cap = capture([&] { phase_roster(st, *ro.desc); }, ro.keyboard);
    close_unit(LU_INPUT);
  });
  res.out.assign(cmsav.savchr, cmsav.nsav);
  cmsav.nsav = 0;
  return res;
}

const std::string OPENING = "Reading file roster.csv\n\n";

std::string fatal_console(const std::string& msg) { return "\a*** " + msg + "!\n"; }
std::string fatal_log(const std::string& msg) { return "*** " + msg + "!\n"; }

TEST(RosterHeader, NoHeaderLinesOnlyOpens) {
  Result r = run({.name = "roster.txt", .contents = "Ann\nBob\n", .header = "0", .csv = false,
                  .ncolf = -1, .sep = ": "});
  EXPECT_FALSE(r.cap.fataled);
  EXPECT_EQ(r.cap.console, "Reading file roster.txt\n\n");
  EXPECT_EQ(r.cap.log, "Reading file roster.txt\n\n");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(st.nbuf, 0);  // no line read
}

TEST(RosterHeader, MissingInputFileEndsTheRun) {
  std::memset(&st, 0, sizeof st);
  Result r;
  in_temp_folder([&] {
    std::memset(st.argt, ' ', sizeof st.argt);
    std::memcpy(st.argt[0], "gone.csv", 8);
    st.argtl[0] = 8;
    st.csv = 1;
    st.nhead = 1;
    r.cap = capture([] { phase_roster(st, zembic_desc); });
  });
  EXPECT_TRUE(r.cap.fataled);
  EXPECT_EQ(r.cap.console.find("Reading file"), std::string::npos);
}

TEST(RosterHeader, EmptyInputAndMissingHeaderLine) {
  Result r = run({.contents = ""});
  EXPECT_TRUE(r.cap.fataled);
  EXPECT_EQ(r.cap.log, OPENING + fatal_log("Input file is empty: roster.csv"));

  r = run({.name = "roster.txt", .contents = "", .header = "1AID", .csv = false, .ncolf = -1,
           .sep = ": "});
  EXPECT_EQ(r.cap.log, "Reading file roster.txt\n\n" + fatal_log("Input file is empty: roster.txt"));

  r = run({.contents = "a,b\r\n", .header = "2AID,x"});
  EXPECT_TRUE(r.cap.fataled);
  EXPECT_EQ(r.cap.console, OPENING + fatal_console("Missing header line in roster.csv"));

  r = run({.name = "roster.txt", .contents = "Name\n", .header = "2AID,x", .csv = false,
           .ncolf = -1, .sep = ": "});
  EXPECT_EQ(r.cap.log,
            "Reading file roster.txt\n\n" + fatal_log("Missing header line in roster.txt"));

  // A first line without line end is the last one.
  r = run({.name = "roster.txt", .contents = "Name", .header = "2AID,x", .csv = false,
           .ncolf = -2, .sep = ": "});
  EXPECT_EQ(r.cap.log,
            "Reading file roster.txt\n\n" + fatal_log("Missing header line in roster.txt"));
}

// Blackboard: the identifier column follows the rightmost of six columns.
TEST(RosterHeader, BlackboardPlacement) {
  struct Case {
    std::string row;
    int32_t ncolf;
    std::string out;
  } cases[] = {
      {"Last Name\tFirst Name\tUsername\tStudent ID\tLast Access\tAvailability\tQuiz\r\n", 7,
       "Last Name\tFirst Name\tUsername\tStudent ID\tLast Access\tAvailability\t\"AID\"\tQuiz\r\n"},
      {"Last Name\tFirst Name\tUsername\tStudent ID\tLast Access\tQuiz\r\n", 6,
       "Last Name\tFirst Name\tUsername\tStudent ID\tLast Access\t\"AID\"\tQuiz\r\n"},
      {"Availability\t\"Last Name\"\tFirst Name\tUsername\tQuiz\r\n", 5,
       "Availability\t\"Last Name\"\tFirst Name\tUsername\t\"AID\"\tQuiz\r\n"},
      {"First Name\tLast Name\tX\tUsername\r\n", 5,
       "First Name\tLast Name\tX\tUsername\t\"AID\"\r\n"},
  };
  for (const Case& c : cases) {
    Result r = run({.name = "roster.xls", .contents = c.row + "Doe\tJane\tjd\tx\r\n",
                    .bb = true, .doquot = true, .ncolf = 4, .sep = "\t"});
    ASSERT_FALSE(r.cap.fataled) << c.row << r.cap.console;
    EXPECT_EQ(st.ncolf, c.ncolf) << c.row;
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.cap.log, "Reading file roster.xls\n\n");
    EXPECT_EQ(st.colnot, 0);
  }
  EXPECT_EQ(st.col_last_name, 2);
  EXPECT_EQ(st.col_first_name, 1);
  EXPECT_EQ(st.col_username, 4);
}

TEST(RosterHeader, BlackboardFeedbackColumnInSortMode) {
  const std::string row = "Last Name\tFirst Name\tUsername\tFeedback to User\tQuiz\r\n";
  Roster ro{.name = "roster.xls", .contents = row, .header = "1AIDsort*", .bb = true,
            .dosort = true, .ncolf = 4, .sep = "\t"};
  Result r = run(ro);
  ASSERT_FALSE(r.cap.fataled);
  EXPECT_EQ(st.colnot, 4);
  EXPECT_EQ(r.out, "Last Name\tFirst Name\tUsername\tAIDsort\tFeedback to User\tQuiz\r\n");
  ro.dosort = false;
  ro.header = "1AID*";
  run(ro);
  EXPECT_EQ(st.colnot, 0);
}

TEST(RosterHeader, BlackboardColumnErrors) {
  struct Case {
    std::string row, msg;
  } cases[] = {
      {"Username\tLast Name\tFirst Name\r\n", "Column 'Username' in the wrong place in roster.xls"},
      {"last name\tFirst Name\tUsername\r\n", "Column 'Last Name' not found in roster.xls"},
      {"Last Name\tFirst Name \tUsername\r\n", "Column 'First Name' not found in roster.xls"},
      {"Last Name\tFirst Name\tUser\r\n", "Column 'Username' not found in roster.xls"},
      {"Last Name\tFirst Name\r\n", "Not enough columns in roster.xls"},
  };
  for (const Case& c : cases) {
    Result r = run({.name = "roster.xls", .contents = c.row, .bb = true, .doquot = true,
                    .ncolf = 4, .sep = "\t"});
    EXPECT_TRUE(r.cap.fataled);
    EXPECT_EQ(r.cap.console, "Reading file roster.xls\n\n" + fatal_console(c.msg));
    EXPECT_EQ(r.cap.log, "Reading file roster.xls\n\n" + fatal_log(c.msg));
  }
}

Roster canvas(const std::string& contents) {
  return {.contents = contents, .header = "2AIDsort*,0.00", .canvas = true, .kill = true,
          .dosort = true, .ncolf = 3};
}

TEST(RosterHeader, CanvasAfterNotesInEveryMode) {
  const std::string in =
      "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,Notes,Quiz 1\r\n"
      "Points Possible,,,,,,,10.00\r\n";
  Roster ro = canvas(in);
  Result r = run(ro);
  ASSERT_FALSE(r.cap.fataled) << r.cap.console;
  EXPECT_EQ(st.ncolf, 8);
  EXPECT_EQ(st.colnot, 7);
  EXPECT_EQ(st.col_student, 1);
  EXPECT_EQ(st.col_login, 4);
  EXPECT_EQ(st.col_root, 5);
  EXPECT_EQ(r.out,
            "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,Notes,AIDsort\r\n"
            "Points Possible,,,,,,,0.00\r\n");
  EXPECT_EQ(r.cap.console, OPENING);

  ro.header = "2AID*,0.00";
  ro.dosort = false;
  r = run(ro);
  EXPECT_EQ(st.ncolf, 8);
  EXPECT_EQ(st.colnot, 0);
  EXPECT_EQ(r.out,
            "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,Notes,AID\r\n"
            "Points Possible,,,,,,,0.00\r\n");

  // Notes left of Section: the identifier column follows Section.
  ro = canvas("Student,Notes,Section,Quiz\r\nPoints Possible,,,5\r\n");
  ro.header = "2AIDsort*";
  r = run(ro);
  EXPECT_EQ(st.ncolf, 4);
  EXPECT_EQ(st.colnot, 2);
  EXPECT_EQ(r.out, "Student,Notes,Section,AIDsort\r\nPoints Possible,,,\r\n");
}

TEST(RosterHeader, CanvasBufferStartsWithMarkAndSeparatorLine) {
  Result r = run(canvas(
      "\xEF\xBB\xBFsep=;\r\nStudent;ID;Section;Notes;Quiz 1\r\nPoints Possible;;;;10.00\r\n"));
  ASSERT_FALSE(r.cap.fataled) << r.cap.console;
  EXPECT_EQ(r.out,
            "\xEF\xBB\xBFsep=;\r\nStudent;ID;Section;Notes;AIDsort\r\n"
            "Points Possible;;;;0.00\r\n");
  EXPECT_EQ(st.argt[4][0], ';');
  EXPECT_EQ(st.col_login, 0);
  EXPECT_EQ(st.col_root, 0);
  const std::string warnings =
      " ** Warning: UTF-8 BOM in roster.csv\n\n"
      " ** Warning: CSV field separator set to \";\"\n\n";
  // The missing optional columns are reported on the console only.
  EXPECT_EQ(r.cap.console, OPENING + warnings +
                               " ** Warning: Column 'SIS Login ID' not found\n"
                               " ** Warning: Column 'Root Account' not found\n");
  EXPECT_EQ(r.cap.log, OPENING + warnings);
}

TEST(RosterHeader, CanvasColumnErrors) {
  struct Case {
    std::string row, msg;
  } cases[] = {
      {"Student,Section,Root Account,Quiz\r\n", "Column 'Section' in the wrong place in roster.csv"},
      {"Section,Student\r\n", "Column 'Section' in the wrong place in roster.csv"},
      {"Name,ID,Section\r\n", "Column 'Student' not found in roster.csv"},
      {"Student,ID,Sections\r\n", "Column 'Section' not found in roster.csv"},
  };
  for (const Case& c : cases) {
    Result r = run(canvas(c.row + "x,y,z,w\r\n"));
    EXPECT_TRUE(r.cap.fataled);
    EXPECT_EQ(r.cap.log, OPENING + fatal_log(c.msg)) << c.row;
  }
}

const std::string ABORT_A =
    "*** There is already a column 'AID*' in input file\n"
    "       roster.csv\n"
    "    To create a completely new set of AID strings, you must\n"
    "    delete this column.  Then move the input file into a new\n"
    "    folder and run zembic again.\n"
    "    To add instead missing AID strings to the current ones,\n"
    "    it is *essential* to have a valid file zembic.lcs that\n"
    "    was created when the current AID strings were created\n"
    "    without program errors.\n";

const std::string ABORT_B =
    "*** Column 'AID*' not found in input file\n"
    "       roster.csv\n"
    "    You cannot add more AID strings without an existing\n"
    "    AID column.  Check that you are using the latest\n"
    "    version of the input file.\n"
    "    Otherwise you may need to create new AID strings from\n"
    "    scratch.  Make sure to create a new folder for that.\n";

TEST(RosterHeader, AbortBlocksCsv) {
  Result r = run({.contents = "Name,AID (old),Mail\r\n", .ncolf = 0});
  EXPECT_TRUE(r.cap.fataled);
  EXPECT_EQ(r.cap.console, OPENING + ABORT_A + fatal_console("Must abort for the above reason"));
  EXPECT_EQ(r.cap.log, OPENING + ABORT_A + fatal_log("Must abort for the above reason"));
  EXPECT_EQ(r.out, "");

  r = run({.contents = "Name,Aid,Mail\r\n", .ncolf = 0, .rerun = true});
  EXPECT_TRUE(r.cap.fataled);
  EXPECT_EQ(r.cap.console, OPENING + ABORT_B + fatal_console("Must abort for the above reason"));
  EXPECT_EQ(r.cap.log, OPENING + ABORT_B + fatal_log("Must abort for the above reason"));
}

TEST(RosterHeader, AbortBlockAsLongAsItsDescription) {
  ProgramDesc d = zembic_desc;
  const std::string_view one_line[] = {"Start afresh."};
  d.abort_b = one_line;
  const Result r = run({.contents = "Name,Aid,Mail\r\n", .rerun = true, .desc = &d});
  EXPECT_EQ(r.cap.log, OPENING + ABORT_B.substr(0, ABORT_B.find("    You")) +
                           "    Start afresh.\n" + fatal_log("Must abort for the above reason"));
}

TEST(RosterHeader, AbortBlocksPlainTextNameHasNoStar) {
  auto text = [](const std::string& line, int32_t ncolf, bool rerun) {
    return run({.name = "roster.txt", .contents = line, .header = "1AID*", .csv = false,
                .ncolf = ncolf, .rerun = rerun, .sep = ": "});
  };
  auto no_star = [](std::string block) {
    block.replace(block.find("AID*"), 4, "AID");
    block.replace(block.find("roster.csv"), 10, "roster.txt");
    return "Reading file roster.txt\n\n" + block + fatal_log("Must abort for the above reason");
  };
  EXPECT_EQ(text("AID: Name\n", -1, false).cap.log, no_star(ABORT_A));
  EXPECT_EQ(text("Name: AID\r\n", -2, false).cap.log, no_star(ABORT_A));
  EXPECT_EQ(text("Name\n", -1, true).cap.log, no_star(ABORT_B));
  EXPECT_EQ(text("Name: AID\n", -1, true).cap.log, no_star(ABORT_B));
}

TEST(RosterHeader, PlainTextDetection) {
  struct Case {
    std::string line, sep;
    int32_t ncolf;
    bool rerun;
    int32_t oldcol;
    std::string out;
  } cases[] = {
      // A first line that is only the name, without the separator, is no column.
      {"AID\n", ": ", -1, false, 0, "AID: AID\n"},
      {"AID:Name\n", ": ", -1, false, 0, "AID: AID:Name\n"},
      {"aid: Name\n", ": ", -1, false, 0, "AID: aid: Name\n"},
      {"Name\r\n", ": ", -2, false, 0, "Name: AID\r\n"},
      {"Name: AID ", ": ", -2, false, 0, "Name: AID : AID"},
      {"Name", "", -1, false, 0, "AIDName"},
      {"AID: Name\n", ": ", -1, true, 1, "AID: Name\n"},
      {"Name: AID", ": ", -2, true, 2, "Name: AID"},
      {"AIDName\n", "", -1, true, 1, "AIDName\n"},
      {"NameAID\n", "", -2, true, 2, "NameAID\n"},
  };
  for (const Case& c : cases) {
    Result r = run({.name = "roster.txt", .contents = c.line, .header = "1AID", .csv = false,
                    .ncolf = c.ncolf, .rerun = c.rerun, .sep = c.sep});
    ASSERT_FALSE(r.cap.fataled) << c.line << r.cap.console;
    EXPECT_EQ(st.oldcol, c.oldcol) << c.line;
    EXPECT_EQ(r.out, c.out) << c.line;
  }
}

TEST(RosterHeader, PlainTextRerunCopiesEveryHeaderLine) {
  Result r = run({.name = "roster.txt", .contents = "AID: Name\nsecond\nAnn\n",
                  .header = "2AID,x", .csv = false, .ncolf = -1, .rerun = true, .sep = ": "});
  ASSERT_FALSE(r.cap.fataled);
  EXPECT_EQ(r.out, "AID: Name\nsecond\n");
}

TEST(RosterHeader, ForcedQuotingAndEmptyHeaderText) {
  Result r = run({.contents = "a,b,c\r\nd,e,f\r\n", .header = "2AID", .doquot = true,
                  .ncolf = 2});
  ASSERT_FALSE(r.cap.fataled);
  EXPECT_EQ(r.out, "a,\"AID\",b,c\r\nd,\"\",e,f\r\n");

  r = run({.contents = "a,b,c\r\nd,e,f\r\n", .header = "2AID,,x", .kill = true, .ncolf = 2});
  EXPECT_EQ(r.out, "a,AID\r\nd,\r\n");
}

TEST(RosterHeader, RerunKillCutsAfterTheIdentifierColumn) {
  const std::string in =
      "c1,c2,c3,c4,AID,c6,c7,c8,c9\r\n"
      "p1,p2,p3,p4,0.00,p6,p7,p8,p9\r\n";
  Result r = run({.contents = in, .header = "2AID*", .kill = true, .ncolf = 5, .rerun = true});
  ASSERT_FALSE(r.cap.fataled) << r.cap.console;
  EXPECT_EQ(st.ncolf, 5);
  EXPECT_EQ(st.kill, 1);
  EXPECT_EQ(r.out, "c1,c2,c3,c4,AID\r\np1,p2,p3,p4,0.00\r\n");
  EXPECT_EQ(r.cap.console, OPENING);

  // Found in column 1: nothing is dropped, without a message.
  r = run({.contents = "AID,b,c\r\nx,y,z\r\n", .header = "2AID*", .kill = true, .ncolf = 0,
           .rerun = true});
  ASSERT_FALSE(r.cap.fataled);
  EXPECT_EQ(st.kill, 0);
  EXPECT_EQ(r.out, "AID,b,c\r\nx,y,z\r\n");
  EXPECT_EQ(r.cap.console, OPENING);
}

TEST(RosterHeader, CanvasRerunFindsPrefixedColumn) {
  Roster ro = canvas(
      "Student,ID,Section,Notes,AIDsort (12345),Quiz\r\n"
      "Points Possible,,,,,10\r\n");
  ro.rerun = true;
  Result r = run(ro);
  ASSERT_FALSE(r.cap.fataled) << r.cap.console;
  EXPECT_EQ(st.oldcol, 5);
  EXPECT_EQ(st.ncolf, 5);
  EXPECT_EQ(st.iendid, 41);
  EXPECT_EQ(r.out, "Student,ID,Section,Notes,AIDsort (12345)\r\nPoints Possible,,,,\r\n");
}

TEST(RosterHeader, RerunAfterLastColumnTakesTheColumnAnywhere) {
  Result r = run({.contents = "a,AID,c\r\n", .ncolf = 0, .rerun = true});
  ASSERT_FALSE(r.cap.fataled);
  EXPECT_EQ(st.ncolf, 2);
  EXPECT_EQ(r.cap.console, OPENING);
  EXPECT_EQ(r.out, "a,AID,c\r\n");
}

const std::string DIALOG =
    "*** Column 'AID*' in input file\n"
    "       roster.csv\n"
    "    is in the wrong place:\n"
    "    Expected column number: 3\n"
    "    Found at column number: 5\n"
    "    Will proceed using column number 5\n";
const std::string PROMPT = "    Enter the letter \"A\" to accept that or \"Q\" to quit: ";

TEST(RosterHeader, MisplacedColumnDialog) {
  Roster ro{.contents = "a,b,c,d,AID,f\r\n", .ncolf = 3, .rerun = true};
  ro.keyboard = "x\n\nAlright\na\n";
  Result r = run(ro);
  ASSERT_FALSE(r.cap.fataled) << r.cap.console;
  // Another answer repeats the prompt; an empty line waits without one.
  EXPECT_EQ(r.cap.console, OPENING + DIALOG + PROMPT + PROMPT + PROMPT);
  EXPECT_EQ(r.cap.log, OPENING + " ** User accepted AID column number 5\n");
  EXPECT_EQ(st.ncolf, 5);
  EXPECT_EQ(r.out, "a,b,c,d,AID,f\r\n");

  ro.keyboard = "q\n";
  r = run(ro);
  EXPECT_TRUE(r.cap.fataled);
  EXPECT_EQ(r.cap.console, OPENING + DIALOG + PROMPT + fatal_console("User quit on column number error"));
  EXPECT_EQ(r.cap.log, OPENING + fatal_log("User quit on column number error"));

  ro.keyboard = "A\n";
  ro.kill = true;
  r = run(ro);
  EXPECT_EQ(r.out, "a,b,c,d,AID\r\n");

  ro.keyboard = "";
  r = run(ro);
  EXPECT_TRUE(r.cap.fataled);
}

}  // namespace
