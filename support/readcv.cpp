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
#include "readcv.h"

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

// Working values of the row being read; all reset at every row start.
struct RowScan {
  int32_t state;    // 0 outside quotes, 1 inside, 2 a quote seen inside, 3 a CR after a closing quote
  int32_t ncol;     // columns ended so far
  int32_t lastsep;  // position of the last column-ending separator (0: none)
  int32_t prevsep;  // position of the one before it (0: none)
  bool escp;        // an escape byte came just before: this byte is data
};

constexpr int32_t HEADMAX = 9;  // first bytes of the first row: mark and separator line

// Ends the column at the separator in position nbuf.
void end_column(RowScan& r, int32_t ncolf, int32_t nbuf, int32_t& ipos, int32_t& lpos) {
  ++r.ncol;
  if (ipos < 0 && ncolf != 0 && r.ncol == ncolf - 1) {
    ipos = nbuf - 1;
    lpos = ipos - r.lastsep;
  }
  r.prevsep = r.lastsep;
  r.lastsep = nbuf;
  r.state = 0;
}

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

}  // namespace

void readcv(const char* fil, int32_t lfil, int32_t lunit, char& sep, char quot, int32_t ncolf,
            int32_t bufmax, int32_t& nbuf, int32_t& ipos, int32_t& lpos, char* bufchr,
            int32_t& term) {
  const std::string_view name = name_of(fil, lfil);
  if (ncolf < 0) fatal("readcv: bad number of column to find");
  char esc = 0;
  const bool has_esc = csv_escape(esc);
  char head[HEADMAX] = {};

  for (;;) {  // one pass per row start (a mark or separator line restarts)
    ipos = ncolf == 1 ? 0 : -1;
    lpos = 0;
    nbuf = 0;
    term = 0;
    RowScan r = {0, 0, 0, 0, false};
    bool restart = false;
    bool ended = false;         // the row ended at an LF
    bool escaped = false;       // the byte just read was escaped
    bool prev_escaped = false;  // the byte before it was

    while (!restart && !ended) {
      char b;
      if (next_decoded_byte(st.rd, name, lunit, b) != 0) break;
      if (++nbuf > bufmax) fatal2("Bad quoting or row is too big to process in ", name);
      bufchr[nbuf - 1] = b;
      if (st.rd.term0 == 0 && nbuf <= HEADMAX) head[nbuf - 1] = b;
      prev_escaped = escaped;
      escaped = false;
      bool data = false;
      if (has_esc) {
        if (r.escp) {
          r.escp = false;
          escaped = data = true;
        } else if (b == esc) {
          r.escp = data = true;
        }
      }
      if (cmenc.enc == 0 && nbuf <= 3 && bom_check(head, nbuf, name)) {
        restart = true;
        continue;
      }
      if (!data && b == '\n') {
        if (r.state != 1) {
          ended = true;
          continue;
        }
        if (nbuf > 1 && bufchr[nbuf - 2] == '\r' && st.warncl == 0) {
          warn_lines({" ** WARNING: CRLF instead of LF inside a column of ", name});
          st.warncl = 1;
        }
        continue;
      }
      if (r.state == 3) fatal2("Bad quoting (terminated before bare CR) in ", name);
      if (data) {
        if (r.state == 2) fatal2("Bad quoting (terminated too early) in ", name);
      } else if (b == '\r') {
        if (r.state == 2) r.state = 3;
      } else if (b == sep) {
        if (r.state != 1) end_column(r, ncolf, nbuf, ipos, lpos);
      } else if (b == quot) {
        if (r.state == 0) {
          // Only at the start of a column: the row start or just after a
          // separator that ended a column (an escaped one did not).
          if (r.lastsep != nbuf - 1) fatal2("Bad quoting (started too late) in ", name);
          r.state = 1;
        } else if (r.state == 1) {
          r.state = 2;
        } else {
          if (has_esc) fatal2("Bad quoting (terminated before a quote) in ", name);
          r.state = 1;
        }
      } else if (r.state == 2) {
        fatal2("Bad quoting (terminated too early) in ", name);
      }
    }
    if (restart) continue;

    const char* repair_note = "Additional separator at the end of file!";
    const char* repair_head = " ** Warning: ";
    if (ended) {
      term = line_end_kind(nbuf, bufchr);
      if (term == 2 && prev_escaped) fatal2("Bad escape (at the end of a row) in ", name);
      if (st.rd.term0 == 0) {
        st.rd.term0 = term;
        if (term == 1) warn_lines({" ** WARNING: Unix, not Microsoft, CSV file: ", name});
        const int32_t x = separator_line(head, nbuf, term);
        if (x > 0) {
          if (unusable_separator(head[x - 1], quot)) {
            fatal2("Unusable separator in the separator line of ", name);
          }
          savbuf(nbuf, head);
          sep = head[x - 1];
          warn_lines({" ** Warning: CSV field separator set to \"", std::string_view(&sep, 1),
                      "\""});
          continue;
        }
      }
      line_end_check(st.rd, term, name);
      repair_note = "Additional separator at the end of the line!";
      repair_head = " ** Warning: Blackboard Bug: ";
    } else {
      // End of the file before a character.
      if (r.state == 1) fatal2("File ended inside a quoted string: ", name);
      if (r.state == 3) fatal2("Bad quoting (terminated before CR EOF) in ", name);
      term = 0;
      if (nbuf == 0) return;
      if (r.escp) fatal2("Bad escape (at the end of a row) in ", name);
    }

    ++r.ncol;  // the last column
    if (st.colmax <= 0) st.colmax = r.ncol;
    if (r.ncol != st.colmax) {
      // One extra separator that ended a column just before the line end.
      const int32_t last = nbuf - term;
      if (r.ncol != st.colmax + 1 || r.lastsep != last || bufchr[last - 1] != sep) {
        fatal2("Variable number of columns in ", name);
      }
      if (st.warnbb == 0) {
        warn_lines({repair_head, repair_note});
        st.warnbb = 1;
      }
      for (int32_t i = last; i < nbuf; ++i) bufchr[i - 1] = bufchr[i];
      --nbuf;
      --r.ncol;
      r.lastsep = r.prevsep;
    }
    if (ipos < 0) {
      if (ncolf != 0 && ncolf != r.ncol + 1) fatal2("Not enough columns in ", name);
      ipos = nbuf - term;
      lpos = ipos - r.lastsep;
    }
    return;
  }
}

void readcv_reset() { st = {}; }
