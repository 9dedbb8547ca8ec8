// Whole runs that end in phases 3 to 8: the input and output names, the
// options and the e-mail domain file.
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "e2e_harness.h"
#include "usage_text.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kStart = "Run date and time: ccyymmdd hhmmss.sss Shhmm\n\n";

struct UsageCase {
  Lines args;
  Lines files;      // empty files put into the folder
  Lines warnings;   // lines before the message
  Lines message;    // the message lines; none for a bare usage text
};

// The message lines, the one-blank line and the usage text, the same on the
// console and in the log; exit status 1.
void expect_usage_exit(const UsageCase& c) {
  RunResult r = run_in_folder(ZEMBIC_BIN, {.args = c.args, .setup = [&](const std::string& dir) {
    for (const std::string& f : c.files) {  // empty files, in subfolders too
      const std::filesystem::path p = std::filesystem::path(dir) / f;
      std::filesystem::create_directories(p.parent_path());
      std::ofstream{p};
    }
  }});
  std::string want = kStart + lines(c.warnings) + lines(c.message);
  if (!c.message.empty()) want += " \n";
  want += lines(kZembicUsage);
  std::string what = c.args.empty() ? "(no arguments)" : c.args[0];
  for (size_t i = 1; i < c.args.size(); ++i) what += " | " + c.args[i];
  EXPECT_EQ(r.status, 1) << what;
  EXPECT_EQ(mask_stamp(r.console), want) << what;
  EXPECT_EQ(mask_stamp(r.file("zembic.log")), want) << what;
}

struct FatalCase {
  Lines args;
  std::map<std::string, std::string> files;
  Lines warnings;      // console and log lines before the message
  Lines console_only;  // console lines right before the message
  std::string message;
};

void expect_fatal(const FatalCase& c, const std::function<void(const std::string&)>& setup = {}) {
  RunResult r = run_in_folder(ZEMBIC_BIN, {.args = c.args, .files = c.files, .setup = setup});
  std::string what = c.args.empty() ? "(no arguments)" : c.args[0];
  for (size_t i = 1; i < c.args.size(); ++i) what += " | " + c.args[i];
  EXPECT_EQ(r.status, 1) << what;
  EXPECT_EQ(mask_stamp(r.console), kStart + lines(c.warnings) + lines(c.console_only) + "\a*** " +
                                       c.message + "!\n")
      << what;
  EXPECT_EQ(mask_stamp(r.file("zembic.log")),
            kStart + lines(c.warnings) + "*** " + c.message + "!\n")
      << what;
}

TEST(E2eInputFiles, UsageExits) {
  const std::string two_1 = "*** ERROR: output file name must be specified if the";
  const std::string two_2 = "    input file name contains :, /, or \\!";
  const UsageCase cases[] = {
      {{}, {}, {}, {"*** No zembic... input file found!"}},
      {{"-", "out.csv"}, {"Zembic.csv", "zembic.CSV", "zembic_tsv.txt"}, {},
       {"*** No zembic... input file found!"}},
      {{""}, {}, {}, {"*** ERROR: Missing input file name!"}},
      {{"   ", "out.csv"}, {}, {}, {"*** ERROR: Missing input file name!"}},
      {{"-h"}, {}, {}, {}},
      {{"--help"}, {}, {}, {}},
      {{"/?"}, {}, {}, {}},
      {{"-h", "x"}, {}, {}, {"*** Input file not found: \"-h\""}},
      {{"roster.csv"}, {"Roster.csv"}, {}, {"*** Input file not found: \"roster.csv\""}},
      {{"rosters/fall.csv"}, {"rosters/fall.csv"}, {}, {two_1, two_2}},
      {{"c:r.csv"}, {"c:r.csv"}, {}, {two_1, two_2}},
      {{"a\\b.csv"}, {"a\\b.csv"}, {}, {two_1, two_2}},
      {{"my roster.csv"}, {"my roster.csv"}, {},
       {"*** ERROR: Spaces in the output file name are not allowed!"}},
      {{"a.csv", ""}, {"a.csv"}, {},
       {"*** ERROR: Spaces in the output file name are not allowed!"}},
      {{"a.csv", "b c.csv"}, {"a.csv"}, {},
       {"*** ERROR: Spaces in the output file name are not allowed!"}},
  };
  for (const UsageCase& c : cases) expect_usage_exit(c);
}

TEST(E2eInputFiles, Fatals) {
  const FatalCase cases[] = {
      {{}, {{"zembic.csv", ""}, {"zembic.txt", ""}}, {},
       {"Potential input file 1: zembic.csv", "Potential input file 2: zembic.txt"},
       "Remove/rename all but the correct file"},
      {{"-"}, {{"zembic.csv", ""}, {"zembic__sv.csv", ""}}, {},
       {"Potential input file 1: zembic.csv", "Potential input file 2: zembic__sv.csv"},
       "Remove/rename all but the correct file"},
      {{"a.csv", "a.csv"}, {{"a.csv", "x\n"}}, {}, {}, "Output file may not equal the input one"},
      {{"a.csv", "./a.csv"}, {{"a.csv", "x\n"}}, {}, {}, "Output file may not equal the input one"},
  };
  for (const FatalCase& c : cases) expect_fatal(c);
}

TEST(E2eOptions, UsageExits) {
  const Lines canvas = {" ** WARNING: Expecting a Canvas CSV file as this program knows it."};
  const UsageCase cases[] = {
      {{"a.txt", "-", "sk"}, {"a.txt"}, {}, {"*** Cannot kill columns in a plain text file!"}},
      {{"a.csv", "-", "Ek"}, {"a.csv"}, {}, {"*** Cannot kill columns in a plain text file!"}},
      {{"a.csv", "-", "3a"}, {"a.csv"}, {}, {"*** ERROR: bad digit in POS: \"A\"!"}},
      {{"a.txt", "-", "12x"}, {"a.txt"}, {}, {"*** ERROR: bad digit in POS: \"X\"!"}},
      {{"a.csv", "-", "-1"}, {"a.csv"}, {}, {"*** ERROR: bad digit in POS: \"-\"!"}},
      {{"a.csv", "-", "3 k"}, {"a.csv"}, {}, {"*** ERROR: bad digit in POS: \" \"!"}},
      {{"a.csv", "-", "2", "12"}, {"a.csv"}, {},
       {"*** ERROR: HEADER line count must be from 0 to 9!"}},
      {{"a.csv", "-", "-", "x"}, {"a.csv"}, canvas,
       {"*** ERROR: HEADER line count must be from 0 to 9!"}},
      {{"a.txt", "-", "-", ""}, {"a.txt"}, {},
       {"*** ERROR: HEADER line count must be from 0 to 9!"}},
      {{"a.txt", "-", "-", "-", "-", "d"}, {"a.txt"}, {},
       {"*** ERROR: a CSV quote character may only be specified in CSV mode!"}},
      {{"a.txt", "-", "e", "-", "-", "h"}, {"a.txt"}, {},
       {"*** ERROR: a CSV quote character may only be specified in CSV mode!"}},
      {{"a.csv", "-", "s", "-", "-", "d"}, {"a.csv"}, {" ** WARNING: CSV mode turned off."},
       {"*** ERROR: a CSV quote character may only be specified in CSV mode!"}},
  };
  for (const UsageCase& c : cases) expect_usage_exit(c);
}

TEST(E2eOptions, SeedThatGivesNoNumber) {
  for (const std::string seed : {"abc", "", "/", ",", "2*", "12abc", "4.5", "2147483648"}) {
    expect_usage_exit({{"a.csv", "-", "2", "-", "-", "-", seed}, {"a.csv"}, {}, {}});
  }
}

TEST(E2eOptions, Fatals) {
  const std::string bb = " ** WARNING: Expecting a Blackboard XLS file as this program knows it.";
  const std::string cv = " ** WARNING: Expecting a Canvas CSV file as this program knows it.";
  auto csv = [](Lines args) { return FatalCase{args, {{args[0], ""}}, {}, {}, ""}; };
  std::vector<std::pair<FatalCase, std::string>> cases = {
      {csv({"a.csv", "-", "1234567900"}), "POS is too big"},
      {csv({"a.csv", "-", "00001234567901k"}), "POS is too big"},
      {csv({"a.csv", "-", "b"}), "Blackboard requires a .xls input file, not a.csv"},
      {csv({"a.xls", "-", "ck"}), "Canvas mode requires a .csv input file, not a.xls"},
      {csv({"a.csv", "-", "2", "1"}), "Must have a column name in the header"},
      {csv({"a.csv", "-", "2", "1*"}), "Must have a column name in the header"},
      {csv({"a.csv", "-", "2", "2*,x"}), "Must have a column name in the header"},
      {csv({"a.txt", "-", "-", "1AIDsort"}),
       "Currently AID sort numbers are only implemented for CSV files"},
      {csv({"a.txt", "-", "e", "2AIDsort*,x"}),
       "Currently AID sort numbers are only implemented for CSV files"},
      {csv({"a.csv", "-", "2", "-", "tab"}), "The CSV separator must be a single byte"},
      {csv({"a.csv", "-", "2", "-", "n"}), "The CSV separator must be a single byte"},
      {csv({"a.csv", "-", "2", "-", "\""}), "The CSV separator cannot be double-quote"},
      {csv({"a.csv", "-", "2", "-", "-", "fd"}), "The CSV quote character must be a single byte"},
      {csv({"a.csv", "-", "2", "-", "s", ";"}), "The CSV quote character cannot be the separator"},
      {csv({"a.csv", "-", "2", "-", "-", "\\b"}),
       "The CSV quote character cannot be the escape one"},
      {csv({"a.csv", "-", "2", "-", "\\", "db"}),
       "The CSV separator cannot be the escape character"},
  };
  // The mode warnings come before the message that ends the run.
  FatalCase bb_count = csv({"a.xls", "-", "-", "2AID*,x"});
  bb_count.warnings = {bb};
  cases.push_back({bb_count, "Must have 1 header line in Blackboard mode"});
  FatalCase canvas_count = csv({"a.csv", "-", "-", "1AID"});
  canvas_count.warnings = {cv};
  cases.push_back({canvas_count, "Must have 2 header lines in Canvas mode"});
  FatalCase turned_on = csv({"a.txt", "-", "2", "-", "tab"});
  turned_on.warnings = {" ** WARNING: CSV mode turned on."};
  cases.push_back({turned_on, "The CSV separator must be a single byte"});
  FatalCase kill_off = csv({"roster_ssv.csv", "-", "1k", "-", "-", ";"});
  kill_off.warnings = {" ** WARNING: Unsupported kill turned off."};
  cases.push_back({kill_off, "The CSV quote character cannot be the separator"});

  for (auto& [c, message] : cases) {
    c.message = message;
    expect_fatal(c);
  }
}

TEST(E2eEmailDomain, BadFileEndsTheRunAfterTheOptions) {
  const std::string msg = "Error reading e-mail domain file email.txt";
  const Lines args = {"a.csv", "-", "2", "-", "-", "-", "42"};
  const std::string need_at = "E-mail domain must start with \"@\"!";
  const std::vector<std::pair<std::string, Lines>> cases = {
      {"example.edu\n", {need_at}},
      {"  example.edu @x\r\n@y.edu\n", {need_at}},
      {"", {}},
      {"\n@example.edu\n", {}},
      {" \t \r\n", {}},
  };
  for (const auto& [bytes, console_only] : cases) {
    expect_fatal({args, {{"a.csv", ""}, {"email.txt", bytes}}, {""}, console_only, msg});
  }
  expect_fatal({args, {{"a.csv", ""}}, {""}, {}, msg}, [](const std::string& dir) {
    ASSERT_EQ(mkdir((dir + "/email.txt").c_str(), 0755), 0);
  });
}

}  // namespace
