// One cell of a CSV row, fetched with the quoting undone and trimmed.
#pragma once
#include <cstdint>

#include "arg_slots.h"
#include "csvfnd.h"
#include "text.h"

// A cell fetched whole-character: its first FLDMAX bytes and the bytes after
// them that tell whether their end splits a character.
constexpr int32_t CELLBUF = FLDMAX + CUT_LOOKAHEAD;

// Column icol of the row b(1..nbuf) (line end kind term) into fld (FLDMAX
// bytes), trimmed; returns its length, 0 for an empty or missing cell.  With
// whole_chars fld holds CELLBUF bytes, and a longer cell's first FLDMAX bytes
// end before a character that they would split, before the trim.
inline int32_t fetch_cell(const RunState& r, const char* b, int32_t nbuf, int32_t term,
                          int32_t icol, char* fld, bool whole_chars = false) {
  int32_t fndlt = -9, lcol, iend, jcol;
  csvfnd(BUFMAX, nbuf, b, term, sep_char(r), quot_char(r), icol, fndlt, fld,
         whole_chars ? CELLBUF : FLDMAX, lcol, iend, jcol);
  if (jcol <= 0) return 0;
  int32_t l = fndlt <= FLDMAX ? fndlt : utf8_cut(fld, FLDMAX, fndlt);
  trimlt(fld, l);
  return l;
}
