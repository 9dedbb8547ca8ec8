// Phases 4 to 7: POS, HEADER, SEP, QUOT and SEED become the run's modes and
// settings.
#include <string_view>

#include "arg_slots.h"
#include "console_log.h"
#include "fatal.h"
#include "free_form.h"
#include "outbuf.h"
#include "phases.h"
#include "run_state.h"
#include "text.h"

namespace {

constexpr char TAB = '\t';

// The separator that a letter names, in SEP and in the "_?sv" input names;
// 0 when the letter names none.  The letter is upper case already.
char sep_alias(char c) {
  switch (c) {
    case '_': return ' ';
    case 'C': return ',';
    case 'D': return ':';
    case 'P': return '|';
    case 'S': return ';';
    case 'T': return TAB;
    case 'V': return '|';
    default: return 0;
  }
}

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Extension code of the input's name: 1 ".xls", 2 ".csv", any letter case.
int32_t extension_code(const char* fin, int32_t lfin) {
  if (lfin <= 3 || fin[lfin - 4] != '.') return 0;
  const char e0 = upper(fin[lfin - 3]), e1 = upper(fin[lfin - 2]), e2 = upper(fin[lfin - 1]);
  if (e0 == 'X' && e1 == 'L' && e2 == 'S') return 1;
  if (e0 == 'C' && e1 == 'S' && e2 == 'V') return 2;
  return 0;
}

// POS as a column number.  Ends the run on a byte that is not a digit or on a
// number that grows past what 32 bits hold.
int32_t column_number(const ProgramDesc& d, const char* pos, int32_t lpos) {
  int32_t n = 0;
  for (int32_t i = 0; i < lpos; ++i) {
    const char c = pos[i];
    if (c < '0' || c > '9') {
      char line[40];
      const std::string_view byte(&c, 1);
      const std::string_view msg =
          join_line(line, sizeof line, {"*** ERROR: bad digit in POS: \"", byte, "\"!"});
      usage_exit(d, {msg});
    }
    if (n > 123456789) fatal("POS is too big");
    n = 10 * n + (c - '0');
  }
  return n;
}

}  // namespace

void phase_fold(RunState& r, const ProgramDesc&) {
  for (int32_t i = POS; i <= r.narg && i <= NARGS; ++i) {
    if (i == HEADER) continue;
    char* a = slot_bytes(r, i);
    for (int32_t j = 0; j < slot_len(r, i); ++j) {
      char c = upper(a[j]);
      if (i == SEP && sep_alias(c) != 0) {
        c = sep_alias(c);
      } else if (i == QUOT) {
        if (c == 'D') c = '"';
        else if (c == 'S') c = '\'';
        else if (c == 'N') c = '\0';
      }
      a[j] = c;
    }
  }
}

void phase_modes(RunState& r, const ProgramDesc& d) {
  r.ftype = extension_code(slot_bytes(r, FIN), slot_len(r, FIN));
  r.csv = r.ftype != 0 ? 1 : 0;
  r.bb = 0;
  r.canvas = 0;
  r.kill = 0;
  r.ncolf = 0;

  if (!arg_given(r, POS)) set_slot(r, POS, r.ftype == 1 ? "B" : r.ftype == 2 ? "CK" : "S");
  char* pos = slot_bytes(r, POS);
  int32_t& lpos = slot_len(r, POS);

  if (lpos > 1 && pos[lpos - 1] == 'K') {
    if (pos[0] == 'S' || pos[0] == 'E') {
      usage_exit(d, {"*** Cannot kill columns in a plain text file!"});
    }
    pos[--lpos] = ' ';
    r.kill = 1;
  }

  if (same_text(pos, lpos, "S") || same_text(pos, lpos, "E")) {
    r.ncolf = pos[0] == 'S' ? -1 : -2;
    if (r.csv == 1) {
      cline({" ** WARNING: CSV mode turned off."});
      r.csv = 0;
    }
  } else if (same_text(pos, lpos, "B")) {
    r.bb = 1;
    if (r.ftype != 1) fatal2("Blackboard requires a .xls input file, not ", input_name(r));
    cline({" ** WARNING: Expecting a Blackboard XLS file as this program knows it."});
    r.ncolf = 4;
  } else if (same_text(pos, lpos, "C")) {
    r.canvas = 1;
    if (r.ftype != 2) fatal2("Canvas mode requires a .csv input file, not ", input_name(r));
    cline({" ** WARNING: Expecting a Canvas CSV file as this program knows it."});
    r.ncolf = 3;
  } else {
    r.ncolf = column_number(d, pos, lpos);
    if (r.csv == 0) {
      cline({" ** WARNING: CSV mode turned on."});
      r.csv = 1;
    }
  }

  if (r.kill == 1 && r.ncolf <= 1) {
    cline({" ** WARNING: Unsupported kill turned off."});
    r.kill = 0;
  }
}

void phase_header(RunState& r, const ProgramDesc& d) {
  r.nhead = 0;
  r.star = 0;
  r.dosort = 0;
  for (int32_t i = 0; i < NHEADMAX; ++i) r.hnamof[i] = r.hnamlt[i] = 0;

  if (!arg_given(r, HEADER)) {
    set_slot(r, HEADER, r.bb == 1       ? d.hdr_bb
                        : r.canvas == 1 ? d.hdr_canvas
                        : r.csv == 1    ? d.hdr_csv
                                        : "0");
  }
  const char* head = slot_bytes(r, HEADER);
  const int32_t lhead = slot_len(r, HEADER);
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (!digit(head[0]) || (lhead > 1 && digit(head[1]))) {
    usage_exit(d, {"*** ERROR: HEADER line count must be from 0 to 9!"});
  }
  r.nhead = head[0] - '0';

  // The texts follow the count digit, separated by commas: text i has
  // hnamof(i) bytes of HEADER before it (so it starts at that index) and
  // hnamlt(i) bytes; once the texts run out the later ones are empty.
  int32_t p = 1;
  for (int32_t i = 0; i < r.nhead; ++i) {
    r.hnamof[i] = p;
    r.hnamlt[i] = lhead - p;
    if (r.hnamlt[i] <= 0) continue;
    int32_t k = 0;
    for (int32_t j = p; j < lhead; ++j) {
      if (head[j] == ',') {
        k = j - p + 1;
        break;
      }
    }
    if (k == 0) {
      p = lhead;
    } else {
      r.hnamlt[i] = k - 1;
      p += k;
    }
  }

  if (r.bb == 1 && r.nhead != 1) fatal("Must have 1 header line in Blackboard mode");
  if (r.canvas == 1 && r.nhead != 2) fatal("Must have 2 header lines in Canvas mode");

  if (r.nhead > 0) {
    if (r.hnamlt[0] > 0 && head[r.hnamof[0] + r.hnamlt[0] - 1] == '*') {
      r.star = 1;
      --r.hnamlt[0];
    }
    if (r.hnamlt[0] == 0) fatal("Must have a column name in the header");
    if (!d.sort.header.empty() &&
        std::string_view(head + r.hnamof[0], static_cast<size_t>(r.hnamlt[0])) == d.sort.header) {
      if (r.csv != 1) fatal(d.sort.not_csv);
      r.dosort = 1;
    }
  }
}

namespace {

// SEP: its default (the letter in a "_?sv" input name chooses the CSV
// separator), the H and N letters, and the bytes a CSV separator may not be.
void separator(RunState& r) {
  if (!arg_given(r, SEP)) {
    if (r.csv == 1) {
      const char* fin = slot_bytes(r, FIN);
      const int32_t n = slot_len(r, FIN);
      char s = r.ftype == 1 ? TAB : ',';
      // An input named like "roster_ssv.csv" names its separator: the letter
      // before "sv".
      if (n > 7 && fin[n - 8] == '_' && upper(fin[n - 6]) == 'S' && upper(fin[n - 5]) == 'V' &&
          fin[n - 4] == '.') {
        const char named = sep_alias(upper(fin[n - 7]));
        if (named != 0) s = named;
      }
      set_slot(r, SEP, std::string_view(&s, 1));
    } else {
      set_slot(r, SEP, ": ");
    }
  }
  char* sep = slot_bytes(r, SEP);
  int32_t& lsep = slot_len(r, SEP);
  if (sep[0] == 'H') sep[0] = '-';
  if (same_text(sep, lsep, "N")) lsep = 0;
  if (r.csv == 1) {
    if (lsep != 1) fatal("The CSV separator must be a single byte");
    if (sep[0] == '\n') fatal("The CSV separator cannot be LF");
    if (sep[0] == '\r') fatal("The CSV separator cannot be CR");
    if (sep[0] == '"') fatal("The CSV separator cannot be double-quote");
  }
}

// QUOT: its default, the B (backslash escape) and F (forced quoting) letters,
// and the bytes a CSV quote character may not be.
void quote(RunState& r, const ProgramDesc& d) {
  cmenc.esc = -1;
  r.doquot = 0;
  if (!arg_given(r, QUOT)) set_slot(r, QUOT, r.csv == 0 ? "-" : r.bb == 1 ? "\"F" : "\"");
  const char sep = sep_char(r);
  char* quot = slot_bytes(r, QUOT);
  int32_t& lquot = slot_len(r, QUOT);
  if (r.csv == 1) {
    if (lquot > 1 && quot[lquot - 1] == 'B') {
      cmenc.esc = '\\';
      quot[--lquot] = ' ';
    }
    if (lquot == 2 && quot[1] == 'F') {
      r.doquot = 1;
      quot[--lquot] = ' ';
    }
    if (quot[0] == 'H') quot[0] = '-';
    if (lquot != 1) fatal("The CSV quote character must be a single byte");
    if (quot[0] == '\n') fatal("The CSV quote character cannot be LF");
    if (quot[0] == '\r') fatal("The CSV quote character cannot be CR");
    if (quot[0] == sep) fatal("The CSV quote character cannot be the separator");
    if (static_cast<unsigned char>(quot[0]) == cmenc.esc) {
      fatal("The CSV quote character cannot be the escape one");
    }
    if (static_cast<unsigned char>(sep) == cmenc.esc) {
      fatal("The CSV separator cannot be the escape character");
    }
  } else if (!same_text(quot, lquot, "-")) {
    usage_exit(d, {"*** ERROR: a CSV quote character may only be specified in CSV mode!"});
  }
}

// SEED.  The text must give a value: read it twice from two different start
// values, so that forms that leave the value unset ("/", ",", "2*") are
// refused like text without digits.
void seed(RunState& r, const ProgramDesc& d) {
  r.seed = 1;
  if (!arg_given(r, SEED)) return;
  const char* text = slot_bytes(r, SEED);
  const int32_t ltext = slot_len(r, SEED);
  int32_t v0 = 0;
  int32_t v1 = 1;
  if (!rdints(text, ltext, 1, &v0) || !rdints(text, ltext, 1, &v1) || v0 != v1) {
    usage_exit(d, {});
  }
  r.seed = v0;
}

}  // namespace

void phase_sepquot(RunState& r, const ProgramDesc& d) {
  separator(r);
  quote(r, d);
  seed(r, d);
  cempty();
}
