// Expected console and log pieces of whole varlon runs, built from the rules
// of each phase, with an independent model of the NAID candidate set.
#pragma once
#include <string>
#include <vector>

#include "e2e_expect.h"

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

// The end of a run through fatal: BEL on the console only.
inline void fatal(Expect& e, const std::string& msg) {
  e.console += "\a*** " + msg + "!\n";
  e.log += "*** " + msg + "!\n";
}

}  // namespace vexpect
