// The insertion rule: how a line of the input roster becomes a line of the
// output roster.  Every piece goes to the output buffer with savbuf, in order.
#include "output_layout.h"

#include "arg_slots.h"
#include "csvfnd.h"
#include "fatal.h"
#include "outbuf.h"

namespace {

// The current line r.bufchr(1..nbuf) split into its text and its line end.
struct Line {
  const char* bytes;
  int32_t nbuf;  // bytes with the line end
  int32_t text;  // bytes without the line end
};

// v, which the run's state keeps from lo to hi; any other value is a fault of
// the program and ends the run rather than writing a plausible line.
int32_t within(int32_t v, int32_t lo, int32_t hi) {
  if (v < lo || v > hi) fatal("Program error in output_layout");
  return v;
}

Line current_line(const RunState& r) {
  const int32_t nbuf = within(r.nbuf, 0, BUFMAX);
  return {r.bufchr, nbuf, nbuf - within(r.term, 0, nbuf)};
}

// Bytes a..b-1 (0-based, b exclusive) of the line.
void put_range(const Line& l, int32_t a, int32_t b) {
  within(a, 0, l.nbuf);
  within(b, a, l.nbuf);
  savbuf(b - a, l.bytes + a);
}

void put_line_end(const Line& l) { put_range(l, l.text, l.nbuf); }

// Whether byte c of an added value must be escaped inside its quotes: the
// quote character, and the escape character when one is in force.
bool escaped_byte(char c, char quot, bool has_esc, char esc) {
  return c == quot || (has_esc && c == esc);
}

// Whether the value would not stay one field of a CSV line as it is: it
// holds the separator, a line-end byte or a byte that must be escaped.  With
// no quote character (NUL) nothing can be quoted.
bool needs_quotes(const RunState& r, const char* v, int32_t lv, bool has_esc, char esc) {
  const char sep = sep_char(r);
  const char quot = quot_char(r);
  if (quot == '\0') return false;
  for (int32_t i = 0; i < lv; ++i) {
    if (v[i] == sep || v[i] == '\n' || v[i] == '\r' || escaped_byte(v[i], quot, has_esc, esc)) {
      return true;
    }
  }
  return false;
}

// The added cell of a CSV line: the value, between quote bytes when forced or
// when it needs them.  Inside, a quote byte is doubled; with an escape
// character in force, the escape byte goes before a quote or escape byte
// instead, as the row reader reads them back.
void put_cell(const RunState& r, const char* v, int32_t lv) {
  const char quot = quot_char(r);
  char esc = 0;
  const bool has_esc = csv_escape(esc);
  if (!r.doquot && !needs_quotes(r, v, lv, has_esc, esc)) {
    savbuf(lv, v);
    return;
  }
  const char mark = has_esc ? esc : quot;
  savbuf(1, &quot);
  int32_t from = 0;
  for (int32_t i = 0; i < lv; ++i) {
    if (!escaped_byte(v[i], quot, has_esc, esc)) continue;
    savbuf(i - from, v + from);  // up to the byte, then the mark and the byte
    savbuf(1, &mark);
    from = i;
  }
  savbuf(lv - from, v + from);
  savbuf(1, &quot);
}

// The separator between the identifier and the line: one byte in CSV mode,
// the whole SEP string (possibly empty) for a plain text file.
void put_separator(const RunState& r) {
  const int32_t lsep = r.csv ? 1 : within(slot_len(r, SEP), 0, FLDMAX);
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
  const int32_t ipos = within(r.ipos, 0, l.text);
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
  put_range(l, 0, within(iend - 1, 0, l.text));
  put_line_end(l);
}

void replace_cell(const RunState& r, int32_t iend, int32_t lcol, const char* v, int32_t lv) {
  const Line l = current_line(r);
  // The cell occupies positions iend-lcol .. iend-1; the bytes before it stay.
  const int32_t after = within(iend - 1, 0, l.text);
  const int32_t before = within(after - lcol, 0, after);
  put_range(l, 0, before);
  put_cell(r, v, lv);
  if (r.kill) {
    put_line_end(l);
  } else {
    put_range(l, after, l.nbuf);
  }
}
