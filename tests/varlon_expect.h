// Expected console and log pieces of whole varlon runs, built from the rules
// of each phase, with an independent model of the NAID candidate set.
#pragma once
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "e2e_expect.h"
#include "e2e_oracle.h"

namespace vexpect {

using expect::Expect;

// The NAIDs of class distinction digit cls in ascending order: four different
// digits, the check digit last, and no digit 5 below a later digit (of two
// numbers that exchange such digits only the larger one stays).
inline std::vector<std::string> naids(int cls) {
  std::vector<std::string> v;
  for (int n = 1000; n <= 9999; ++n) {
    const std::string s = std::to_string(n);
    int d[4];
    for (int i = 0; i < 4; ++i) d[i] = s[i] - '0';
    bool ok = d[3] == (7 * d[0] + d[1] + 3 * d[2] + cls) % 10;
    for (int i = 0; i < 4; ++i)
      for (int j = i + 1; j < 4; ++j) ok = ok && d[i] != d[j] && d[j] != d[i] + 5;
    if (ok) v.push_back(s);
  }
  return v;
}

inline void digit_dialog(Expect& e, int refused) {
  for (const char* l : {"You need to select a class distinction digit.",
                        "This is in case students in your class are also in another",
                        "class that uses NAID numbers.  Assuming that the other",
                        "class uses a different class distinction digit, there will",
                        "not be a problem if a student uses the NAID number from the",
                        "other class in yours, or vice versa.  In particular the",
                        "credit will not go to a wrong student.  If no other classes",
                        "use NAID numbers just enter 0."}) {
    e.con(l);
  }
  e.prompt("Enter your class distinction digit (q to quit): ");
  for (int i = 0; i < refused; ++i) {
    e.con("*** Bad digit.  Please reenter.");
    e.prompt("Enter your class distinction digit (q to quit): ");
  }
}

inline void class_id_intro(Expect& e) {
  for (const char* l : {" ", "You may also want to select a class ID number.",
                        "This may discourage students from entering the NAID of the",
                        "wrong class in the first place.  The ID number will be",
                        "prepended before the 4 digit NAID."}) {
    e.con(l);
  }
}

inline const std::string kNaidClassIdPrompt =
    "Enter no more than 3 digits as a Class ID number (q to quit): ";

inline void readback(Expect& e, int cls, const std::string& cid) {
  e.both("Class distinction digit: " + std::to_string(cls));
  e.both(cid.empty() ? "No class ID" : "Class ID: \"" + cid + "\"");
  e.both("");
}

inline void rerun_dialog(Expect& e, const std::string& fin, int idused) {
  e.con(" ** Program varlon has already run before in this folder,");
  e.con("    based on limit-count-seed file varlon.lcs.");
  e.con("    Varlon will merely add NAID values where still missing.");
  e.con("    Please make absolutely sure that input file");
  e.con("       " + fin);
  e.con("    is fully up to date and has the already assigned " + std::to_string(idused) + " NAID");
  e.con("    values in the appropriate column.  Enter the letter \"C\" to");
  e.con("    confirm that the input file is up to date or \"Q\" to quit.");
  e.prompt("    Enter \"C\" or \"Q\" as described above: ");
  e.lg(" ** User confirmed that the input file is up to date: " + fin);
  e.both("");
  e.both("");
}

// The candidate phase of digit cls, up to the stop before the NAID assignment.
inline void naid_report(Expect& e, int cls) {
  const int counts[10][3] = {{396, 104, 84}, {468, 52, 67},  {432, 74, 71}, {468, 52, 67},
                             {432, 74, 71},  {468, 104, 32}, {432, 74, 71}, {468, 52, 67},
                             {432, 74, 71},  {468, 52, 67}};
  const std::vector<std::string> v = naids(cls);
  const int nid = static_cast<int>(v.size());
  e.both("Rejected NAID numbers out of 900:");
  e.both("Two digits equal:" + expect::rjust(counts[cls][0], 4));
  e.both("Bad exchange of two adjacent  digits:" + expect::rjust(counts[cls][1], 4));
  e.both("Bad exchange of two separated digits:" + expect::rjust(counts[cls][2], 4));
  e.both("NAID numbers left:" + expect::rjust(nid, 4));
  e.both("");
  e.both("Sorted NAID values:");
  const int rows = (nid + 15) / 16;
  const int full = rows - (16 * rows - nid);
  for (int r = 0; r < rows; ++r) {
    std::string row;
    for (int c = 0; c < (r < full ? 16 : 15); ++c) row += v[c * rows + r] + " ";
    e.both(r < full ? row.substr(0, 79) : row);
  }
  e.both("");
  for (const char* l :
       {"For a class size of 90 students, the probability for a random",
        "four digit number to be a valid NAID is 1%.  However, hundreds",
        "of errors might be made in a whole class.  To reduce the",
        "chance of problems, the NAID values are chosen such that the",
        "following errors in an NAID never produce a valid other NAID:",
        "- Getting any single digit wrong, by student or grader, for", "  whatever reason.",
        "- Getting multiple instances of the same digit wrong, like",
        "  a grader misreading a weirdly written digit.", "- Swapping any two digits.",
        "- Increasing or decreasing up to 3 consecutive digits by a",
        "  unit, like in fingers shifted one unit with respect to the",
        "  keyboard while typing the NAID.",
        "But doing two or more of the above things at the same time",
        "might produce a wrong but valid NAID."}) {
    e.both(l);
  }
  e.both("");
}

// A varlon run: the class, the seed and the positions handed out before it.
struct Plan {
  int cls = 0;
  std::string cid;
  int32_t seed = 4242;
  int idused = 0;
  std::vector<std::string> naid;  // candidate index -> NAID
  std::vector<int> idorg;         // shuffled position -> candidate index
  // The NAID handed out at shuffled position k.
  const std::string& at(int k) const { return naid[idorg[k]]; }
  int nid() const { return static_cast<int>(naid.size()); }
};

inline Plan plan(int cls, const std::string& cid, int32_t seed, int idused = 0) {
  Plan p;
  p.cls = cls;
  p.cid = cid;
  p.seed = seed;
  p.idused = idused;
  p.naid = naids(cls);
  p.idorg = oracle::shuffled(seed, p.nid());
  return p;
}

// A table heading: a 3-character class ID is named in it, a shorter one
// stands in the items.
inline std::string heading(const Plan& p, const std::string& text) {
  return text + (p.cid.size() == 3 ? " (prefix \"" + p.cid + "\")" : "") + ":";
}

// Table rows of the shuffled positions from .. from+count-1, 10 a row.
inline void naid_rows(Expect& e, const Plan& p, int from, int count) {
  const std::string word = p.cid.size() == 3 ? "   " : expect::rjust(p.cid, 3);
  for (int k = 0; k < count; k += 10) {
    std::string row = "NAID:";
    for (int c = k; c < count && c < k + 10; ++c) row += word + p.at(from + c);
    e.both(row);
  }
}

inline void shuffle_table(Expect& e, const Plan& p) {
  e.both(" Seed used: " + std::to_string(p.seed));
  e.both("");
  e.both(heading(p, "Randomly resorted NAID values"));
  naid_rows(e, p, 0, p.nid());
  e.both("");
}

// The list record of the NAID handed out at shuffled position k.
inline std::string record(const Plan& p, int k, const std::string& body) {
  return " NAID=" + p.cid + p.at(k) + ": " + body;
}

// The lists after the last row; recs maps each NAID to its record.  Returns
// the identifier list file (Ideal Student record first when `ideal`).
inline std::string lists(Expect& e, const Plan& p, const std::map<std::string, std::string>& recs,
                         bool ideal) {
  std::string ids = ideal ? " NAID=" + p.cid + "1000: Ideal Student (instructor email)\n" : "";
  e.both("");
  for (const auto& [naid, rec] : recs) {
    e.both(rec.substr(0, 79));
    ids += rec + "\n";
  }
  e.both("");
  return ids;
}

// The first still unused NAIDs after the run handed out position idpos last,
// then the summary (`total` student rows; a fresh run when idused is 0).
inline void closing(Expect& e, const Plan& p, int idpos, int total) {
  e.both(heading(p, "First few still unused NAID numbers"));
  naid_rows(e, p, idpos + 1, std::min(20, p.nid() - 1 - idpos));
  e.both("");
  const int idnew = idpos - p.idused + 1;
  std::vector<std::string> sum;
  if (p.idused == 0) {
    sum.push_back("Number of NAID numbers assigned:" + expect::rjust(idnew, 4));
  } else {
    sum.push_back("Previous NAID numbers assigned:" + expect::rjust(p.idused, 4));
    sum.push_back("     New NAID numbers assigned:" + expect::rjust(idnew, 4));
    sum.push_back("Total student records written: " + expect::rjust(total, 4));
    if (total - idnew <= 0) sum.push_back(" ** WARNING: no previous NAID numbers found!");
  }
  if (idnew <= 0) sum.push_back(" ** WARNING: no new NAID numbers assigned!");
  for (const auto& l : sum) e.con(l);
  for (const auto& l : sum) e.lg(l);
  e.both("");
}

// A run that ended normally: its console, its log, the output roster fout and
// both list files.
inline void expect_finished(const RunResult& r, const Expect& e, const std::string& fout,
                            const std::string& out, const std::string& names,
                            const std::string& ids) {
  EXPECT_EQ(r.status, 0) << r.console;
  EXPECT_EQ(mask_stamp(r.console), e.console);
  EXPECT_EQ(mask_stamp(r.file("varlon.log")), e.log);
  EXPECT_EQ(r.file(fout), out);
  EXPECT_EQ(r.file("varlon.nam.txt"), names);
  EXPECT_EQ(r.file("varlon.aid.txt"), ids);
}

// The end of a run through fatal: BEL on the console only.
inline void fatal(Expect& e, const std::string& msg) {
  e.console += "\a*** " + msg + "!\n";
  e.log += "*** " + msg + "!\n";
}

}  // namespace vexpect
