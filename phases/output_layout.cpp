// The insertion rule: how a line of the input roster becomes a line of the
// output roster.  Every piece goes to the output buffer with savbuf, in order.
#include "output_layout.h"

#include "arg_slots.h"
#include "outbuf.h"

namespace {

// The current line r.bufchr(1..nbuf) split into its text and its line end,
// with the counts held inside the buffer whatever the state says.
struct Line {
  const char* bytes;
  int32_t nbuf;  // bytes with the line end
  int32_t text;  // bytes without the line end
};

Line current_line(const RunState& r) {
  int32_t nbuf = r.nbuf;
  if (nbuf < 0) nbuf = 0;
  if (nbuf > BUFMAX) nbuf = BUFMAX;
  int32_t term = r.term;
  if (term < 0) term = 0;
  if (term > nbuf) term = nbuf;
  return {r.bufchr, nbuf, nbuf - term};
}

int32_t clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

// Bytes a..b-1 (0-based, b exclusive) of the line.
void put_range(const Line& l, int32_t a, int32_t b) {
  a = clamp(a, 0, l.nbuf);
  b = clamp(b, a, l.nbuf);
  savbuf(b - a, l.bytes + a);
}

void put_line_end(const Line& l) { put_range(l, l.text, l.nbuf); }

// The added cell of a CSV line: the value, between quote bytes when forced.
void put_cell(const RunState& r, const char* v, int32_t lv) {
  const char quot = quot_char(r);
  if (r.doquot) savbuf(1, &quot);
  savbuf(lv, v);
  if (r.doquot) savbuf(1, &quot);
}

// The separator between the identifier and the line: one byte in CSV mode,
// the whole SEP string (possibly empty) for a plain text file.
void put_separator(const RunState& r) {
  const int32_t lsep = r.csv ? 1 : clamp(slot_len(r, SEP), 0, FLDMAX);
  savbuf(lsep, slot_bytes(r, SEP));
}

}  // namespace

void insert_value(const RunState& r, const char* v, int32_t lv) {
  const Line l = current_line(r);
  if (!r.csv) {
    if (r.ncolf == -2) {
      put_range(l, 0, l.text);
      put_separator(r);
      savbuf(lv, v);
      put_line_end(l);
    } else {
      savbuf(lv, v);
      put_separator(r);
      put_range(l, 0, l.nbuf);
    }
    return;
  }
  if (r.ncolf == 1) {
    put_cell(r, v, lv);
    put_separator(r);
    put_range(l, 0, l.nbuf);
    return;
  }
  const int32_t ipos = clamp(r.ipos, 0, l.text);
  put_range(l, 0, ipos);
  put_separator(r);
  put_cell(r, v, lv);
  if (r.kill) {
    put_line_end(l);
  } else {
    put_range(l, ipos, l.nbuf);
  }
}

void copy_rerun(const RunState& r, int32_t iend) {
  const Line l = current_line(r);
  if (!r.csv || !r.kill) {
    put_range(l, 0, l.nbuf);
    return;
  }
  // Position iend holds the separator after the identifier column (or the
  // first line-end byte): keep the bytes before it.
  put_range(l, 0, clamp(iend - 1, 0, l.text));
  put_line_end(l);
}

void replace_cell(const RunState& r, int32_t iend, int32_t lcol, const char* v, int32_t lv) {
  const Line l = current_line(r);
  // The cell occupies positions iend-lcol .. iend-1; the bytes before it stay.
  const int32_t after = clamp(iend - 1, 0, l.text);
  const int32_t before = clamp(after - lcol, 0, after);
  put_range(l, 0, before);
  put_cell(r, v, lv);
  if (r.kill) {
    put_line_end(l);
  } else {
    put_range(l, after, l.nbuf);
  }
}
