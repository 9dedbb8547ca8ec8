// List records: one line of at most 155 bytes per student tying the
// identifier to the student's name and login; the names list file in roster
// order and the identifier list file in candidate order (zembic's sort-number
// order, varlon's NAID order).
#include "list_records.h"

#include <cstring>
#include <string_view>

#include "arg_slots.h"
#include "console_log.h"
#include "csvfnd.h"
#include "fatal.h"
#include "io.h"
#include "row_cell.h"
#include "text.h"

namespace {

// The root-account mail-domain table: host of a Canvas root account and the
// e-mail domain of its students.  Set when configuring the build.
struct RootDomain {
  std::string_view host;
  std::string_view domain;
};
constexpr RootDomain root_domains[2] = {{ROOT_HOST1, ROOT_DOMAIN1}, {ROOT_HOST2, ROOT_DOMAIN2}};

// The length a Blackboard or Canvas record is fitted to, and the bytes that
// console and log show of any record.
constexpr int32_t RECFIT = 79;
// The shortest name that fitting leaves: shorter names are never cut.
constexpr int32_t NAMEMIN = 50;

// Column icol of the current row into fld (CELLBUF bytes): its first 256
// bytes, or fewer to leave out a character they would split, trimmed.
int32_t fetch(const RunState& r, int32_t icol, char* fld) {
  return fetch_cell(r, r.bufchr, r.nbuf, r.term, icol, fld, true);
}

// Appends bytes to the record under construction, never beyond RECMAX.
struct Rec {
  char* b;
  int32_t n = 0;
  void add(const char* s, int32_t l) {
    if (l <= 0) return;
    if (l > RECMAX - n) fatal("Program error 2330B");
    std::memcpy(b + n, s, l);
    n += l;
  }
  void add(std::string_view s) { add(s.data(), static_cast<int32_t>(s.size())); }
};

void write_names(const ProgramDesc& d, std::initializer_list<std::string_view> pieces) {
  if (!wline(LU_NAMES, pieces)) fatal(d.namerr);
}
void write_ids(const ProgramDesc& d, std::initializer_list<std::string_view> pieces) {
  if (!wline(LU_IDLIST, pieces)) fatal(d.iderr);
}

// What console and log show of record s: its first RECFIT bytes, less the
// start of a character that they would split.
std::string_view shown(const RunState& r, int32_t s) {
  const char* rec = r.idrec[s];
  const int32_t l = r.idrecl[s] <= RECFIT ? r.idrecl[s] : utf8_cut(rec, RECFIT, r.idrecl[s]);
  return {rec, static_cast<size_t>(l)};
}

// A name or login of len bytes shortened to n: its last 3 become "...", and
// so do the bytes kept of a character that the "..." cuts in two: the text
// keeps its length.
void ellipsis(char* s, int32_t n, int32_t len) {
  const int32_t k = utf8_cut(s, n - 3, len);
  std::memset(s + k, '.', n - k);
}

// The student's part of a Blackboard or Canvas list record: name, login and
// mail domain, before fitting.
struct StudentText {
  char name[FLDMAX + FLDMAX + 2];
  int32_t n = 0;
  char login[CELLBUF];
  int32_t l = 0;
  char dom[FLDMAX];
  int32_t dl = 0;
};

// Blackboard: "last, first", the username and the domain of the run.
void blackboard_text(const RunState& r, StudentText& t) {
  char last[CELLBUF], first[CELLBUF];
  const int32_t ll = fetch(r, r.col_last_name, last);
  if (ll <= 0) fatal2("Missing student last name in ", input_name(r));
  const int32_t lf = fetch(r, r.col_first_name, first);
  if (lf <= 0) fatal2("Missing student first name in ", input_name(r));
  if (ll + lf + 2 > FLDMAX) fatal2("Student name too long in ", input_name(r));
  std::memcpy(t.name, last, ll);
  std::memcpy(t.name + ll, ", ", 2);
  std::memcpy(t.name + ll + 2, first, lf);
  t.n = ll + lf + 2;
  t.l = fetch(r, r.col_username, t.login);
  if (t.l <= 0) fatal2("Missing student username in ", input_name(r));
  std::memcpy(t.dom, r.dom0, r.ldom0);
  t.dl = r.ldom0;
}

// Canvas: the student name, the login (when that column exists) and the
// domain of the run, or that of the student's root account when the table
// knows it.
void canvas_text(const RunState& r, StudentText& t) {
  t.n = fetch(r, r.col_student, t.name);
  if (t.n <= 0) fatal2("Missing Student Name in ", input_name(r));
  if (r.col_login > 0) {
    t.l = fetch(r, r.col_login, t.login);
    if (t.l <= 0) conly({" ** Missing Login ID!"});
  }
  std::memcpy(t.dom, r.dom0, r.ldom0);
  t.dl = r.ldom0;
  if (r.col_root <= 0) return;
  char root[FLDMAX];
  const int32_t lr = fetch_cell(r, r.bufchr, r.nbuf, r.term, r.col_root, root);
  if (lr <= 0) {
    conly({" ** Missing Root Account!"});
    return;
  }
  const std::string_view host(root, lr);
  for (const RootDomain& rd : root_domains) {
    if (host == rd.host) {
      std::memcpy(t.dom, rd.domain.data(), rd.domain.size());
      t.dl = static_cast<int32_t>(rd.domain.size());
      return;
    }
  }
}

// Fitting after a prefix of p bytes: RECFIT bytes when shortening the name
// alone achieves it without taking it below NAMEMIN bytes; otherwise the name
// is cut to NAMEMIN and the login last, up to RECMAX bytes.  Returns the
// record's length.
int32_t fit(StudentText& t, int32_t p) {
  const int32_t n0 = t.n, l0 = t.l;
  int32_t tot = p + t.n + t.l + t.dl + 3;
  if (tot > RECFIT && t.n - NAMEMIN >= tot - RECFIT) {
    t.n -= tot - RECFIT;
    ellipsis(t.name, t.n, n0);
    tot = RECFIT;
  } else if (tot > RECFIT) {
    if (t.n > NAMEMIN) {
      t.n = NAMEMIN;
      ellipsis(t.name, t.n, n0);
      tot = p + t.n + t.l + t.dl + 3;
    }
    if (tot > RECMAX) {
      const int32_t cut = tot - RECMAX;
      // The login must give up the whole excess and keep 3 bytes for "...".
      if (t.l - cut < 3) fatal("Program error 2330A");
      t.l -= cut;
      ellipsis(t.login, t.l, l0);
      tot = RECMAX;
    }
  }
  if (tot > RECMAX) fatal("Program error 2330A");
  return tot;
}

// Control characters show as "?": in CSV mode the whole record, bytes 0 to
// 31 and 127; for a plain text file the bytes after the prefix (p bytes),
// 0 to 31.
void mask_controls(const RunState& r, Rec& rec, int32_t p) {
  for (int32_t i = r.csv != 0 ? 0 : p; i < rec.n; ++i) {
    const unsigned char c = static_cast<unsigned char>(rec.b[i]);
    if (c <= 31 || (r.csv != 0 && c == 127)) rec.b[i] = '?';
  }
}

}  // namespace

void lists_open(RunState& r, const ProgramDesc& d) {
  openw(d.namfile, LU_NAMES);
  openw(d.idfile, LU_IDLIST);
  if (r.bb != 0 || r.canvas != 0) {
    const std::string_view cid(r.cid, r.lcid);
    write_names(d, {d.id.label, cid, d.id.ideal_names});
    write_ids(d, {d.id.label, cid, d.id.ideal_ids});
  }
}

void list_record(RunState& r, const ProgramDesc& d) {
  const int32_t s = r.id0;
  Rec rec{r.idrec[s]};
  // Prefix: zembic's " AID=", class ID, AID and ": " (class ID + 10 bytes);
  // varlon's " NAID=", class ID, NAID and ": " (class ID + 12 bytes).
  rec.add(d.id.label);
  rec.add(r.cid, r.lcid);
  rec.add(r.idstr[s] + d.id.offset, d.id.length);
  rec.add(": ");
  const int32_t p = rec.n;

  if (r.bb == 0 && r.canvas == 0) {
    // Other CSV and plain text: the row as read, cut at 155 bytes, or
    // before a character that the cut would split.
    int32_t body = r.nbuf - r.term;
    if (body > RECMAX - p) body = utf8_cut(r.bufchr, RECMAX - p, body);
    rec.add(r.bufchr, body);
  } else {
    StudentText t;
    if (r.bb != 0) {
      blackboard_text(r, t);
    } else {
      canvas_text(r, t);
    }
    const int32_t tot = fit(t, p);
    rec.add(t.name, t.n);
    rec.add(" (");
    rec.add(t.login, t.l);
    rec.add(t.dom, t.dl);
    rec.add(")");
    if (rec.n != tot) fatal("Program error 2330B");
  }
  mask_controls(r, rec, p);
  r.idrecl[s] = rec.n;
  cline({shown(r, s)});
  write_names(d, {std::string_view(r.idrec[s], static_cast<size_t>(rec.n))});
}

void lists_close(RunState& r, const ProgramDesc& d) {
  cempty();
  // With sort numbers, the sort number goes right after the prefix's colon;
  // otherwise the record goes unchanged.
  const IdentDesc& id = d.id;
  const int32_t k = static_cast<int32_t>(id.label.size()) + r.lcid + id.length + 1;
  for (int32_t s = 0; s < r.nid; ++s) {
    if (r.idrecl[s] <= 0) continue;
    cline({shown(r, s)});
    const std::string_view rec(r.idrec[s], static_cast<size_t>(r.idrecl[s]));
    if (!id.sort_numbers) {
      write_ids(d, {rec});
      continue;
    }
    char sort[12];
    write_ids(d, {view_part(rec, 0, k), num_text(s + 1, sort, 4), view_part(rec, k)});
  }
  cempty();
  if (!close_unit(LU_NAMES)) fatal(d.namerr);
  if (!close_unit(LU_IDLIST)) fatal(d.iderr);
}
