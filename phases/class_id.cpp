// Phase 9: the Class ID file, with the class distinction number dialog and the
// class ID dialog when the file is missing; the read-back on every run.
#include "class_id.h"

#include <cstdio>
#include <cstring>

#include "arg_slots.h"
#include "console_log.h"
#include "fatal.h"
#include "io.h"
#include "keyboard.h"
#include "text.h"

namespace {

// An answer of the class distinction dialog: a number from 0 to max without
// leading zeros.
bool accepted_number(const char* a, int32_t n, int32_t max, int32_t& v) {
  if (n < 1 || (a[0] == '0' && n > 1)) return false;
  v = 0;
  for (int32_t i = 0; i < n; ++i) {
    if (a[i] < '0' || a[i] > '9') return false;
    v = 10 * v + (a[i] - '0');
  }
  return v <= max;
}

// The number field of line 1: blanks ignored; an optional sign before the
// digits; nothing but blanks (or a sign alone) is 0.
bool number_field(const char* s, int32_t n, int32_t& v) {
  bool neg = false;
  bool sign_allowed = true;
  v = 0;
  for (int32_t i = 0; i < n; ++i) {
    const char c = s[i];
    if (c == ' ') continue;
    if (sign_allowed && (c == '+' || c == '-')) {
      neg = c == '-';
      sign_allowed = false;
      continue;
    }
    if (c < '0' || c > '9') return false;
    sign_allowed = false;
    v = 10 * v + (c - '0');
  }
  if (neg) v = -v;
  return true;
}

// The lines before the first prompt of a dialog (console only).
void intro(std::span<const std::string_view> text) {
  for (std::string_view line : text) conly({line});
}

// One answer of a class dialog, trimmed, in r.cid(1..r.lcid); a lone "q" or
// "Q" ends the run.
void class_answer(RunState& r, std::string_view prompt) {
  ask_line(prompt, r.cid);
  r.lcid = ANSLEN;
  trimlt(r.cid, r.lcid);
  if (r.lcid == 1 && (r.cid[0] == 'q' || r.cid[0] == 'Q')) fatal("User quit");
}

void class_number_dialog(RunState& r, const ClassRules& rules) {
  intro(rules.cls_intro);
  for (;;) {
    class_answer(r, rules.cls_prompt);
    if (r.lcid == 0) continue;
    if (accepted_number(r.cid, r.lcid, rules.cls_max, r.cls)) return;
    conly({rules.cls_bad});
  }
}

// The first refused character of the answer, with its message; false when
// every character is accepted.
bool refused_class_id(const RunState& r, const ClassRules& rules) {
  const char sep = sep_char(r);
  const char quot = quot_char(r);
  for (int32_t i = 1; i <= r.lcid; ++i) {
    const unsigned char c = static_cast<unsigned char>(r.cid[i - 1]);
    if (c <= 31 || c == 127) {
      char code[12];
      conly({" *** ASCII control character ", num_text(c, code), " is illegal"});
      return true;
    }
    if (!rules.cid_char_ok(c, i, r.lcid, sep, quot)) {
      conly({"*** Character \"", std::string_view(&r.cid[i - 1], 1), "\" is illegal."});
      return true;
    }
  }
  return false;
}

void class_id_dialog(RunState& r, const ClassRules& rules) {
  intro(rules.cid_intro);
  for (;;) {
    class_answer(r, rules.cid_prompt);
    if (r.lcid > 3) continue;
    if (r.lcid == 0) {
      std::memset(r.cid, ' ', sizeof r.cid);
      return;
    }
    if (!refused_class_id(r, rules)) return;
  }
}

// Creates the Class ID file: line 1 the number, line 2 all 4 bytes of cid.
// The file appears only complete: a failed write leaves none.
void write_class_file(const RunState& r, const ClassRules& rules) {
  char bytes[12 + 1 + sizeof r.cid + 1];
  char num[12];
  const std::string_view n = num_text(r.cls, num, rules.cls_cols);
  std::memcpy(bytes, n.data(), n.size());
  size_t k = n.size();
  bytes[k++] = '\n';
  std::memcpy(bytes + k, r.cid, sizeof r.cid);
  k += sizeof r.cid;
  bytes[k++] = '\n';
  if (!create_whole(rules.cidfile, {bytes, k})) fatal(rules.writerr);
}

[[noreturn]] void read_failed(const ClassRules& rules) {
  close_unit(LU_INPUT);
  fatal(rules.readerr);
}

// The values in force: line 1 and line 2 of the file, on every run.
void read_class_file(RunState& r, const ClassRules& rules) {
  if (!open_lines(rules.cidfile, LU_INPUT)) fatal(rules.readerr);

  char line1[12];
  const int32_t cols = rules.cls_cols < 12 ? rules.cls_cols : 12;
  int32_t st = read_line_head(LU_INPUT, line1, cols);
  if (st == LINE_NONE || st == LINE_FAILED) read_failed(rules);
  if (!number_field(line1, cols, r.cls) || r.cls < 0 || r.cls > rules.cls_max) {
    read_failed(rules);
  }
  char num[12];
  cline({rules.cls_label, num_text(r.cls, num, rules.cls_label_cols)});

  // A last line without a line feed counts as a line.  The bytes after the
  // first ANSLEN tell whether their end splits a character.
  char line2[ANSLEN + CUT_LOOKAHEAD];
  st = read_line_head(LU_INPUT, line2, ANSLEN + CUT_LOOKAHEAD);
  if (st == LINE_NONE || st == LINE_FAILED) read_failed(rules);
  if (!close_unit(LU_INPUT)) fatal(rules.readerr);
  std::memcpy(r.cid, line2, ANSLEN);
  r.lcid = ANSLEN;
  trimlt(r.cid, r.lcid);
  if (r.lcid > 3) fatal(rules.readerr);
  // The class ID then ends before that character (after leading blanks it
  // ends where the cut is).
  const int32_t part = ANSLEN - utf8_cut(line2, ANSLEN, ANSLEN + CUT_LOOKAHEAD);
  if (part > 0) {
    r.lcid -= part;
    std::memset(r.cid + r.lcid, ' ', ANSLEN - r.lcid);
    trimlt(r.cid, r.lcid);
  }

  if (r.lcid == 0) {
    cline({"No class ID"});
  } else {
    cline({"Class ID: \"", std::string_view(r.cid, r.lcid), "\""});
  }
  cempty();
}

}  // namespace

void class_id_file(RunState& r, const ClassRules& rules) {
  const int32_t e = fexist_or_end(rules.cidfile);
  if (e == 0) {
    class_number_dialog(r, rules);
    class_id_dialog(r, rules);
    write_class_file(r, rules);
  }
  read_class_file(r, rules);
}
