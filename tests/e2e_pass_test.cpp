// Student-pass errors of whole runs: each ends the run before the offending
// row reaches the output file.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_harness.h"
#include "e2e_oracle.h"

namespace {

// The AID of shuffled position p for class 0 and seed 12345.
std::string aid_at(int p) {
  static const auto idorg = oracle::shuffled(12345, 232);
  return oracle::aids(0)[idorg[p]];
}
int sort_at(int p) { return oracle::shuffled(12345, 232)[p] + 1; }

// A run on class.csv with the identifier after the last column, class ID x,
// and the given limit-count-seed record.
RunResult run(const std::string& lcs, const std::string& header, const std::vector<std::string>& rows,
              const std::string& keyboard = "") {
  std::string in = header + "\r\n";
  for (const auto& r : rows) in += r + "\r\n";
  return run_in_folder(ZEMBIC_BIN, {.args = {"class.csv", "-", "0", header.find("AIDsort") != std::string::npos ? "1AIDsort" : "1AID"},
                                    .files = {{"class.csv", in},
                                              {"zembic.cid", " 0\nx   \n"},
                                              {"zembic.lcs", lcs + "\n"}},
                                    .keyboard = keyboard});
}

std::string last_line(const std::string& s) {
  const size_t e = s.size() - 1;
  return s.substr(s.rfind('\n', e - 1) + 1);
}

TEST(StudentPass, LimitReachedEndsTheRunAfterTheRowsThatFit) {
  RunResult r = run("New: 3, 0, 12345", "Name", {"Ann", "Bob", "Cy", "Dee"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(last_line(r.console), "\a*** Too many students in file class.csv!\n");
  EXPECT_EQ(r.file("new_class.csv"), "Name,AID\r\nAnn,x" + aid_at(0) + "\r\nBob,x" + aid_at(1) +
                                         "\r\nCy,x" + aid_at(2) + "\r\n");
  EXPECT_FALSE(r.has("zembic.htm"));
  EXPECT_EQ(r.file("zembic.lcs"), "New: 3, 0, 12345\n");  // no record for a failed run
}

TEST(StudentPass, RerunChecksEveryExistingAid) {
  const std::string a0 = "x" + aid_at(0), a1 = "x" + aid_at(1), a5 = "x" + aid_at(5);
  struct Case {
    std::vector<std::string> rows;
    std::string fatal;
    std::string out;  // rows written before the run ended
  };
  const Case cases[] = {
      {{"Ann," + a0, "Bob," + a0}, "Duplicate AID \"" + aid_at(0) + "\" in class.csv",
       "Ann," + a0 + "\r\n"},
      {{"Ann," + aid_at(0)}, "Bad AID \"" + aid_at(0) + "\" in class.csv", ""},
      {{"Ann," + a1 + "Q"}, "Bad AID \"" + a1 + "Q\" in class.csv", ""},
      {{"Ann,X" + aid_at(1)}, "Bad AID \"X" + aid_at(1) + "\" in class.csv", ""},
      {{"Ann, " + a1 + " ", "Bob," + a5}, "AID \"" + a5 + "\" not found in class.csv",
       "Ann, " + a1 + " \r\n"},
  };
  for (const Case& c : cases) {
    RunResult r = run(": 232, 3, 12345", "Name,AID", c.rows, "C\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(last_line(r.console), "\a*** " + c.fatal + "!\n");
    EXPECT_EQ(r.file("new_class.csv"), "Name,AID\r\n" + c.out);
  }
  // A cell cut at 256 bytes is shown up to the character that the cut splits.
  const std::string x254(254, 'x');
  RunResult r = run(": 232, 3, 12345", "Name,AID", {"Ann," + x254 + "\xE2\x82\xAC"}, "C\n");
  EXPECT_EQ(r.console.substr(r.console.rfind('\a')),
            "\a*** Bad AID \"" + x254 + "\" in \n    class.csv!\n");
}

TEST(StudentPass, RerunFillsEmptyCellsAndKeepsOthers) {
  const std::string a2 = "x" + aid_at(2);
  RunResult r = run(": 232, 3, 12345", "Name,AID", {"Ann,", "Bob," + a2, "Cy,\"\""}, "C\n");
  ASSERT_EQ(r.status, 0) << r.console;
  EXPECT_EQ(r.file("new_class.csv"), "Name,AID\r\nAnn,x" + aid_at(3) + "\r\nBob," + a2 +
                                         "\r\nCy,x" + aid_at(4) + "\r\n");
  EXPECT_NE(mask_stamp(r.file("zembic.lcs")).find("Limit, Used, and Seed: 232, 5, 12345\n"),
            std::string::npos);
  // No header line: the identifiers are the last column.
  r = run_in_folder(ZEMBIC_BIN, {.args = {"class.csv", "-", "0", "0"},
                                 .files = {{"class.csv", "Ann,\r\nBob," + a2 + "\r\n"},
                                           {"zembic.cid", " 0\nx   \n"},
                                           {"zembic.lcs", ": 232, 3, 12345\n"}},
                                 .keyboard = "C\n"});
  ASSERT_EQ(r.status, 0) << r.console;
  EXPECT_EQ(r.file("new_class.csv"), "Ann,x" + aid_at(3) + "\r\nBob," + a2 + "\r\n");
}

TEST(StudentPass, SortNumberCells) {
  const std::string s0 = std::to_string(sort_at(0)), s1 = std::to_string(sort_at(1));
  struct Case {
    std::string cell;
    std::string fatal;  // empty: accepted
  };
  const Case cases[] = {
      {"0" + s0 + ".00", ""},
      {s1 + ",", ""},
      {"007x", "Bad AID sort number \"7x\" in class.csv"},
      {"1234", "Bad AID sort number \"1234\" in class.csv"},
      {"233", "Bad AID sort number \"233\" in class.csv"},
      {"17.5", "Bad AID sort number \"17.5\" in class.csv"},
      {"0 0", "Bad AID sort number \"0\" in class.csv"},
      {std::to_string(sort_at(3)), "AID sort number \"" + std::to_string(sort_at(3)) +
                                       "\" should be unused in class.csv"},
      {std::string(254, 'x') + "\xE2\x82\xAC",
       "Bad AID sort number \"" + std::string(254, 'x') + "\" in \n    class.csv"},
  };
  for (const Case& c : cases) {
    RunResult r = run(": 232, 3, 12345", "Name,AIDsort", {"Ann,\"" + c.cell + "\""}, "C\n");
    if (c.fatal.empty()) {
      EXPECT_EQ(r.status, 0) << c.cell << r.console;
      EXPECT_EQ(r.file("new_class.csv"), "Name,AIDsort\r\nAnn,\"" + c.cell + "\"\r\n");
    } else {
      EXPECT_EQ(r.status, 1) << c.cell;
      EXPECT_EQ(r.console.substr(r.console.rfind('\a')), "\a*** " + c.fatal + "!\n");
    }
  }
}

}  // namespace
