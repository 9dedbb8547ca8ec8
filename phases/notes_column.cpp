// The Notes column of a CSV student row: resized to the width of its final
// text and prefilled when the row is read, filled once the candidate is known.
#include "notes_column.h"

#include <cstring>
#include <string_view>

#include "arg_slots.h"
#include "csvfnd.h"
#include "fatal.h"
#include "text.h"

void notes_prefill(RunState& r, const ProgramDesc& d) {
  // The Notes text: zembic's AID, a blank and the sort number in 3 digits;
  // varlon's NAID alone.
  const std::string_view pattern = d.id.notes_pattern;
  const int32_t notes_len = static_cast<int32_t>(pattern.size());
  int32_t fndlt = -1, lcol, iend, jcol;
  char none[1];
  csvfnd(BUFMAX, r.nbuf, r.bufchr, r.term, sep_char(r), quot_char(r), r.colnot, fndlt, none, 0,
         lcol, iend, jcol);
  if (lcol < 0 || iend < 0) {
    fatal2("Lost Notes column in ", input_name(r));
  }
  const int32_t q = r.doquot != 0 ? 1 : 0;
  r.bufnot = iend - lcol - 1 + q;
  const int32_t delta = notes_len + 2 * q - lcol;
  if (delta > 0 && r.nbuf + delta > BUFMAX) fatal("Out of record storage");
  // The rest of the row after the cell (positions iend..nbuf) moves by delta.
  if (delta != 0 && iend <= r.nbuf) {
    std::memmove(r.bufchr + iend - 1 + delta, r.bufchr + iend - 1, r.nbuf - iend + 1);
  }
  r.nbuf += delta;
  if (r.ncolf > r.colnot) r.ipos += delta;
  std::memcpy(r.bufchr + r.bufnot, pattern.data(), notes_len);
  if (q != 0) {
    r.bufchr[r.bufnot - 1] = quot_char(r);
    r.bufchr[r.bufnot + notes_len] = quot_char(r);
  }
}

void notes_fill(RunState& r, const ProgramDesc& d) {
  const IdentDesc& id = d.id;
  std::memcpy(r.bufchr + r.bufnot, r.idstr[r.id0] + id.offset, id.length);
  if (!id.sort_numbers) return;
  // The sort number over the zeros of "000": leading zeros stay.
  char buf[12];
  const std::string_view digits = num_text(r.id0 + 1, buf);
  if (digits.size() > 3) fatal("Program error in notes_fill");
  std::memcpy(r.bufchr + r.bufnot + id.notes_pattern.size() - digits.size(), digits.data(),
              digits.size());
}
