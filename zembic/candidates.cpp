// Phase 12 of zembic: the AID candidate set, its table and the explanation.
#include "candidates.h"

#include <cstring>
#include <iterator>
#include <string_view>

#include "console_log.h"
#include "phases.h"
#include "zembic.h"
#include "text.h"

namespace {

constexpr int32_t NROW = 79;  // one table row: 16 entries of 4 bytes, 15 blanks

const std::string_view explanation[] = {
    "For a class size of 90 students, the probability for a random",
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
    "chosen to minimize the effect of commonly confused characters.",
};

}  // namespace

void build_aids(int32_t cls, char (&idstr)[CANDMAX][4], int32_t (&idorg)[CANDMAX],
                int32_t& nid) {
  const int32_t rot = (cls % 15 + 15) % 15;  // cls mod 15, never negative
  for (int32_t i = 0; i < NHALF; ++i) {
    for (int32_t j = 0; j < NHALF; ++j) {
      const int32_t c = j == 0 ? 0 : (j + rot - 1) % 15 + 1;  // middle character
      const int32_t m = (3 * j + i) % NHALF;                  // third character
      const int32_t k = NHALF * i + c;
      const bool starred = i == m || (i > m && (3 * j + m) % NHALF == i);
      idstr[k][0] = starred ? '*' : ' ';
      idstr[k][1] = digs[i];
      idstr[k][2] = digs[NHALF + c];
      idstr[k][3] = digs[m];
      idorg[k] = k;
    }
  }
  nid = NBUILT;
}

void drop_starred(char (&idstr)[CANDMAX][4], int32_t& nid) {
  int32_t n = 0;
  for (int32_t k = 0; k < nid && k < CANDMAX; ++k) {
    if (idstr[k][0] == '*') continue;
    std::memcpy(idstr[n], idstr[k], 4);
    ++n;
  }
  nid = n;
}

void phase_candidates(RunState& r, const ProgramDesc&) {
  build_aids(r.cls, r.idstr, r.idorg, r.nid);

  cempty();
  cline({"Sorted AID strings:"});
  // Read down the columns: row rw holds the strings with middle character rw.
  for (int32_t rw = 0; rw < NHALF; ++rw) {
    char row[NROW];
    std::memset(row, ' ', sizeof row);
    for (int32_t c = 0; c < NHALF; ++c) std::memcpy(row + 5 * c, r.idstr[NHALF * c + rw], 4);
    cline({std::string_view(row, NROW)});
  }
  cempty();

  drop_starred(r.idstr, r.nid);
  char count_text[12];
  cline({"Eliminated the starred AID strings.  AID strings left: ",
         num_text(r.nid, count_text, 4)});
  cempty();

  for (std::string_view line : explanation) conly({line});
  for (std::string_view line : explanation) lonly({line});
  cempty();
}
