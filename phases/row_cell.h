// One cell of a CSV row, fetched with the quoting undone and trimmed.
#pragma once
#include <cstdint>

#include "arg_slots.h"
#include "csvfnd.h"
#include "text.h"

// Column icol of the row b(1..nbuf) (line end kind term) into fld (FLDMAX
// bytes), trimmed; returns its length, 0 for an empty or missing cell.
inline int32_t fetch_cell(const RunState& r, const char* b, int32_t nbuf, int32_t term,
                          int32_t icol, char* fld) {
  int32_t fndlt = -9, lcol, iend, jcol;
  csvfnd(BUFMAX, nbuf, b, term, sep_char(r), quot_char(r), icol, fndlt, fld, FLDMAX, lcol, iend,
         jcol);
  if (jcol <= 0) return 0;
  int32_t l = fndlt;
  trimlt(fld, l);
  return l;
}
