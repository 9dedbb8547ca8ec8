// Phase 10: the limit-count-seed file and the re-run confirmation.
//
// Every non-blank line of the file is a record; the last one is in force.
// The text after the first ":" holds limit, used count and seed as a
// free-form list of integers.  The ":" stands in column 38 of the records the
// program writes ("ccyymmdd hhmmss Limit, Used, and Seed: ..."), in column 4 of
// a hand-written restart record ("new:" or "New:") and in column 1 of a
// hand-written short record.
#include <cstdio>
#include <cstring>

#include "arg_slots.h"
#include "console_log.h"
#include "fatal.h"
#include "free_form.h"
#include "io.h"
#include "keyboard.h"
#include "phases.h"
#include "text.h"

namespace {

constexpr int32_t LCSLEN = 79;     // columns of a record that count
constexpr int32_t COLON_RUN = 38;  // column of the ":" in a record a run writes

[[noreturn]] void read_failed(const ProgramDesc& d) {
  close_unit(LU_LCSREAD);
  fatal(d.lcs_readerr);
}

bool all_blank(const char* s, int32_t n) {
  for (int32_t i = 0; i < n; ++i) {
    if (s[i] != ' ') return false;
  }
  return true;
}

// Echoes one record and takes its values.  The echo shows its first keep
// bytes and blanks in place of the rest of a character split by the cut at
// LCSLEN.
void process_record(RunState& r, const ProgramDesc& d, const char* rec, int32_t keep) {
  char echo[LCSLEN];
  std::memcpy(echo, rec, LCSLEN);
  std::memset(echo + keep, ' ', LCSLEN - keep);
  cline({std::string_view(echo, LCSLEN)});
  if (rec[0] == '\xFE' || rec[1] == '\xFE') {
    close_unit(LU_LCSREAD);
    fatal(d.lcs_utf16);
  }
  const void* colon = std::memchr(rec, ':', LCSLEN);
  const int32_t p =
      colon == nullptr ? 0 : static_cast<int32_t>(static_cast<const char*>(colon) - rec) + 1;
  if (p == 4) {
    if (std::memcmp(rec, "new:", 4) != 0 && std::memcmp(rec, "New:", 4) != 0) read_failed(d);
  } else if (p != 1 && p != COLON_RUN) {
    read_failed(d);
  }
  r.new_ = p == 4 ? 1 : 0;
  int32_t vals[3] = {r.idlim, r.idused, r.seed};
  const bool ok = rdints(rec + p, LCSLEN - p, 3, vals);
  r.idlim = vals[0];
  r.idused = vals[1];
  r.seed = vals[2];
  if (!ok) read_failed(d);
}

void read_records(RunState& r, const ProgramDesc& d) {
  cline({d.lcs_reading});
  if (!open_lines(d.lcsfile, LU_LCSREAD)) fatal(d.lcs_readerr);
  r.idused = -1;  // no record yet

  // The first 79 characters of the line buffer; the bytes after them tell
  // whether the cut splits a character.
  char* rec = r.bufchr;
  for (;;) {
    const int32_t st = read_line_head(LU_LCSREAD, rec, LCSLEN + CUT_LOOKAHEAD);
    if (st == LINE_FAILED) read_failed(d);
    if (st == LINE_NONE) break;
    int32_t keep = utf8_cut(rec, LCSLEN, LCSLEN + CUT_LOOKAHEAD);
    if (st == LINE_LF && std::memcmp(rec, "\xEF\xBB\xBF", 3) == 0) {
      std::memmove(rec, rec + 3, LCSLEN - 3);
      std::memset(rec + LCSLEN - 3, ' ', 3);
      if (keep < LCSLEN) keep -= 3;
    }
    if (!all_blank(rec, LCSLEN)) process_record(r, d, rec, keep);
    if (st == LINE_LAST) break;
  }
  if (r.idused < 0) read_failed(d);
  if (!close_unit(LU_LCSREAD)) fatal(d.lcs_readerr);
}

void confirm_rerun(const RunState& r, const ProgramDesc& d) {
  const std::string_view fin = input_name(r);
  char used[12];
  conly({d.rerun_1});
  conly({d.rerun_2});
  conly({"    ", d.rerun_add});
  conly({"    ", "Please make absolutely sure that input file"});
  conly({"    ", "   ", fin});
  conly({"    ", "is fully up to date and has the already assigned ", num_text(r.idused, used),
         d.rerun_ident});
  conly({"    ", d.rerun_column});
  conly({"    ", "confirm that the input file is up to date or \"Q\" to quit."});
  for (;;) {
    char ans[ANSLEN];
    std::memset(ans, ' ', sizeof ans);
    ask_word("    Enter \"C\" or \"Q\" as described above: ", ans);
    if (answer_is(ans, 'C')) {
      lonly({" ** User confirmed that the input file is up to date: ", fin});
      cempty();
      return;
    }
    if (answer_is(ans, 'Q')) fatal2("User did not confirm the input file ", fin);
  }
}

}  // namespace

void phase_lcs(RunState& r, const ProgramDesc& d) {
  const int32_t e = fexist_or_end(d.lcsfile);
  // The record goes into this folder's file only, never through a link to a
  // file elsewhere (another class's folder); a hard link is a file here.
  if (is_symlink(d.lcsfile)) {
    fatal2("Symbolic link in place of limit, count, and seed file ", d.lcsfile);
  }
  r.lcsex = e;
  if (e == 0) {  // first run in this folder: a fresh assignment
    r.new_ = 1;
    r.idlim = 0;
    r.idused = 0;
    return;
  }
  read_records(r, d);
  if (r.new_ == 0) confirm_rerun(r, d);
  cempty();
}
