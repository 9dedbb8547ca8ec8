// Phase 11: the roster's header lines.  Opens the input file, checks the
// columns of a Blackboard or Canvas roster, places the identifier column,
// finds an identifier column that the roster already has, and puts the header
// lines with their header texts into the output buffer.
#include <cstring>
#include <span>
#include <string_view>

#include "arg_slots.h"
#include "console_log.h"
#include "csvfnd.h"
#include "fatal.h"
#include "io.h"
#include "keyboard.h"
#include "outbuf.h"
#include "output_layout.h"
#include "phases.h"
#include "readcv.h"
#include "readfu.h"
#include "row_cell.h"
#include "text.h"

namespace {

constexpr std::string_view INDENT = "    ";
constexpr std::string_view NAME_INDENT = "       ";  // the file name in the blocks

// Header text i (1-based) of HEADER; with_star keeps the "*" that followed
// text 1 when there was one.
std::string_view header_text(const RunState& r, int32_t i, bool with_star) {
  if (i < 1 || i > NHEADMAX) fatal("Program error in header_text");
  const int32_t of = r.hnamof[i - 1];
  int32_t lt = r.hnamlt[i - 1];
  if (with_star && i == 1 && r.star) ++lt;
  if (of < 0 || of > FLDMAX || lt < 0 || lt > FLDMAX - of) fatal("Program error in header_text");
  return {slot_bytes(r, HEADER) + of, static_cast<size_t>(lt)};
}

// Looks up the column whose contents are `name` (a trailing "*" makes it a
// prefix) in header line 1, from column 1 on.  Returns its number, 0 for none;
// iend and lcol describe the column found.
int32_t find_column(const RunState& r, std::string_view name, int32_t& iend, int32_t& lcol) {
  char fnd[FLDMAX];
  const int32_t lfnd = static_cast<int32_t>(name.size() < FLDMAX ? name.size() : FLDMAX);
  std::memcpy(fnd, name.data(), lfnd);
  int32_t fndlt = lfnd;
  int32_t jcol = 0;
  csvfnd(BUFMAX, r.nbuf, r.bufchr, r.term, sep_char(r), quot_char(r), 1, fndlt, fnd, lfnd, lcol,
         iend, jcol);
  return jcol;
}

int32_t find_column(const RunState& r, std::string_view name) {
  int32_t iend, lcol;
  return find_column(r, name, iend, lcol);
}

// Puts the identifier column right after the column found (number jcol).
void place_after(RunState& r, int32_t jcol, int32_t iend, int32_t lcol) {
  r.ncolf = jcol;
  r.ipos = iend - 1;
  r.lpos = lcol;
}

void blackboard_columns(RunState& r, const ProgramDesc& d) {
  const std::string_view fin = input_name(r);
  r.col_last_name = find_column(r, "Last Name");
  if (r.col_last_name == 0) fatal2("Column 'Last Name' not found in ", fin);
  r.col_first_name = find_column(r, "First Name");
  if (r.col_first_name == 0) fatal2("Column 'First Name' not found in ", fin);
  int32_t iend, lcol;
  r.col_username = find_column(r, "Username", iend, lcol);
  if (r.col_username == 0) fatal2("Column 'Username' not found in ", fin);
  if (r.col_username < r.col_last_name || r.col_username < r.col_first_name) {
    fatal2("Column 'Username' in the wrong place in ", fin);
  }
  place_after(r, r.col_username, iend, lcol);
  // The identifier column goes after the rightmost of these too.
  for (std::string_view name : {"Student ID", "Last Access", "Availability"}) {
    const int32_t jcol = find_column(r, name, iend, lcol);
    if (jcol > r.ncolf) place_after(r, jcol, iend, lcol);
  }
  r.ncolf = r.ncolf + 1;
  if (r.dosort && d.feedback_notes) r.colnot = find_column(r, "Feedback to User");
}

void canvas_columns(RunState& r, const ProgramDesc& d) {
  const std::string_view fin = input_name(r);
  r.col_student = find_column(r, "Student");
  if (r.col_student == 0) fatal2("Column 'Student' not found in ", fin);
  r.col_login = find_column(r, "SIS Login ID");
  if (r.col_login == 0) conly({" ** Warning: Column 'SIS Login ID' not found"});
  r.col_root = find_column(r, "Root Account");
  if (r.col_root == 0) conly({" ** Warning: Column 'Root Account' not found"});
  int32_t iend, lcol;
  const int32_t section = find_column(r, "Section", iend, lcol);
  if (section == 0) fatal2("Column 'Section' not found in ", fin);
  if (section < r.col_student || section < r.col_login || section < r.col_root) {
    fatal2("Column 'Section' in the wrong place in ", fin);
  }
  place_after(r, section, iend, lcol);
  r.colnot = find_column(r, "Notes", iend, lcol);
  if (r.colnot > section) place_after(r, r.colnot, iend, lcol);
  r.ncolf = r.ncolf + 1;
  if (!r.dosort && !d.canvas_notes_always) r.colnot = 0;
}

// Writes a block of lines: the first line, the input file's name after 7
// blanks, then the fixed lines after 4 blanks each.
void write_block(void (*out)(std::initializer_list<std::string_view>), std::string_view first,
                 std::string_view name, std::string_view last, std::string_view fin,
                 std::span<const std::string_view> lines) {
  out({first, name, last});
  out({NAME_INDENT, fin});
  for (std::string_view line : lines) out({INDENT, line});
}

// The roster already has an identifier column, but this is a fresh assignment.
[[noreturn]] void abort_a(const RunState& r, const ProgramDesc& d, std::string_view name) {
  const std::string_view fin = input_name(r);
  for (auto out : {conly, lonly}) {
    write_block(out, "*** There is already a column '", name, "' in input file", fin, d.abort_a);
  }
  fatal("Must abort for the above reason");
}

// A re-run, but the roster has no identifier column.
[[noreturn]] void abort_b(const RunState& r, const ProgramDesc& d, std::string_view name) {
  const std::string_view fin = input_name(r);
  for (auto out : {conly, lonly}) {
    write_block(out, "*** Column '", name, "' not found in input file", fin, d.abort_b);
  }
  fatal("Must abort for the above reason");
}

// A re-run found the identifier column elsewhere than expected: the
// instructor accepts that column or quits.
void misplaced_column(const RunState& r, const ProgramDesc& d, std::string_view name) {
  char eb[12], fb[12];
  const std::string_view expected = num_text(r.ncolf, eb);
  const std::string_view found = num_text(r.oldcol, fb);
  conly({"*** Column '", name, "' in input file"});
  conly({NAME_INDENT, input_name(r)});
  conly({INDENT, "is in the wrong place:"});
  conly({INDENT, "Expected column number: ", expected});
  conly({INDENT, "Found at column number: ", found});
  conly({INDENT, "Will proceed using column number ", found});
  for (;;) {
    char answer[ANSLEN] = {' ', ' ', ' ', ' '};
    ask_word("    Enter the letter \"A\" to accept that or \"Q\" to quit: ", answer);
    if (answer_is(answer, 'A')) {
      lonly({d.accepted, found});
      return;
    }
    if (answer_is(answer, 'Q')) {
      fatal("User quit on column number error");
    }
  }
}

void csv_header(RunState& r, const ProgramDesc& d) {
  readcv(slot_bytes(r, FIN), slot_len(r, FIN), LU_INPUT, sep_char(r), quot_char(r), r.ncolf,
         BUFMAX, r.nbuf, r.ipos, r.lpos, r.bufchr, r.term);
  if (r.term == 0 && r.nbuf <= 0) fatal2("Input file is empty: ", input_name(r));
  if (r.bb) {
    blackboard_columns(r, d);
  } else if (r.canvas) {
    canvas_columns(r, d);
  }
  // An identifier column that the roster already has.
  const std::string_view name = header_text(r, 1, true);
  int32_t lcol;
  r.oldcol = find_column(r, name, r.iendid, lcol);
  if (r.new_ && r.oldcol > 0) abort_a(r, d, name);
  if (!r.new_) {
    if (r.oldcol == 0) abort_b(r, d, name);
    if (r.oldcol != r.ncolf && r.ncolf != 0) misplaced_column(r, d, name);
    r.ncolf = r.oldcol;
  }
  if (r.ncolf <= 1) r.kill = 0;
}

void text_header(RunState& r, const ProgramDesc& d) {
  readfu(slot_bytes(r, FIN), slot_len(r, FIN), LU_INPUT, BUFMAX, r.nbuf, r.bufchr, r.term);
  if (r.term == 0 && r.nbuf <= 0) fatal2("Input file is empty: ", input_name(r));
  const std::string_view name = header_text(r, 1, false);
  const std::string_view sep = slot_text(r, SEP);
  const int32_t n = static_cast<int32_t>(name.size());
  const int32_t lsep = static_cast<int32_t>(sep.size());
  if (r.term < 0 || r.term > r.nbuf) fatal("Program error in text_header");
  const int32_t t = r.nbuf - r.term;
  const std::string_view line(r.bufchr, static_cast<size_t>(t));
  r.oldcol = 0;
  if (t >= lsep + n) {
    if (r.ncolf == -1 && view_part(line, 0, n) == name && view_part(line, n, lsep) == sep) {
      r.oldcol = 1;
    } else if (r.ncolf == -2 && view_part(line, t - n) == name &&
               view_part(line, t - n - lsep, lsep) == sep) {
      r.oldcol = 2;
    }
  }
  if (r.new_ && r.oldcol != 0) abort_a(r, d, name);
  if (!r.new_ && r.oldcol == 0) abort_b(r, d, name);
}

// Whether the Student cell of the row b(1..nbuf) trimmed is exactly `text`.
bool student_cell_is(const RunState& r, const char* b, int32_t nbuf, int32_t term,
                     std::string_view text) {
  char fnd[FLDMAX];
  const int32_t l = fetch_cell(r, b, nbuf, term, r.col_student, fnd);
  return std::string_view(fnd, static_cast<size_t>(l)) == text;
}

// A current Canvas export with a manual posting policy has one more header
// row: header line 2 is the "Manual Posting" row (its Student cell empty, a
// "Manual Posting" cell under each such assignment) and the "Points
// Possible" row follows it.  Then the Points Possible row gets header text 2
// as header line 2 would (Canvas reads it as the points of the new column),
// header line 2 an empty identifier cell, and the run counts 3 header lines.
// Any other row read here waits in the row buffer for the student pass.  A
// re-run knows the row by its empty identifier cell (kill may have dropped
// the "Manual Posting" cells).  No other header line 2 makes the run read
// ahead, so the reader's warnings and errors about the next row come where
// they always did.  line2 is where header line 2 begins in the output buffer.
void points_possible_row(RunState& r, int32_t ncol, int32_t line2) {
  static char row[BUFMAX];
  if (!r.canvas || r.nhead != 2 || r.term == 0) return;
  if (!student_cell_is(r, r.bufchr, r.nbuf, r.term, "")) return;
  char cell[FLDMAX];
  const bool rerun_mark =
      !r.new_ && fetch_cell(r, r.bufchr, r.nbuf, r.term, r.ncolf, cell) == 0;
  if (find_column(r, "Manual Posting") == 0 && !rerun_mark) return;
  int32_t nbuf, ipos, lpos, term;
  readcv(slot_bytes(r, FIN), slot_len(r, FIN), LU_INPUT, sep_char(r), quot_char(r), ncol, BUFMAX,
         nbuf, ipos, lpos, row, term);
  const bool header =
      !(term == 0 && nbuf <= 0) && student_cell_is(r, row, nbuf, term, "Points Possible");
  if (header && r.new_) {
    cmsav.nsav = line2;
    insert_value(r, "", 0);
  }
  std::memcpy(r.bufchr, row, static_cast<size_t>(nbuf > 0 ? nbuf : 0));
  r.nbuf = nbuf;
  r.ipos = ipos;
  r.lpos = lpos;
  r.term = term;
  if (!header) {
    r.held = 1;
    return;
  }
  r.nhead = 3;
  if (r.new_) {
    const std::string_view v = header_text(r, 2, false);
    insert_value(r, v.data(), static_cast<int32_t>(v.size()));
  } else {
    copy_rerun(r, r.ipos + 1);
  }
}

// The header lines of the output: line 1 is in the row buffer, the others
// are read here.
void header_lines(RunState& r) {
  const std::string_view fin = input_name(r);
  // On a re-run ipos marks the end of the identifier column in later lines.
  const int32_t ncol = r.new_ ? r.ncolf : r.ncolf + 1;
  int32_t line2 = 0;
  for (int32_t i = 1; i <= r.nhead && i <= NHEADMAX; ++i) {
    if (i > 1) {
      // A line without line end was the last one: the file has ended.
      if (r.term == 0) fatal2("Missing header line in ", fin);
      if (r.csv) {
        readcv(slot_bytes(r, FIN), slot_len(r, FIN), LU_INPUT, sep_char(r), quot_char(r), ncol,
               BUFMAX, r.nbuf, r.ipos, r.lpos, r.bufchr, r.term);
      } else {
        readfu(slot_bytes(r, FIN), slot_len(r, FIN), LU_INPUT, BUFMAX, r.nbuf, r.bufchr, r.term);
      }
      if (r.term == 0 && r.nbuf <= 0) fatal2("Missing header line in ", fin);
    }
    if (i == 2) line2 = cmsav.nsav;
    if (r.new_) {
      const std::string_view v = header_text(r, i, false);
      insert_value(r, v.data(), static_cast<int32_t>(v.size()));
    } else {
      copy_rerun(r, i == 1 ? r.iendid : r.ipos + 1);
    }
  }
  if (r.csv) points_possible_row(r, ncol, line2);
}

}  // namespace

void phase_roster(RunState& r, const ProgramDesc& d) {
  const std::string_view fin = input_name(r);
  openru(fin, LU_INPUT);
  cline({"Reading file ", fin});
  cempty();
  if (r.nhead <= 0) return;
  if (r.csv) {
    csv_header(r, d);
  } else {
    text_header(r, d);
  }
  header_lines(r);
}
