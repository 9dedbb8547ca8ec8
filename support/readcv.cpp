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
// Speed: the bytes already in the input block (UTF-16 input: its ASCII
// characters) are taken 64 at a time where they can be, their separators
// and quotes found at once as bit masks (SSE2 where the compiler has it,
// else 8 bytes to a word), and copied into the row in one piece; the scan
// byte by byte sees the rest (CR, LF, the escape byte, which are searched
// for with memchr, and the first bytes of each row).  Both scans follow one
// set of quote rules (step), and the block scan is off with the decoder's
// word paths (set_word_paths) so that tests can hold the two against each
// other.
#include "readcv.h"

#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Where the row is in the quote rules.
enum class Quote : uint8_t {
  outside,   // not in a quoted field
  inside,    // in a quoted field
  closed,    // a quote seen inside a quoted field: it closed the field or starts a doubled one
  closed_cr  // a CR after a closing quote: only an LF may follow
};

// What a byte is to the quote rules (an LF outside a quoted field ends the
// row before it is classified; an escaped byte is data).
enum class Byte : uint8_t { data, cr, sep, quote };

// The row being read (the caller's results) and the scan's working values,
// all reset at every row start.
struct RowScan {
  char* bufchr;   // the caller's row buffer, bufchr(1..nbuf)
  int32_t nbuf;   // bytes in it
  int32_t ipos;   // insertion point (-1 until found)
  int32_t lpos;   // raw length of the column before it
  int32_t term;   // line end: 0 none (end of file), 1 LF, 2 CR LF
  Quote quote;        // the quote state
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

// Ends the column at the separator in position pos.
void end_column(const RowCall& c, RowScan& r, int32_t pos) {
  ++r.ncol;
  if (r.ncol == c.ncolf - 1 && r.ipos < 0) {  // (never with ncolf 0)
    r.ipos = pos - 1;
    r.lpos = r.ipos - r.lastsep;
  }
  r.prevsep = r.lastsep;
  r.lastsep = pos;
  r.quote = Quote::outside;
}

// The quote rules for the byte of class k in position pos, other than an LF
// that ends the row: the state moves on and the result is null, or the
// result is the message of the quoting error (the state stays as it was).
// The scan byte by byte takes every byte through here but an LF that ends
// the row; the block scan takes every separator and quote (in a quoted
// field every quote), and of each run of data bytes between them the first
// (a data byte changes no state: where step takes one, it takes the whole
// run).
inline const char* step(const RowCall& c, RowScan& r, Byte k, int32_t pos) {
  if (r.quote == Quote::inside) {
    if (k == Byte::quote) r.quote = Quote::closed;
    return nullptr;
  }
  if (r.quote == Quote::outside) {
    if (k == Byte::sep) {
      end_column(c, r, pos);
    } else if (k == Byte::quote) {
      // Only at the start of a column: the row start or just after a
      // separator that ended a column (an escaped one did not).
      if (r.lastsep != pos - 1) return "Bad quoting (started too late) in ";
      r.quote = Quote::inside;
    }
    return nullptr;
  }
  if (r.quote == Quote::closed_cr) return "Bad quoting (terminated before bare CR) in ";
  // A quote closed the field: a separator, CR or LF ends it, or a second
  // quote makes a doubled one.
  if (k == Byte::sep) {
    end_column(c, r, pos);
  } else if (k == Byte::cr) {
    r.quote = Quote::closed_cr;
  } else if (k == Byte::quote) {
    if (c.has_esc) return "Bad quoting (terminated before a quote) in ";
    r.quote = Quote::inside;
  } else {
    return "Bad quoting (terminated too early) in ";
  }
  return nullptr;
}

// The byte x in each byte of a word.
constexpr uint64_t repeated(char x) { return 0x0101010101010101ULL * static_cast<uint8_t>(x); }

// The high bit of each byte of w that equals the byte repeated in xs.
inline uint64_t equal_bytes(uint64_t w, uint64_t xs) {
  constexpr uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
  const uint64_t d = w ^ xs;
  return ~(((d & low7) + low7) | d | low7);
}

// The high bits of the 8 bytes of w gathered into the low 8 bits, byte i
// to bit i (the multiplier moves each one to bit 56 + i without carries).
inline uint64_t byte_bits(uint64_t w) { return ((w >> 7) * 0x0102040810204080ULL) >> 56; }

// The bytes that the block scan leaves to the scan byte by byte: the first
// CR, LF or escape byte in p[from..to), or to when there is none.  They are
// rare (about one of each per row), so they are searched for a stretch at a
// time (STOPSPAN bytes) rather than in every block.
constexpr int32_t STOPSPAN = 1024;
int32_t first_stop(const RowCall& c, const char* p, int32_t from, int32_t to) {
  const auto find = [&](char x) {
    if (const void* at = std::memchr(p + from, x, to - from)) {
      to = static_cast<int32_t>(static_cast<const char*>(at) - p);
    }
  };
  find('\n');
  find('\r');
  if (c.has_esc) find(c.esc);
  return to;
}

// Bytes taken at once by the block scan: one bit each in a word.
constexpr int32_t BLOCK = 64;

// The separators and quotes among the first `limit` (0 to BLOCK) bytes at p,
// as bit masks: bit i for the byte p[i].  Only those bytes are read; whole
// words are read as little-endian ones (the caller makes sure).
struct Marks {
  uint64_t seps;
  uint64_t quots;
};
inline Marks find_marks(const char* p, int32_t limit, char sep, char quot) {
  Marks m = {0, 0};
  int32_t i = 0;
#if defined(__SSE2__)
  const __m128i seps16 = _mm_set1_epi8(sep), quots16 = _mm_set1_epi8(quot);
#pragma GCC unroll 4
  for (; i + 16 <= limit; i += 16) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const auto bits = [](__m128i eq) {
      return uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(eq))};
    };
    m.seps |= bits(_mm_cmpeq_epi8(v, seps16)) << i;
    m.quots |= bits(_mm_cmpeq_epi8(v, quots16)) << i;
  }
#endif
  const uint64_t seps_x = repeated(sep), quots_x = repeated(quot);
  for (; i + 8 <= limit; i += 8) {
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    m.seps |= byte_bits(equal_bytes(w, seps_x)) << i;
    m.quots |= byte_bits(equal_bytes(w, quots_x)) << i;
  }
  for (; i < limit; ++i) {
    m.seps |= uint64_t{p[i] == sep} << i;
    m.quots |= uint64_t{p[i] == quot} << i;
  }
  return m;
}

// The first `limit` (1 to BLOCK) of the bytes at p, none of them a CR, LF or
// escape byte, the byte p[i] in position pos + i: their separators and
// quotes (find_marks) are taken through step in order, and the data bytes
// between them too where the state has a rule for data.  In a quoted field
// only the next quote is looked for: step takes a separator there as data.
// Returns the bytes taken: limit, or fewer when a quoting error is left to
// the scan byte by byte.
[[gnu::always_inline]] inline int32_t take_block(const RowCall& c, RowScan& r, const char* p,
                                                 int32_t limit, int32_t pos) {
  Marks m = find_marks(p, limit, c.sep, c.quot);  // those not taken yet
  int32_t next = 0;  // the block's first byte not taken yet
  for (;;) {
    const uint64_t left = r.quote == Quote::inside ? m.quots : m.seps | m.quots;
    if (left == 0) break;
    const int32_t j = std::countr_zero(left);
    // step takes a data byte without a change, or refuses it: it is asked
    // only when a data byte comes before this one.
    if (j != next && step(c, r, Byte::data, pos + next) != nullptr) return next;
    const uint64_t upto = left ^ (left - 1);  // bits 0 to j
    const Byte b = m.seps & upto & left ? Byte::sep : Byte::quote;
    if (step(c, r, b, pos + j) != nullptr) return j;
    next = j + 1;
    m.seps &= ~upto;
    m.quots &= ~upto;
  }
  if (next < limit && step(c, r, Byte::data, pos + next) != nullptr) return next;
  return limit;
}

// The n bytes at p (p[k] to take position base + k + 1), a block at a time
// (take_block) up to the first CR, LF or escape byte.  Returns the bytes
// taken; the byte after them (a CR, LF or escape byte, a quoting error, or
// none at the end of the n) is left to the scan byte by byte.
[[gnu::always_inline]] inline int32_t take_blocks(const RowCall& c, RowScan& r, const char* p,
                                                  int32_t n, int32_t base) {
  int32_t k = 0;
  while (k < n) {
    const int32_t to = n - k > STOPSPAN ? k + STOPSPAN : n;
    const int32_t stop = first_stop(c, p, k, to);
    while (k < stop) {
      // Full blocks are scanned with their size known at compile time.
      const int32_t limit = stop - k < BLOCK ? stop - k : BLOCK;
      const int32_t t = limit == BLOCK ? take_block(c, r, p + k, BLOCK, base + k + 1)
                                       : take_block(c, r, p + k, limit, base + k + 1);
      k += t;
      if (t < limit) return k;
    }
    if (stop < to) return k;
  }
  return k;
}

// The bytes in the input block that need no decoding one by one, taken a
// block at a time (take_blocks) and copied into the row as they are.  Anything
// else (the first bytes of a row, a pending escape, a full row buffer and
// what take_blocks leaves) is left to the scan byte by byte, which goes on
// after these bytes.
void scan_words(const RowCall& c, RowScan& r) {
  if (r.escp || r.nbuf < HEADMAX) return;
  for (;;) {  // once for 8-bit input, a run of ASCII characters at a time for UTF-16 input
    const char* p = nullptr;
    // UTF-16 input is narrowed straight into the row.
    int32_t n = plain_bytes(st.rd, c.lunit, p, r.bufchr + r.nbuf, c.bufmax - r.nbuf);
    if (n > c.bufmax - r.nbuf) n = c.bufmax - r.nbuf;
    if constexpr (std::endian::native != std::endian::little) n = 0;
    const int32_t base = r.nbuf;  // the byte p[k] takes position base + k + 1
    RowScan local = r;  // in registers while the blocks are scanned
    const int32_t k = take_blocks(c, local, p, n, base);
    r = local;
    if (k == 0) return;
    if (p != r.bufchr + base) std::memcpy(r.bufchr + base, p, k);
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
    scan_words(c, r);
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
      if (r.quote != Quote::inside) return RowEnd::line_feed;
      if (r.nbuf > 1 && r.bufchr[r.nbuf - 2] == '\r' && st.warncl == 0) {
        warn_lines({" ** WARNING: CRLF instead of LF inside a column of ", c.name});
        st.warncl = 1;
      }
      continue;
    }
    const Byte k = data          ? Byte::data
                   : b == '\r'   ? Byte::cr
                   : b == c.sep  ? Byte::sep
                   : b == c.quot ? Byte::quote
                                 : Byte::data;
    if (const char* bad = step(c, r, k, r.nbuf)) fatal2(bad, c.name);
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
  char head[HEADMAX] = {};
  check_block(lunit);

  RowScan r;
  for (;;) {  // one pass per row start (a mark or separator line restarts)
    r = {bufchr, 0, ncolf == 1 ? 0 : -1, 0, 0, Quote::outside, 0, 0, 0, false, false, false};
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
      if (r.quote == Quote::inside) fatal2("File ended inside a quoted string: ", c.name);
      if (r.quote == Quote::closed_cr) fatal2("Bad quoting (terminated before CR EOF) in ", c.name);
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
