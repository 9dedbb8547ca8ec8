// Whole runs under faults: files that cannot be written, FIFOs or links in
// place of files, the run's own files given as INFILE or OUTFILE, another run
// in the folder, and a console that is closed or unread.  Each fault must end the run with its message and status
// 1, leave the input and the state files as they were, and let a re-run then
// produce what a run without the fault produces.
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "e2e_harness.h"
#include "e2e_oracle.h"

namespace {

// A roster of 120 students whose output file outgrows the log file during
// the student pass, so that a file-size limit can hit the output first.
std::string roster() {
  std::string s = "Name,Mail,Pad\n";
  for (int i = 0; i < 120; ++i) {
    s += "Student " + std::to_string(i) + ",s" + std::to_string(i) + "@x.edu," +
         std::string(150, 'p') + "\n";
  }
  return s;
}

const std::vector<std::string> kArgs = {"r.csv", "out.csv", "1", "1AID", "-", "-", "12345"};
const std::vector<std::string> kState = {"r.csv", "zembic.cid", "zembic.lcs", "email.txt"};

std::map<std::string, std::string> folder() {
  return {{"r.csv", roster()}, {"zembic.cid", " 0\nx7  \n"}, {"email.txt", "@x.edu\n"}};
}

// The files of a run with the run stamps masked.
std::map<std::string, std::string> masked(const RunResult& r) {
  std::map<std::string, std::string> m;
  for (const auto& [name, bytes] : r.files) m[name] = mask_stamp(bytes);
  return m;
}

std::string fatal_line(const std::string& msg) { return "\a*** " + msg + "!\n"; }

bool ends_with(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Runs the fault, then a re-run in the folder it left (with `restore` put
// back), and compares with a run without the fault.
void fault_then_rerun(const RunSpec& faulty, const std::string& msg,
                      const std::map<std::string, std::string>& restore = {},
                      const std::vector<std::string>& rerun_args = kArgs) {
  RunSpec clean_spec = faulty;
  clean_spec.fsize_limit = -1;
  clean_spec.setup = nullptr;
  clean_spec.args = rerun_args;
  for (const auto& [name, bytes] : restore) clean_spec.files[name] = bytes;
  const RunResult clean = run_in_folder(ZEMBIC_BIN, clean_spec);
  ASSERT_EQ(clean.status, 0) << clean.console;

  const RunResult bad = run_in_folder(ZEMBIC_BIN, faulty);
  EXPECT_EQ(bad.status, 1);
  EXPECT_TRUE(ends_with(bad.console, fatal_line(msg))) << bad.console.substr(
      bad.console.size() > 300 ? bad.console.size() - 300 : 0);
  for (const std::string& name : kState) {  // as they were, or still missing
    const auto before = faulty.files.find(name);
    if (before == faulty.files.end()) {
      EXPECT_FALSE(bad.has(name)) << name;
    } else {
      EXPECT_EQ(bad.file(name), before->second) << name;
    }
  }
  for (const auto& [name, bytes] : bad.files) {
    EXPECT_EQ(name.find(".tmp-"), std::string::npos) << "temporary file left: " << name;
  }

  RunSpec again = clean_spec;
  again.files = bad.files;
  for (const auto& [name, bytes] : restore) again.files[name] = bytes;
  const RunResult rerun = run_in_folder(ZEMBIC_BIN, again);
  EXPECT_EQ(rerun.status, 0) << rerun.console;
  EXPECT_EQ(masked(rerun), masked(clean));
}

TEST(Faults, WriteFailuresByFile) {
  // A restart record followed by enough blank lines that every other file
  // stays below the limit that the appended record crosses.
  const std::string big_lcs = "new: 232, 0, 12345\n" + std::string(40000, '\n');
  struct Case {
    std::string what;
    long limit;
    bool big_lcs;
    std::string msg;
  };
  // The log is the largest file: a limit just below its full size fails its
  // last line, after every other file is complete but before the record.
  const long log_size = static_cast<long>(
      run_in_folder(ZEMBIC_BIN, {.args = kArgs, .files = folder()}).file("zembic.log").size());
  const Case cases[] = {
      {"log", 8000, false, "Error writing to log file zembic.log"},
      {"last log line", log_size - 5, false, "Error writing to log file zembic.log"},
      {"output roster", 20000, false, "Error writing to file out.csv"},
      {"record appended in part", static_cast<long>(big_lcs.size()) + 20, true,
       "Error writing to last count and seed file zembic.lcs"},
      {"record not appended at all", static_cast<long>(big_lcs.size()), true,
       "Error writing to last count and seed file zembic.lcs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RunSpec s{.args = kArgs, .files = folder()};
    if (c.big_lcs) s.files["zembic.lcs"] = big_lcs;
    s.fsize_limit = c.limit;
    fault_then_rerun(s, c.msg);
  }
}

// A FIFO in place of each file; a symbolic link in place of the
// limit-count-seed file (here to email.txt: to a file elsewhere alike).
TEST(Faults, FifosByFile) {
  struct Case {
    std::string file, msg, link_to = "";
  };
  const Case cases[] = {
      {"zembic.log", "Unable to access old file zembic.log"},
      {"email.txt", "Error reading e-mail domain file email.txt"},
      {"zembic.cid", "Error reading Class ID file zembic.cid"},
      {"zembic.lcs", "Error reading limit, count, and seed file zembic.lcs"},
      {"zembic.lcs", "Symbolic link in place of limit, count, and seed file zembic.lcs", "email.txt"},
      {"out.csv", "Unable to access old file out.csv"},
      {"zembic.nam.txt", "Unable to access old file zembic.nam.txt"},
      {"zembic.aid.txt", "Unable to access old file zembic.aid.txt"},
      {"zembic.htm", "Unable to access old file zembic.htm"},
      {"zembic.srt.txt", "Unable to access old file zembic.srt.txt"},
      {"r.csv", "Unable to open file r.csv"},
  };
  const std::string lcs = "new: 232, 0, 12345\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    RunSpec s{.args = kArgs, .files = folder()};
    std::map<std::string, std::string> restore;
    if (c.file == "zembic.lcs") restore[c.file] = lcs;
    if (s.files.count(c.file) != 0) restore[c.file] = s.files[c.file];
    s.files.erase(c.file);
    s.setup = [c](const std::string& dir) {
      const std::string at = dir + "/" + c.file;
      c.link_to.empty() ? mkfifo(at.c_str(), 0644) : symlink(c.link_to.c_str(), at.c_str());
    };
    fault_then_rerun(s, c.msg, restore);
  }
}

TEST(Faults, OwnFilesAsOutfileOrInfile) {
  const std::string out = "Output file may not be one of the program's own files: ";
  const std::string in = "Input file may not be one of the program's own files: ";
  struct Case {
    std::string infile, outfile, msg;
    bool before_log = false;  // refused before the log replaces zembic.log
    bool locked = false;      // the test process holds the folder's lock
  };
  const Case cases[] = {
      {"r.csv", "zembic.lcs", out + "zembic.lcs"},
      {"r.csv", "zembic.cid", out + "zembic.cid"},
      {"r.csv", "email.txt", out + "email.txt"},
      {"r.csv", "zembic.log", out + "zembic.log", true},
      {"zembic.log", "out.csv", in + "zembic.log", true},  // a roster of that name
      {"r.csv", "loop.csv", "Disk error looking for file loop.csv", true},  // no status
      {"loop.csv", "out.csv", "Disk error looking for files", true},
      {"r.csv", "zembic.log" + std::string(246, ' ') + "x", out + "zembic.log", true},
      {"r.csv", "out.csv", "Another run is working in this folder", true, true},
      {"r.csv", "zembic.nam.txt", out + "zembic.nam.txt"},
      {"r.csv", "./zembic.aid.txt", out + "./zembic.aid.txt"},
      {"r.csv", "zembic.htm", out + "zembic.htm"},
      {"r.csv", "zembic.srt.txt", out + "zembic.srt.txt"},
      {"r.csv", "link.csv", out + "link.csv"},  // a hard link to zembic.lcs
      {"zembic.nam.txt", "out.csv", in + "zembic.nam.txt"},
      {"zembic.lcs", "out.csv", in + "zembic.lcs"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.infile + " " + c.outfile);
    RunSpec s{.args = {c.infile, c.outfile, "1", "1AID", "-", "-", "12345"}, .files = folder()};
    s.files["zembic.lcs"] = "new: 232, 0, 12345\n";
    s.files["zembic.nam.txt"] = roster();
    s.files["zembic.log"] = roster();
    int lock = -1;
    s.setup = [&](const std::string& dir) {
      link((dir + "/zembic.lcs").c_str(), (dir + "/link.csv").c_str());
      symlink("loop.csv", (dir + "/loop.csv").c_str());
      if (c.locked) lock = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      ASSERT_EQ(c.locked ? flock(lock, LOCK_EX) : 0, 0);
    };
    const RunResult bad = run_in_folder(ZEMBIC_BIN, s);
    if (lock >= 0) close(lock);
    EXPECT_EQ(bad.status, 1);
    EXPECT_TRUE(ends_with(bad.console, fatal_line(c.msg))) << bad.console;
    for (const char* name : {"r.csv", "zembic.cid", "zembic.lcs", "email.txt",
                                    "zembic.nam.txt"}) {
      EXPECT_EQ(bad.file(name), s.files[name]) << name;
    }
    EXPECT_FALSE(bad.has("out.csv"));
    if (c.before_log) {
      EXPECT_EQ(bad.console, fatal_line(c.msg));
      EXPECT_EQ(bad.file("zembic.log"), roster());
    }
    RunSpec again{.args = kArgs, .files = bad.files};
    EXPECT_EQ(run_in_folder(ZEMBIC_BIN, again).status, 0);
  }
}

#ifdef VARLON_BIN
// varlon's own files carry its own name; it makes no web page, so a name
// such as varlon.htm is free for its output.
TEST(Faults, VarlonOwnFilesAsOutfile) {
  const std::string out = "Output file may not be one of the program's own files: ";
  for (const std::string name : {"varlon.cid", "varlon.lcs", "varlon.log", "varlon.aid.txt"}) {
    const RunResult r = run_in_folder(
        VARLON_BIN, {.args = {"r.csv", name}, .files = {{"r.csv", "Name\nAnn\n"}}});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(ends_with(r.console, fatal_line(out + name))) << r.console;
  }
  const RunResult r = run_in_folder(
      VARLON_BIN, {.args = {"r.csv", "varlon.htm"}, .files = {{"r.csv", "Name\nAnn\n"}}});
  EXPECT_EQ(r.console.find(out), std::string::npos);
}
#endif

TEST(Faults, ConsoleClosedOrUnreadLeavesEveryFileAsARunWithIt) {
  const RunResult clean = run_in_folder(ZEMBIC_BIN, {.args = kArgs, .files = folder()});
  ASSERT_EQ(clean.status, 0);
  RunSpec closed{.args = kArgs, .files = folder()};
  closed.closed = {0, 1, 2};
  RunSpec unread{.args = kArgs, .files = folder()};
  unread.console_unread = true;
  for (const RunSpec& s : {closed, unread}) {
    const RunResult r = run_in_folder(ZEMBIC_BIN, s);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.console, "");
    EXPECT_EQ(masked(r), masked(clean));
  }
}

// Added cells that hold the separator, the quote character or a line end are
// quoted as CSV requires, so a re-run reads the same identifiers back.
TEST(Faults, AddedFieldsThatBreakTheCsvAreQuotedAndReadBack) {
  const auto idorg = oracle::shuffled(12345, 232);
  const auto aids = oracle::aids(0);
  struct Case {
    std::string what, cid_line, sep_arg, header, sep;
    std::string cell0, cell1, cell2, head;  // expected cells, quoted as needed
    std::string quot_arg = "-";
  };
  auto aid = [&](int i) { return aids[idorg[i]]; };
  const Case cases[] = {
      {"class ID with the separator", "a,b ", "-", "1AID", ",",
       "\"a,b" + aid(0) + "\"", "\"a,b" + aid(1) + "\"", "\"a,b" + aid(2) + "\"", "AID"},
      {"class ID with the separator ;", "a;b ", "S", "1AID", ";",
       "\"a;b" + aid(0) + "\"", "\"a;b" + aid(1) + "\"", "\"a;b" + aid(2) + "\"", "AID"},
      {"class ID and header text with the quote", "a\"b ", "-", "1A\"D", ",",
       "\"a\"\"b" + aid(0) + "\"", "\"a\"\"b" + aid(1) + "\"", "\"a\"\"b" + aid(2) + "\"",
       "\"A\"\"D\""},
      {"nothing to quote", "x7  ", "-", "1AID", ",", "x7" + aid(0), "x7" + aid(1), "x7" + aid(2),
       "AID"},
      {"quote and escape bytes behind the escape character", "a\"b ", "-", "1A\\D", ",",
       "\"a\\\"b" + aid(0) + "\"", "\"a\\\"b" + aid(1) + "\"", "\"a\\\"b" + aid(2) + "\"",
       "\"A\\\\D\"", "DB"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string& S = c.sep;
    const std::string in = "Name" + S + "Mail\nAnn" + S + "a@x\nBob" + S + "b@x\n";
    const RunResult r1 = run_in_folder(
        ZEMBIC_BIN, {.args = {"r.csv", "out.csv", "2", c.header, c.sep_arg, c.quot_arg, "12345"},
                     .files = {{"r.csv", in}, {"zembic.cid", " 0\n" + c.cid_line + "\n"}}});
    ASSERT_EQ(r1.status, 0) << r1.console;
    const std::string out1 = "Name" + S + c.head + S + "Mail\nAnn" + S + c.cell0 + S + "a@x\nBob" +
                             S + c.cell1 + S + "b@x\n";
    EXPECT_EQ(r1.file("out.csv"), out1);

    // A re-run over the output with a student who joined: the two earlier
    // identifiers are read back, the newcomer gets the next one.
    auto files = r1.files;
    files["r2.csv"] = out1 + "Cid" + S + S + "c@x\n";
    const RunResult r2 = run_in_folder(
        ZEMBIC_BIN, {.args = {"r2.csv", "out2.csv", "2", c.header, c.sep_arg, c.quot_arg, "12345"},
                     .files = files,
                     .keyboard = "C\n"});
    ASSERT_EQ(r2.status, 0) << r2.console;
    EXPECT_EQ(r2.file("out2.csv"), out1 + "Cid" + S + c.cell2 + S + "c@x\n");
  }
}

// Text that a UTF-16 roster cannot take, or that would break a CSV line
// where no quote character can quote it, ends the run before the output file
// is created, with a message naming where the text comes from.
TEST(Faults, AddedTextThatCannotBeWrittenIsRefusedBeforeTheOutput) {
  auto utf16le = [](const std::string& ascii) {
    std::string s = "\xFF\xFE";
    for (char c : ascii) s += std::string(1, c) + '\0';
    return s;
  };
  const std::string in = utf16le("Name,Mail\nAnn,a@x\n");
  struct Case {
    std::string cid_line, header, msg;
    std::string quot_arg = "-";
    std::string roster = "";  // the UTF-16 roster when empty
    std::string sep_arg = "-";
  };
  const std::string tail = ", which a UTF-16 input file needs";
  const Case cases[] = {
      {"\xE9" "1  ", "1AID", "Class ID is not UTF-8 text" + tail + ", in zembic.cid"},
      {"x7  ", "1A\xE9", "HEADER text is not UTF-8 text" + tail},
      {"a,b ", "1AID", "Separator or line end in the Class ID needs a quote character: zembic.cid",
       "N", "Name,Mail\nAnn,a@x\n"},
      {"x7  ", "1A;D", "Separator or line end in HEADER text needs a quote character", "N",
       "Name;Mail\nAnn;a@x\n", "S"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.msg);
    RunSpec s{.args = {"r.csv", "out.csv", "2", c.header, c.sep_arg, c.quot_arg, "12345"},
              .files = {{"r.csv", c.roster.empty() ? in : c.roster},
                        {"zembic.cid", " 0\n" + c.cid_line + "\n"}}};
    const RunResult r = run_in_folder(ZEMBIC_BIN, s);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(ends_with(r.console, fatal_line(c.msg))) << r.console;
    EXPECT_FALSE(r.has("out.csv"));
    EXPECT_FALSE(r.has("zembic.lcs"));
  }
  // The same bytes as UTF-8 text are fine: a UTF-8 letter and a digit.
  const RunResult ok = run_in_folder(
      ZEMBIC_BIN, {.args = {"r.csv", "out.csv", "2", "1AID", "-", "-", "12345"},
                   .files = {{"r.csv", in}, {"zembic.cid", " 0\n\xC3\xA9" "1 \n"}}});
  EXPECT_EQ(ok.status, 0) << ok.console;
}

}  // namespace
