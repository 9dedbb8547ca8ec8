// Phase 12 of varlon: the NAID candidate set, the counts of rejected numbers,
// the table of the set and the explanation.
#include <cstring>
#include <iterator>
#include <string_view>

#include "console_log.h"
#include "fatal.h"
#include "phases.h"
#include "text.h"
#include "varlon.h"

namespace {

constexpr int32_t NCOLS = 16;      // entries in a full table row
constexpr int32_t ROWMAX = 79;     // 16 entries of 4 digits and 15 blanks
constexpr int32_t COUNT_COLS = 4;  // the counts of the report, right-aligned

const std::string_view explanation[] = {
    "For a class size of 90 students, the probability for a random",
    "four digit number to be a valid NAID is 1%.  However, hundreds",
    "of errors might be made in a whole class.  To reduce the",
    "chance of problems, the NAID values are chosen such that the",
    "following errors in an NAID never produce a valid other NAID:",
    "- Getting any single digit wrong, by student or grader, for",
    "  whatever reason.",
    "- Getting multiple instances of the same digit wrong, like",
    "  a grader misreading a weirdly written digit.",
    "- Swapping any two digits.",
    "- Increasing or decreasing up to 3 consecutive digits by a",
    "  unit, like in fingers shifted one unit with respect to the",
    "  keyboard while typing the NAID.",
    "But doing two or more of the above things at the same time",
    "might produce a wrong but valid NAID.",
};

// The first rule (1 to 3) that the digits d(0..3) break, 0 for none.  An
// exchange of two digits that differ by 5 keeps the check digit; of two such
// numbers only the one with the larger digit first stays, so only a
// difference of -5 rejects.
int32_t broken_rule(const int32_t (&d)[4]) {
  for (int32_t i = 0; i < 4; ++i) {
    for (int32_t j = i + 1; j < 4; ++j) {
      if (d[i] == d[j]) return 1;
    }
  }
  if (d[0] - d[1] == -5 || d[1] - d[2] == -5 || d[2] - d[3] == -5) return 2;
  if (d[0] - d[2] == -5 || d[0] - d[3] == -5 || d[1] - d[3] == -5) return 3;
  return 0;
}

// A report line: the label, then v right-aligned in 4 columns.
void count_line(void (*out)(std::initializer_list<std::string_view>), std::string_view label,
                int32_t v) {
  char num[12];
  out({label, num_text(v, num, COUNT_COLS)});
}

void counts_report(const int32_t (&nrej)[NRULES], int32_t nid) {
  for (auto out : {conly, lonly}) {
    out({"Rejected NAID numbers out of 900:"});
    count_line(out, "Two digits equal:", nrej[0]);
    count_line(out, "Bad exchange of two adjacent  digits:", nrej[1]);
    count_line(out, "Bad exchange of two separated digits:", nrej[2]);
    count_line(out, "NAID numbers left:", nid);
  }
}

// The set read down the columns: the first rows hold 16 entries, the later
// ones 15 and a trailing blank.
void naid_table(const RunState& r) {
  const int32_t rows = (r.nid + NCOLS - 1) / NCOLS;
  const int32_t full = rows - (NCOLS * rows - r.nid);
  for (int32_t rw = 0; rw < rows; ++rw) {
    char row[ROWMAX];
    const int32_t ncols = rw < full ? NCOLS : NCOLS - 1;
    int32_t n = 0;
    for (int32_t c = 0; c < ncols; ++c) {
      const int32_t k = c * rows + rw;
      if (k < 0 || k >= r.nid || k >= CANDMAX) break;
      if (c > 0) row[n++] = ' ';
      std::memcpy(row + n, r.idstr[k], 4);
      n += 4;
    }
    if (ncols < NCOLS) row[n++] = ' ';
    cline({std::string_view(row, static_cast<size_t>(n))});
  }
}

}  // namespace

void build_naids(int32_t cls, char (&idstr)[CANDMAX][4], int32_t (&idorg)[CANDMAX], int32_t& nid,
                 int32_t (&nrej)[NRULES], int32_t cap) {
  if (cap > CANDMAX) cap = CANDMAX;
  nid = 0;
  for (int32_t& n : nrej) n = 0;
  for (int32_t d1 = 1; d1 <= 9; ++d1) {
    for (int32_t d2 = 0; d2 <= 9; ++d2) {
      for (int32_t d3 = 0; d3 <= 9; ++d3) {
        const int32_t d[4] = {d1, d2, d3, ((7 * d1 + d2 + 3 * d3 + cls) % 10 + 10) % 10};
        const int32_t rule = broken_rule(d);
        if (rule > 0) {
          ++nrej[rule - 1];
          continue;
        }
        if (nid + 1 > cap) fatal("Program error: out of ID storage");
        for (int32_t i = 0; i < 4; ++i) idstr[nid][i] = static_cast<char>('0' + d[i]);
        idorg[nid] = nid;
        ++nid;
      }
    }
  }
}

void phase_naid_candidates(RunState& r, const ProgramDesc&) {
  int32_t nrej[NRULES];
  build_naids(r.cls, r.idstr, r.idorg, r.nid, nrej);

  counts_report(nrej, r.nid);
  cempty();
  cline({"Sorted NAID values:"});
  naid_table(r);
  cempty();
  for (std::string_view line : explanation) conly({line});
  for (std::string_view line : explanation) lonly({line});
  cempty();
}
