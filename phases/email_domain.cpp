// Phase 8: the default e-mail domain from the optional file email.txt.
#include <cstdio>
#include <cstring>
#include <string_view>

#include "console_log.h"
#include "fatal.h"
#include "io.h"
#include "phases.h"
#include "run_state.h"
#include "text.h"

namespace {

constexpr std::string_view read_error = "Error reading e-mail domain file email.txt";

// The first FLDMAX bytes of a line and the bytes after them that tell
// whether their end splits a character.
constexpr int32_t LINEHEAD = FLDMAX + CUT_LOOKAHEAD;

// Reads the head of the file's first line into line (the rest blank).  A last
// line without a line feed counts as a line.  False when the file has no
// first line or a read fails.
bool read_first_line(FILE* f, char line[LINEHEAD]) {
  std::memset(line, ' ', LINEHEAD);
  int32_t n = 0;
  int c;
  while ((c = std::getc(f)) != EOF && c != '\n') {
    if (n < LINEHEAD) line[n] = static_cast<char>(c);
    ++n;
  }
  if (std::ferror(f)) return false;
  return c == '\n' || n > 0;
}

}  // namespace

void phase_email(RunState& r, const ProgramDesc&) {
  std::memset(r.dom0, ' ', FLDMAX);
  r.dom0[0] = '@';
  r.ldom0 = 1;

  if (fexist_or_end(EMAIL_FILE) == 0) return;

  if (!open_lines(EMAIL_FILE, LU_EMAIL)) fatal(read_error);
  char line[LINEHEAD];
  const bool read_ok = read_first_line(unitf(LU_EMAIL), line);
  // Closed here so that no error path leaves it open; a failed close is
  // reported where the file would be closed, after the checks of the line.
  const bool close_ok = close_unit(LU_EMAIL);

  if (!read_ok) fatal(read_error);
  // A longer line is cut, before a character that the cut would split.
  r.ldom0 = utf8_cut(line, FLDMAX, LINEHEAD);
  std::memcpy(r.dom0, line, r.ldom0);
  std::memset(r.dom0 + r.ldom0, ' ', FLDMAX - r.ldom0);
  trimlt(r.dom0, r.ldom0);
  if (r.ldom0 == 0) fatal(read_error);
  if (r.dom0[0] != '@') {
    conly({"E-mail domain must start with \"@\"!"});
    fatal(read_error);
  }
  if (!close_ok) fatal(read_error);

  cline({"Default e-mail domain from file email.txt: "});
  cline({std::string_view(r.dom0, static_cast<size_t>(r.ldom0))});
  cempty();
}
