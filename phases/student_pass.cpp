// Phase 14: the student pass.  Creates the output file, writes the buffered
// header lines, then reads every student row once, gives it its identifier
// (a new one in shuffled order, or the one the roster already holds on a
// re-run), writes it, and hands the student to the list records.
#include <cstring>
#include <string_view>

#include "arg_slots.h"
#include "class_id.h"
#include "csvfnd.h"
#include "fatal.h"
#include "io.h"
#include "list_records.h"
#include "notes_column.h"
#include "outbuf.h"
#include "output_layout.h"
#include "phases.h"
#include "readcv.h"
#include "readfu.h"
#include "text.h"

namespace {

// A fatal2 message with a quoted text inside: head, text, tail, then the
// input file's name.
[[noreturn]] void fatal_quoted(const RunState& r, std::string_view head, const char* text,
                               int32_t ltext, std::string_view tail) {
  char msg[64 + FLDMAX];
  fatal2(join_line(msg, sizeof msg, {head, std::string_view(text, ltext), tail}), input_name(r));
}

// Candidate index of an identifier that an earlier run handed out: the
// shuffled positions 0 to idused-1 are searched in order (never beyond the
// candidate set), each candidate entry compared whole with the identifier in
// its place (zembic's behind a blank flag byte); -1 when none matches.
int32_t find_handed_out(const RunState& r, const ProgramDesc& d, const char* ident) {
  char key[4];
  std::memset(key, ' ', sizeof key);
  std::memcpy(key + d.id.offset, ident, d.id.length);
  const int32_t upto = r.idused < r.nid ? r.idused : r.nid;
  for (int32_t p = 0; p < upto; ++p) {
    if (std::memcmp(r.idstr[r.idorg[p]], key, sizeof key) == 0) return r.idorg[p];
  }
  return -1;
}

// The identifier characters of candidate s.
std::string_view ident(const RunState& r, const ProgramDesc& d, int32_t s) {
  return {r.idstr[s] + d.id.offset, static_cast<size_t>(d.id.length)};
}

// The next shuffled position: a new identifier for the current student.
void hand_out_new(RunState& r, const ProgramDesc& d) {
  r.idpos += 1;
  // The limit may come from a hand-written record; the shuffled order never
  // has more positions than candidates.
  if (r.idpos >= r.idlim || r.idpos >= r.nid) fatal2("Too many students in file ", input_name(r));
  r.id0 = r.idorg[r.idpos];
  if (r.csv != 0 && r.colnot > 0) notes_fill(r, d);
}

// The value of the identifier cell of candidate r.id0: the sort number in
// sort-number mode, else the class ID and the identifier.
int32_t cell_value(const RunState& r, const ProgramDesc& d, char* v) {
  if (r.dosort != 0) {
    int32_t lv;
    inttos(r.id0 + 1, v, 12, lv);
    return lv;
  }
  std::memcpy(v, r.cid, r.lcid);
  std::memcpy(v + r.lcid, r.idstr[r.id0] + d.id.offset, d.id.length);
  return r.lcid + d.id.length;
}

void put_new(RunState& r, const ProgramDesc& d) {
  hand_out_new(r, d);
  char v[16];
  const int32_t lv = cell_value(r, d, v);
  insert_value(r, v, lv);
}

// Sort-number mode: leading zeros and a decimal part of zeros go; an empty
// result means an empty cell.
void clean_sort_number(char* s, int32_t& l) {
  int32_t first = 0;
  while (first < l && s[first] == '0') ++first;
  if (first == l) {
    l = 0;
    return;
  }
  for (int32_t i = 0; i < first; ++i) s[i] = ' ';
  trimlt(s, l);
  drop_zero_decimals(s, l);
}

// The existing cell of a re-run row in sort-number mode: its candidate index,
// or -1 for an empty cell.  Messages leave out the last `split` bytes.
int32_t sort_number_candidate(const RunState& r, const SortDesc& sd, char* s, int32_t& l,
                              int32_t split) {
  clean_sort_number(s, l);
  if (l == 0) return -1;
  const int32_t shown = l - split;
  int32_t v = 0;
  for (int32_t i = 1; i <= l; ++i) {
    const char c = s[i - 1];
    if (i > 3 || c < '0' || c > '9') fatal_quoted(r, sd.bad, s, shown, "\" in ");
    v = 10 * v + (c - '0');
    if (v > r.nid) fatal_quoted(r, sd.bad, s, shown, "\" in ");
  }
  if (v < 1) fatal_quoted(r, sd.bad, s, shown, "\" in ");
  const int32_t id0 = v - 1;
  if (r.orgid[id0] >= r.idused) fatal_quoted(r, sd.unused, s, shown, "\" should be unused in ");
  return id0;
}

// The existing cell of a re-run row that holds an identifier (cleaned, not
// empty): its candidate index.  It must be the class ID and the identifier,
// and an earlier run must have handed that identifier out.  Messages leave
// out the last `split` bytes.
int32_t id_candidate(const RunState& r, const ProgramDesc& d, const char* s, int32_t l,
                     int32_t split) {
  if (l != r.lcid + d.id.length || std::memcmp(s, r.cid, r.lcid) != 0) {
    fatal_quoted(r, d.id.bad, s, l - split, "\" in ");
  }
  const int32_t id0 = find_handed_out(r, d, s + r.lcid);
  if (id0 < 0) fatal_quoted(r, d.id.not_found, s, l - split, "\" not found in ");
  return id0;
}

// A CSV row; read_now tells that readcv has just read it for column ncolf
// (not read ahead with the header lines), so r.ipos is its insertion point.
void csv_row(RunState& r, const ProgramDesc& d, bool read_now) {
  if (r.new_ != 0) {
    put_new(r, d);
    return;
  }
  // Re-run: the identifier column is column ncolf of every row.  The
  // insertion point is the separator in front of it: the columns before it
  // are not scanned again.
  // The cell's first FLDMAX bytes; the bytes after them tell whether that
  // cut splits a character, which messages then leave out (the checks see
  // all FLDMAX).
  char fnd[FLDMAX + CUT_LOOKAHEAD];
  int32_t fndlt = -9, lcol, iend, jcol;
  if (read_now) {
    csvfnd_from(r.ncolf <= 1 ? 0 : r.ipos + 1, BUFMAX, r.nbuf, r.bufchr, r.term, sep_char(r),
                quot_char(r), r.ncolf, fndlt, fnd, FLDMAX + CUT_LOOKAHEAD, lcol, iend, jcol);
  } else {
    csvfnd(BUFMAX, r.nbuf, r.bufchr, r.term, sep_char(r), quot_char(r), r.ncolf, fndlt, fnd,
           FLDMAX + CUT_LOOKAHEAD, lcol, iend, jcol);
  }
  if (lcol < 0) fatal(r.dosort != 0 ? d.sort.lost : d.id.lost_id);
  int32_t lf = fndlt;
  int32_t split = 0;
  if (lf > FLDMAX) {
    split = FLDMAX - utf8_cut(fnd, FLDMAX, lf);
    lf = FLDMAX;
  }
  trimlt(fnd, lf);
  if (r.dosort == 0 && d.id.clean != nullptr) d.id.clean(fnd, lf, r.lcid);
  const int32_t id0 = r.dosort != 0 ? sort_number_candidate(r, d.sort, fnd, lf, split)
                      : lf == 0     ? -1
                                    : id_candidate(r, d, fnd, lf, split);
  if (id0 < 0) {
    hand_out_new(r, d);
    char v[16];
    const int32_t lv = cell_value(r, d, v);
    replace_cell(r, iend, lcol, v, lv);
    return;
  }
  r.id0 = id0;
  if (r.colnot > 0) notes_fill(r, d);
  copy_rerun(r, iend);
}

// Plain text re-run: the candidate index of the identifier that the line
// already holds at its start or end, or -1.
int32_t text_candidate(const RunState& r, const ProgramDesc& d) {
  const char* b = r.bufchr;
  const int32_t len = r.nbuf - r.term;
  const int32_t m = slot_len(r, SEP);
  const char* sep = slot_bytes(r, SEP);
  const int32_t lc = r.lcid;
  const int32_t n = d.id.length;
  if (len < m + lc + n) return -1;
  const char* id;
  if (r.ncolf == -1) {
    if (std::memcmp(b, r.cid, lc) != 0 || std::memcmp(b + lc + n, sep, m) != 0) return -1;
    id = b + lc;
  } else {
    if (std::memcmp(b + len - lc - n - m, sep, m) != 0 ||
        std::memcmp(b + len - lc - n, r.cid, lc) != 0) {
      return -1;
    }
    id = b + len - n;
  }
  return find_handed_out(r, d, id);
}

void text_row(RunState& r, const ProgramDesc& d) {
  const int32_t id0 = r.new_ != 0 ? -1 : text_candidate(r, d);
  if (id0 < 0) {
    put_new(r, d);
    return;
  }
  r.id0 = id0;
  savbuf(r.nbuf, r.bufchr);
}

// Whether text added to a CSV line would break the line where no quote
// character can quote it (QUOT N): it holds the separator or a line end.
bool unquotable(const RunState& r, const char* s, int32_t l) {
  if (r.csv == 0 || quot_char(r) != '\0') return false;
  for (int32_t i = 0; i < l; ++i) {
    if (s[i] == sep_char(r) || s[i] == '\n' || s[i] == '\r') return true;
  }
  return false;
}

// Text that the run adds to the lines must be writable in the roster's
// encoding (a UTF-16 roster takes UTF-8 text only) and keep a CSV line's
// columns.  Checked before the output file replaces anything.
void check_added_text(const RunState& r, const ProgramDesc& d) {
  const std::string_view cidfile = d.class_rules->cidfile;
  if (r.dosort == 0 && !encodable(r.cid, r.lcid)) {
    fatal2("Class ID is not UTF-8 text, which a UTF-16 input file needs, in ", cidfile);
  }
  if (r.dosort == 0 && unquotable(r, r.cid, r.lcid)) {
    fatal2("Separator or line end in the Class ID needs a quote character: ", cidfile);
  }
  for (int32_t i = 0; i < r.nhead; ++i) {
    const char* text = slot_bytes(r, HEADER) + r.hnamof[i];
    if (!encodable(text, r.hnamlt[i])) {
      fatal("HEADER text is not UTF-8 text, which a UTF-16 input file needs");
    }
    if (unquotable(r, text, r.hnamlt[i])) {
      fatal("Separator or line end in HEADER text needs a quote character");
    }
  }
  if (!encodable(slot_bytes(r, SEP), r.csv != 0 ? 1 : slot_len(r, SEP))) {
    fatal("SEP is not UTF-8 text, which a UTF-16 input file needs");
  }
  const char quot = quot_char(r);
  if (r.csv != 0 && r.doquot != 0 && !encodable(&quot, 1)) {
    fatal("QUOT is not UTF-8 text, which a UTF-16 input file needs");
  }
}

}  // namespace

void phase_pass(RunState& r, const ProgramDesc& d) {
  const char* fin = slot_bytes(r, FIN);
  const int32_t lfin = slot_len(r, FIN);
  const char* fout = slot_bytes(r, FOUT);
  const int32_t lfout = slot_len(r, FOUT);

  check_added_text(r, d);
  openwu(std::string_view(fout, lfout), LU_OUTPUT);
  writfu(fout, lfout, LU_OUTPUT, cmsav.nsav, cmsav.savchr);
  cmsav.nsav = 0;
  lists_open(r, d);
  r.idpos = r.idused - 1;
  r.nrec = r.nhead;
  // A last header line without line end was the end of the file: the reader
  // has closed it and is not asked again.
  const bool ended = r.nhead > 0 && r.term == 0 && r.held == 0;

  while (!ended) {
    const bool read_now = r.held == 0;
    if (r.held != 0) {
      r.held = 0;
    } else if (r.csv != 0) {
      readcv(fin, lfin, LU_INPUT, sep_char(r), quot_char(r), r.ncolf, BUFMAX, r.nbuf, r.ipos,
             r.lpos, r.bufchr, r.term);
    } else {
      readfu(fin, lfin, LU_INPUT, BUFMAX, r.nbuf, r.bufchr, r.term);
    }
    if (r.term == 0 && r.nbuf <= 0) break;
    r.nrec += 1;
    if (r.csv != 0) {
      if (r.colnot > 0) notes_prefill(r, d);
      csv_row(r, d, read_now);
    } else {
      text_row(r, d);
    }
    // A second student with the same identifier: the row never reaches the
    // output file.
    if (r.idrecl[r.id0] > 0) {
      const std::string_view dup = ident(r, d, r.id0);
      fatal_quoted(r, d.id.duplicate, dup.data(), static_cast<int32_t>(dup.size()), "\" in ");
    }
    list_record(r, d);
    writfu(fout, lfout, LU_OUTPUT, cmsav.nsav, cmsav.savchr);
    cmsav.nsav = 0;
    if (r.term == 0) break;
  }

  writfu(fout, lfout, LU_OUTPUT, -1, cmsav.savchr);
  r.idnew = r.idpos - r.idused + 1;
  lists_close(r, d);
}
