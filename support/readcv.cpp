// readcv: reads one CSV row per call, quoted line ends included.
//
// A quote state machine runs over every byte.  The first row may be a
// separator line (sep=X), fixes the line-end kind and the column count that
// every later row must keep; one extra separator at the end of a row (as
// Blackboard exports have it) is removed.  The row is returned exactly as
// read, together with the insertion point in front of column ncolf.
//
// Two rules keep every returned row fit for csvfnd: a quote opens a quoted
// field only at the start of a column (never after an escaped separator
// byte), and an escape byte may not be the last byte of a row's text.
//
// Speed: the bytes that leave the state as it is (all but the separator,
// quote, escape, CR and LF; inside quotes all but quote, escape and LF) are
// copied from the input block in runs (UTF-16 input: its ASCII characters),
// and the separators and quotes between them take their common steps there
// too; the state machine sees the others one by one.
#include "readcv.h"

#include <bit>
#include <cstring>

#include "csvfnd.h"
#include "decoder.h"
#include "fatal.h"
#include "outbuf.h"

namespace {

// Per-run state of the CSV reader, kept between calls.
struct CsvState {
  ReaderState rd;  // line-end kind of the first row and the pending character
  int32_t colmax;  // column count of the first counted row (0 until then)
  int32_t warnbb;  // the extra-separator warning was given
  int32_t warncl;  // the CRLF-inside-a-column warning was given
};
CsvState st = {};

// What one call works with: the caller's arguments and the escape byte.
struct RowCall {
  std::string_view name;
  int32_t lunit;
  char& sep;  // the caller's: changes when the first row is a separator line
  char quot;
  bool has_esc;
  char esc;
  int32_t ncolf;
  int32_t bufmax;
};

// The row being read (the caller's results) and the scan's working values,
// all reset at every row start.
struct RowScan {
  char* bufchr;   // the caller's row buffer, bufchr(1..nbuf)
  int32_t nbuf;   // bytes in it
  int32_t ipos;   // insertion point (-1 until found)
  int32_t lpos;   // raw length of the column before it
  int32_t term;   // line end: 0 none (end of file), 1 LF, 2 CR LF
  int32_t state;      // 0 outside quotes, 1 inside, 2 a quote seen inside, 3 a CR after a closing quote
  int32_t ncol;       // columns ended so far
  int32_t lastsep;    // position of the last column-ending separator (0: none)
  int32_t prevsep;    // position of the one before it (0: none)
  bool escp;          // an escape byte came just before: the next byte is data
  bool escaped;       // the byte just read was escaped
  bool prev_escaped;  // the byte before it was
};

enum class RowEnd { restart, line_feed, file_end };

constexpr int32_t HEADMAX = 9;  // first bytes of the first row: mark and separator line

// The row is a separator line ("sep=X", also in double quotes, just before
// the line end): the position of X in head, else 0.
int32_t separator_line(const char* head, int32_t nbuf, int32_t term) {
  const int32_t q = nbuf == term + 7 && head[0] == '"' && head[6] == '"' ? 1 : 0;
  if (nbuf != term + 5 + 2 * q || head[3 + q] != '=') return 0;
  const auto is = [](char c, char upper) { return c == upper || c == upper + ('a' - 'A'); };
  if (!is(head[q], 'S') || !is(head[1 + q], 'E') || !is(head[2 + q], 'P')) return 0;
  return 5 + q;
}

// A separator that the reader and the column finder cannot agree on, or
// that the output could not quote.
bool unusable_separator(char x, char quot) {
  char esc;
  return x == '\r' || x == '\n' || x == '"' || x == quot || (csv_escape(esc) && x == esc);
}

// The bytes that the quote state machine must see one by one: outside
// quotes sep, quot, esc, CR and LF; inside quotes only quot, esc and LF.
// Made anew only when one of them changes (rows are short as often as long).
struct SpecialBytes {
  char sep, quot, esc;
  bool has_esc;
  bool made;
  bool outside[256];
  bool inside[256];
};
SpecialBytes special = {};

void mark_special(const RowCall& c) {
  if (special.made && special.sep == c.sep && special.quot == c.quot &&
      special.has_esc == c.has_esc && special.esc == c.esc) {
    return;
  }
  special.sep = c.sep;
  special.quot = c.quot;
  special.esc = c.esc;
  special.has_esc = c.has_esc;
  special.made = true;
  std::memset(special.outside, 0, sizeof special.outside);
  std::memset(special.inside, 0, sizeof special.inside);
  const auto mark = [](bool* is, char x) { is[static_cast<uint8_t>(x)] = true; };
  for (const char x : {c.quot, '\n'}) {
    mark(special.outside, x);
    mark(special.inside, x);
  }
  mark(special.outside, c.sep);
  mark(special.outside, '\r');
  if (c.has_esc) {
    mark(special.outside, c.esc);
    mark(special.inside, c.esc);
  }
}

// Index of the first of the n bytes at p that the state machine must see
// (outside quotes or inside them), n when there is none.  Whole 8-byte words
// are tested first: a byte equal to x is a zero byte of the word XOR x
// repeated, and the lowest marked byte of the test is always a true one.
int32_t plain_run(const char* p, int32_t n, bool outside) {
  constexpr uint64_t ones = 0x0101010101010101ULL;
  constexpr uint64_t highs = 0x8080808080808080ULL;
  const auto has = [](uint64_t w, char x) {
    const uint64_t d = w ^ (ones * static_cast<uint8_t>(x));
    return (d - ones) & ~d & highs;
  };
  // Without an escape byte the quote stands in for it (a second test of it).
  const char esc = special.has_esc ? special.esc : special.quot;
  int32_t k = 0;
  for (; k + 8 <= n; k += 8) {
    uint64_t w;
    std::memcpy(&w, p + k, 8);
    uint64_t hit = has(w, special.quot) | has(w, '\n') | has(w, esc);
    if (outside) hit |= has(w, special.sep) | has(w, '\r');
    if (hit == 0) continue;
    // The word's first byte is its lowest on a little-endian machine.
    if constexpr (std::endian::native == std::endian::little) {
      return k + std::countr_zero(hit) / 8;
    }
    break;
  }
  const bool* is = outside ? special.outside : special.inside;
  while (k < n && !is[static_cast<uint8_t>(p[k])]) ++k;
  return k;
}

// Ends the column at the separator in position nbuf.
void end_column(const RowCall& c, RowScan& r) {
  ++r.ncol;
  if (r.ipos < 0 && c.ncolf != 0 && r.ncol == c.ncolf - 1) {
    r.ipos = r.nbuf - 1;
    r.lpos = r.ipos - r.lastsep;
  }
  r.prevsep = r.lastsep;
  r.lastsep = r.nbuf;
  r.state = 0;
}

// One step of the quote state machine for a separator (is_sep) or quote at
// position pos, when it is a common one: a separator inside quotes is data,
// outside them it ends a column; a quote opens the quoted field of a column
// at its start, closes it, or is doubled in it.  False leaves the byte to the
// scan byte by byte (which ends the run where the quoting is bad).
bool common_step(const RowCall& c, RowScan& r, bool is_sep, int32_t pos) {
  if (is_sep) {
    if (r.state != 1) {
      r.nbuf = pos;
      end_column(c, r);
    }
    return true;
  }
  if (r.state == 0) {
    if (r.lastsep != pos - 1) return false;
    r.state = 1;
  } else if (r.state == 1) {
    r.state = 2;
  } else {
    if (c.has_esc) return false;
    r.state = 1;
  }
  return true;
}

// The high bit of each byte of w that equals x.
uint64_t equal_bytes(uint64_t w, char x) {
  constexpr uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
  const uint64_t d = w ^ (0x0101010101010101ULL * static_cast<uint8_t>(x));
  return ~(((d & low7) + low7) | d | low7);
}

// The common steps over the n bytes at p in whole 8-byte words (on a
// little-endian machine, where a word's first byte is its lowest): the
// separators and quotes of each word are found at once and stepped through
// up to the word's first CR, LF or escape byte.  Returns the bytes taken;
// stop tells that the byte after them is left to the scan byte by byte.
int32_t common_words(const RowCall& c, RowScan& r, const char* p, int32_t n, int32_t base,
                     bool& stop) {
  int32_t k = 0;
  for (; k + 8 <= n; k += 8) {
    uint64_t w;
    std::memcpy(&w, p + k, 8);
    const uint64_t seps = equal_bytes(w, c.sep);
    uint64_t other = equal_bytes(w, '\n') | equal_bytes(w, '\r');
    if (c.has_esc) other |= equal_bytes(w, c.esc);
    const int32_t limit = other != 0 ? std::countr_zero(other) / 8 : 8;
    uint64_t m = seps | equal_bytes(w, c.quot);
    if (limit < 8) m &= (uint64_t{1} << (8 * limit)) - 1;
    int32_t next = 0;  // the word's first byte not taken yet
    for (; m != 0; m &= m - 1) {
      const int32_t bit = std::countr_zero(m);
      const int32_t j = bit / 8;
      // After a closing quote only a separator, quote, CR or LF may follow.
      if (r.state == 2 && j != next) {
        stop = true;
        return k + next;
      }
      if (!common_step(c, r, (seps >> bit) & 1, base + k + j + 1)) {
        stop = true;
        return k + j;
      }
      next = j + 1;
    }
    if ((r.state == 2 && next < limit) || limit < 8) {
      stop = true;
      return k + (r.state == 2 ? next : limit);
    }
  }
  return k;
}

// The common steps of the quote state machine, taken over the bytes in the
// input block without decoding them one by one: runs of bytes that change
// no state, and the separators and quotes that common_step takes.  Anything
// else (the escape byte, CR, LF, a quoting error, the first bytes of the
// file, a full row buffer) is left to the scan byte by byte, which goes on
// after these bytes.
void scan_common(const RowCall& c, RowScan& r) {
  if (r.state == 3 || r.escp || r.nbuf < HEADMAX) return;
  for (;;) {  // once for 8-bit input, a staging area at a time for UTF-16 input
    const char* p = nullptr;
    int32_t n = plain_bytes(st.rd, c.lunit, p);
    if (n > c.bufmax - r.nbuf) n = c.bufmax - r.nbuf;
    const int32_t base = r.nbuf;  // the byte p[k] takes position base + k + 1
    int32_t k = 0;
    bool stop = false;
    if constexpr (std::endian::native == std::endian::little) {
      k = common_words(c, r, p, n, base, stop);
    }
    while (!stop && k < n) {
      if (r.state != 2) {
        k += plain_run(p + k, n - k, r.state == 0);
        if (k == n) break;
      }
      const char b = p[k];
      if (b == '\n' || b == '\r' || (c.has_esc && b == c.esc)) break;
      if ((b != c.sep && b != c.quot) || !common_step(c, r, b == c.sep, base + k + 1)) break;
      ++k;
    }
    r.nbuf = base;
    if (k == 0) return;
    std::memcpy(r.bufchr + base, p, k);
    r.nbuf = base + k;
    take_plain(k);
    r.prev_escaped = k == 1 && r.escaped;
    r.escaped = false;
    if (k < n) return;
  }
}

// The quote state machine over the bytes of one row: reads up to the line
// feed that ends the row (outside quotes), the end of the file, or a
// byte-order mark (the row starts again).
RowEnd scan_row(RowCall& c, RowScan& r, char* head) {
  for (;;) {
    scan_common(c, r);
    char b;
    if (next_decoded_byte(st.rd, c.name, c.lunit, b) != 0) return RowEnd::file_end;
    if (++r.nbuf > c.bufmax) fatal2("Bad quoting or row is too big to process in ", c.name);
    r.bufchr[r.nbuf - 1] = b;
    if (st.rd.term0 == 0 && r.nbuf <= HEADMAX) head[r.nbuf - 1] = b;
    r.prev_escaped = r.escaped;
    r.escaped = false;
    bool data = false;
    if (c.has_esc) {
      if (r.escp) {
        r.escp = false;
        r.escaped = data = true;
      } else if (b == c.esc) {
        r.escp = data = true;
      }
    }
    if (cmenc.enc == 0 && r.nbuf <= 3 && bom_check(head, r.nbuf, c.name)) return RowEnd::restart;
    if (!data && b == '\n') {
      if (r.state != 1) return RowEnd::line_feed;
      if (r.nbuf > 1 && r.bufchr[r.nbuf - 2] == '\r' && st.warncl == 0) {
        warn_lines({" ** WARNING: CRLF instead of LF inside a column of ", c.name});
        st.warncl = 1;
      }
      continue;
    }
    if (r.state == 3) fatal2("Bad quoting (terminated before bare CR) in ", c.name);
    if (data) {
      if (r.state == 2) fatal2("Bad quoting (terminated too early) in ", c.name);
    } else if (b == '\r') {
      if (r.state == 2) r.state = 3;
    } else if (b == c.sep) {
      if (r.state != 1) end_column(c, r);
    } else if (b == c.quot) {
      if (r.state == 0) {
        // Only at the start of a column: the row start or just after a
        // separator that ended a column (an escaped one did not).
        if (r.lastsep != r.nbuf - 1) fatal2("Bad quoting (started too late) in ", c.name);
        r.state = 1;
      } else if (r.state == 1) {
        r.state = 2;
      } else {
        if (c.has_esc) fatal2("Bad quoting (terminated before a quote) in ", c.name);
        r.state = 1;
      }
    } else if (r.state == 2) {
      fatal2("Bad quoting (terminated too early) in ", c.name);
    }
  }
}

// The first row that ends in LF fixes the line-end kind of the file (an LF
// alone is warned about) and may be a separator line: then the separator
// changes, the line goes to the output buffer as it is, and the result is
// true (the caller reads the next row).
bool first_row(RowCall& c, const RowScan& r, const char* head) {
  st.rd.term0 = r.term;
  if (r.term == 1) warn_lines({" ** WARNING: Unix, not Microsoft, CSV file: ", c.name});
  const int32_t x = separator_line(head, r.nbuf, r.term);
  if (x == 0) return false;
  if (unusable_separator(head[x - 1], c.quot)) {
    fatal2("Unusable separator in the separator line of ", c.name);
  }
  savbuf(r.nbuf, head);
  c.sep = head[x - 1];
  warn_lines({" ** Warning: CSV field separator set to \"", std::string_view(&c.sep, 1), "\""});
  mark_special(c);
  return true;
}

// Every row keeps the column count of the first one.  One column more is
// forgiven when it comes from a separator just before the line end (or the
// end of the file): that separator is removed, with one warning per run.
void check_column_count(const RowCall& c, RowScan& r) {
  if (st.colmax <= 0) st.colmax = r.ncol;
  if (r.ncol == st.colmax) return;
  const int32_t last = r.nbuf - r.term;
  if (r.ncol != st.colmax + 1 || r.lastsep != last || r.bufchr[last - 1] != c.sep) {
    fatal2("Variable number of columns in ", c.name);
  }
  if (st.warnbb == 0) {
    if (r.term != 0) {
      warn_lines({" ** Warning: Blackboard Bug: ", "Additional separator at the end of the line!"});
    } else {
      warn_lines({" ** Warning: ", "Additional separator at the end of file!"});
    }
    st.warnbb = 1;
  }
  for (int32_t i = last; i < r.nbuf; ++i) r.bufchr[i - 1] = r.bufchr[i];
  --r.nbuf;
  --r.ncol;
  r.lastsep = r.prevsep;
}

}  // namespace

void readcv(const char* fil, int32_t lfil, int32_t lunit, char& sep, char quot, int32_t ncolf,
            int32_t bufmax, int32_t& nbuf, int32_t& ipos, int32_t& lpos, char* bufchr,
            int32_t& term) {
  const std::string_view name = name_of(fil, lfil);
  if (ncolf < 0) fatal("readcv: bad number of column to find");
  char esc = 0;
  const bool has_esc = csv_escape(esc);
  RowCall c = {name, lunit, sep, quot, has_esc, esc, ncolf, bufmax};
  mark_special(c);
  char head[HEADMAX] = {};
  check_block(lunit);

  RowScan r;
  for (;;) {  // one pass per row start (a mark or separator line restarts)
    r = {bufchr, 0, ncolf == 1 ? 0 : -1, 0, 0, 0, 0, 0, 0, false, false, false};
    const RowEnd end = scan_row(c, r, head);
    if (end == RowEnd::restart) continue;
    if (end == RowEnd::line_feed) {
      no_mark_found();
      r.term = line_end_kind(r.nbuf, bufchr);
      if (r.term == 2 && r.prev_escaped) fatal2("Bad escape (at the end of a row) in ", c.name);
      if (st.rd.term0 == 0 && first_row(c, r, head)) continue;
      line_end_check(st.rd, r.term, c.name);
    } else {
      // End of the file before a character.
      if (r.state == 1) fatal2("File ended inside a quoted string: ", c.name);
      if (r.state == 3) fatal2("Bad quoting (terminated before CR EOF) in ", c.name);
      if (r.nbuf > 0 && r.escp) fatal2("Bad escape (at the end of a row) in ", c.name);
    }
    break;
  }
  if (r.nbuf > 0 || r.term != 0) {
    ++r.ncol;  // the last column
    check_column_count(c, r);
    if (r.ipos < 0) {
      if (ncolf != 0 && ncolf != r.ncol + 1) fatal2("Not enough columns in ", c.name);
      r.ipos = r.nbuf - r.term;
      r.lpos = r.ipos - r.lastsep;
    }
  }
  nbuf = r.nbuf;
  ipos = r.ipos;
  lpos = r.lpos;
  term = r.term;
}

void readcv_reset() { st = {}; }
