// Expected console, log and files of whole zembic runs, built from the rules
// of each phase (shared by the whole-run tests).
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "class_dialog_text.h"
#include "e2e_harness.h"
#include "e2e_oracle.h"

namespace expect {

using oracle::rjust;

inline const std::string kDash74(74, '-');
inline const std::string kDash79 = " " + std::string(78, '-');

// Expected console and log of a run, built line by line.
struct Expect {
  std::string console, log;
  void both(const std::string& l) {
    console += l + "\n";
    log += l + "\n";
  }
  void con(const std::string& l) { console += l + "\n"; }
  void lg(const std::string& l) { log += l + "\n"; }
  void prompt(const std::string& p) { console += p; }
};

struct Student {
  std::string name, login;
};

// The run of zembic on a Canvas roster: the class, the seed and the state of
// the folder before the run.
struct Plan {
  int cls = 0;
  std::string cid;
  int32_t seed = 12345;
  int idused = 0;  // positions handed out by earlier runs
};

inline std::string word(const Plan& p) { return rjust(p.cid, 4); }

inline void start(Expect& e) {
  e.both("Run date and time: ccyymmdd hhmmss.sss Shhmm");
  e.both("");
}

inline void canvas_options(Expect& e) {
  e.both(" ** WARNING: Expecting a Canvas CSV file as this program knows it.");
  e.both("");
}

inline void class_dialog(Expect& e, const std::vector<std::string>& bad_numbers) {
  for (const std::string& l : kClassNumberIntro) e.con(l);
  e.prompt(kClassNumberPrompt);
  for (size_t i = 0; i < bad_numbers.size(); ++i) {
    e.con(kClassBadNumber);
    e.prompt(kClassNumberPrompt);
  }
  e.con(" ");
  for (const std::string& l : kClassIdIntro) e.con(l);
  e.prompt(kClassIdPrompt);
}

inline void class_readback(Expect& e, const Plan& p) {
  e.both("Class distinction number:" + rjust(p.cls, 4));
  e.both(p.cid.empty() ? "No class ID" : "Class ID: \"" + p.cid + "\"");
  e.both("");
}

inline void rerun_dialog(Expect& e, const std::string& fin, int idused, int prompts) {
  e.con(" ** Program zembic has already run before in this folder,");
  e.con("    based on limit-count-seed file zembic.lcs.");
  e.con("    Zembic will merely add AID data where still missing.");
  e.con("    Please make absolutely sure that input file");
  e.con("       " + fin);
  e.con("    is fully up to date and has the already assigned " + std::to_string(idused) + " AID");
  e.con("    strings in the appropriate column.  Enter the letter \"C\" to");
  e.con("    confirm that the input file is up to date or \"Q\" to quit.");
  for (int i = 0; i < prompts; ++i) e.prompt("    Enter \"C\" or \"Q\" as described above: ");
  e.lg(" ** User confirmed that the input file is up to date: " + fin);
  e.both("");
}

inline void candidates(Expect& e, int cls) {
  const auto built = oracle::built(cls);
  e.both("");
  e.both("Sorted AID strings:");
  for (int r = 0; r < 16; ++r) {
    std::string row;
    for (int c = 0; c < 16; ++c) row += (c ? " " : "") + built[16 * c + r];
    e.both(row);
  }
  e.both("");
  e.both("Eliminated the starred AID strings.  AID strings left:  232");
  e.both("");
  for (const char* l : {"For a class size of 90 students, the probability for a random",
                        "string of 3 case-insensitive alphanumeric characters to be a",
                        "valid AID is about 0.2%.  However, hundreds of errors might be",
                        "made in a whole class.  To reduce the chance of problems, the",
                        "AID strings are chosen such that the following errors in an",
                        "AID string never produce a valid other AID:",
                        "- Getting any single character wrong, by student or grader,",
                        "  for whatever reason.",
                        "- Getting multiple instances of the same character wrong,",
                        "  like a grader misreading a weirdly written character.",
                        "- Putting the characters in the wrong order.",
                        "But doing two or more of the above things at the same time",
                        "might produce a wrong but valid AID.",
                        "Note further that the modified order of the characters is",
                        "chosen to minimize the effect of commonly confused characters."}) {
    e.both(l);
  }
  e.both("");
}

inline std::string num_line(const std::vector<int>& idorg, int from, int n) {
  std::string s = "Num:";
  for (int c = 0; c < n; ++c) s += rjust(idorg[from + c] + 1, 7);
  return s;
}

inline std::string aid_line(const Plan& p, const std::vector<int>& idorg, int from, int n) {
  const auto a = oracle::aids(p.cls);
  std::string s = "AID:";
  for (int c = 0; c < n; ++c) s += word(p) + a[idorg[from + c]];
  return s;
}

inline void shuffle_table(Expect& e, const Plan& p) {
  const auto idorg = oracle::shuffled(p.seed, 232);
  e.both(" Seed used: " + std::to_string(p.seed));
  e.both("");
  e.both("Randomly resorted AID strings preceded by sort numbers:");
  for (int r = 0; r < 24; ++r) {
    const int n = r < 23 ? 10 : 2;
    e.lg(kDash74);
    e.both(num_line(idorg, 10 * r, n));
    e.both(aid_line(p, idorg, 10 * r, n));
  }
  e.lg(kDash74);
  e.both("");
}

inline void first_unused(Expect& e, const Plan& p, int idpos) {
  const auto idorg = oracle::shuffled(p.seed, 232);
  e.both("First few still unused AID strings preceded by sort numbers:");
  int rows = (232 - idpos + 8) / 10;
  if (rows > 2) rows = 2;
  for (int r = 0; r < rows; ++r) {
    const int q = idpos + 1 + 10 * r;
    const int n = std::min(10, 232 - 1 - idpos - 10 * r);
    e.lg(kDash79);
    e.both(num_line(idorg, q, n));
    e.both(aid_line(p, idorg, q, n));
  }
  e.lg(kDash79);
  e.both("");
}

// The list record of a Canvas student with candidate index s.
inline std::string record(const Plan& p, int s, const Student& st) {
  return " AID=" + p.cid + oracle::aids(p.cls)[s] + ": " + st.name + " (" + st.login +
         ROOT_DOMAIN1 + ")";
}

inline std::string with_sort(const Plan& p, const std::string& rec, int s) {
  const size_t k = p.cid.size() + 9;
  return rec.substr(0, k) + rjust(s + 1, 4) + rec.substr(k);
}

// The web page shows "&", "<" and ">" of the class ID as entities.
inline std::string web_page(const Plan& p, const std::vector<bool>& held) {
  const auto a = oracle::aids(p.cls);
  const size_t w = p.cid.size() + 3;
  std::string cid;
  for (const char c : p.cid)
    cid += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
  std::string h = lines({"<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">",
                         "<html>",
                         "<head><title>Find Your AID String from its Sort Number</title></head>",
                         "<body>",
                         "<h1 align=\"center\">Find Your AID String from its Sort Number</h1>",
                         "<table width=\"100%\" border=0 cellpadding=0 cellspacing=0>",
                         "<tbody align=center>"});
  for (int r = 0; r < 24; ++r) {
    if (r > 0) h += "<tr><td colspan=10><hr></td></tr>\n";
    std::string sorts = "<tr>", ids = "<tr>";
    for (int c = 0; c < 10; ++c) {
      const int s = 10 * r + c;
      sorts += "<td>" + (s < 232 ? rjust(s + 1, 3) : std::string(3, ' ')) + "</td>";
      ids += "<td>" +
             (s >= 232 ? std::string(w, ' ') : held[s] ? cid + a[s] : std::string(w, '_')) +
             "</td>";
    }
    h += sorts + "</tr>\n" + ids + "</tr>\n";
  }
  return h + lines({"</tbody>", "</table>", "</body>", "</html>"});
}

inline std::string text_table(const Plan& p, const std::vector<bool>& held) {
  const auto a = oracle::aids(p.cls);
  std::string t = lines({"Please first find your \"AIDsort\" number under your grades.",
                         "From that find your actual AID string in the table below.",
                         "Write that AID string *instead of your name* on all your",
                         "assignments and homeworks.   Keep it secret.", " ",
                         std::string(27, ' ') + "Table of AID Strings:"});
  for (int r = 0; r < 24; ++r) {
    const int n = r < 23 ? 10 : 2;
    std::string num = "Num:", ids = "AID:";
    for (int c = 0; c < n; ++c) {
      const int s = 10 * r + c;
      num += rjust(s + 1, 7);
      ids += held[s] ? word(p) + a[s] : std::string(7, ' ');
    }
    t += kDash74 + "\n" + num + "\n" + ids + "\n";
  }
  return t + kDash74 + "\n\n";
}


// After the last row: the records again in sort-number order (console and
// log), framed by empty lines; returns the identifier list file's lines.
inline std::string sorted_records(Expect& e, const Plan& p, const std::vector<std::string>& recs,
                                  const std::vector<bool>& held) {
  std::string ids;
  e.both("");
  for (int s = 0; s < 232; ++s) {
    if (!held[s]) continue;
    e.both(recs[s].substr(0, 79));
    ids += with_sort(p, recs[s], s) + "\n";
  }
  e.both("");
  return ids;
}

// From "Reading file" of the roster to the end of the shuffled table.
inline void roster_to_shuffle(Expect& e, const Plan& p, const std::string& fin) {
  e.both("Reading file " + fin);
  e.both("");
  candidates(e, p.cls);
  shuffle_table(e, p);
}

// The summary of a fresh assignment and its closing empty line.
inline void fresh_summary(Expect& e, int idnew) {
  for (const bool to_log : {false, true}) {
    const std::string n = "Number of AID strings assigned:" + rjust(idnew, 4);
    to_log ? e.lg(n) : e.con(n);
    if (idnew <= 0) {
      to_log ? e.lg(" ** WARNING: no new AID strings assigned!")
             : e.con(" ** WARNING: no new AID strings assigned!");
    }
  }
  e.both("");
}

// The end of a fresh run without a student: the empty listing, the first
// unused table, the input file warning with its empty line, the summary.
inline void no_student_end(Expect& e, const Plan& p, const std::string& warning) {
  e.both("");
  e.both("");
  first_unused(e, p, -1);
  e.both(warning);
  e.both("");
  fresh_summary(e, 0);
}

}  // namespace expect
