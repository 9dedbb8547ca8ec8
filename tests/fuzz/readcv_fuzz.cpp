// Fuzz target: the CSV row reader and the column finder together.
//
// The first bytes of an input choose the separator, quote character, escape
// character, insertion column and buffer size (within the rules the option
// phase guarantees); the rest is the file.  Every row that readcv returns is
// checked against csvfnd: each column must be found, located where the row
// says, fetched and found again by its contents.  A fatal exit is expected
// for bad input, but never an internal one ("Program bug", "Program error").
// Every input is read twice, with the word paths and without them (every
// byte from the decoder one by one, through the row reader's scan byte by
// byte): both must give the same rows, line ends, insertion points,
// separator, warnings, errors and output buffer.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <sys/mman.h>
#include <unistd.h>

#include "csvfnd.h"
#include "decoder.h"
#include "fatal.h"
#include "fuzz_options.h"
#include "io.h"
#include "outbuf.h"
#include "readcv.h"
#include "sizes.h"

namespace {

struct FatalExit {};
[[noreturn]] void throw_fatal() { throw FatalExit{}; }

// The input file lives in a memory file, so an input costs no file system
// work: it is opened once by its /proc path like any roster, and each input
// is written into it and read again from its start, as if just opened.  The
// console and log of the run under test write into a memory buffer (no
// system call at all); a run writes a few warnings at most.
int input_fd = -1;
off_t input_size = -1;  // bytes now in the memory file
char path[64];         // the input file's name
FILE* cons = nullptr;  // console and log of the run under test
char cons_buf[1 << 16];
char bufchr[BUFMAX];
char big[BUFMAX];      // fetched contents at full length

[[noreturn]] void fail(const char* what, std::string_view detail = "") {
  std::fprintf(stderr, "FUZZ FAILURE: %s %.*s\n", what, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

void check(bool ok, const char* what) {
  if (!ok) fail(what);
}

// What this input's run wrote: the console is rewound for every input, not
// emptied, so only the bytes before the current position count.
std::string_view console_text() {
  std::fflush(cons);
  const long end = std::ftell(cons);
  if (end < 0 || end >= static_cast<long>(sizeof cons_buf)) fail("console overflow");
  return std::string_view(cons_buf, static_cast<size_t>(end));
}

using Options = FuzzOptions;

// The contents of a raw column, unquoted independently of csvfnd's walk.
char unq[BUFMAX];
std::string_view unquoted(const Options& o, std::string_view raw) {
  const char esc = static_cast<char>(o.esc);
  const bool quoted = !raw.empty() && raw[0] == o.quot;
  size_t i = quoted ? 1 : 0;
  const size_t n = quoted ? raw.size() - 1 : raw.size();
  size_t len = 0;  // a column is never longer than the row buffer
  while (i < n) {
    const bool pair = o.esc >= 0 ? raw[i] == esc : quoted && raw[i] == o.quot;
    if (pair) {
      check(i + 1 < n, "escape or doubled quote at the column end");
      ++i;
    }
    unq[len++] = raw[i++];
  }
  return std::string_view(unq, len);
}

int32_t locate(const Options& o, int32_t nbuf, int32_t term, char sep, int32_t icol,
               int32_t& lcol, int32_t& iend) {
  int32_t fndlt = -1, jcol;
  char none[1];
  csvfnd(o.bufmax, nbuf, bufchr, term, sep, o.quot, icol, fndlt, none, 0, lcol, iend, jcol);
  return jcol;
}

// Checks one row that readcv returned.  ncol0 is the column count of the
// first row (0 before it).
void check_row(const Options& o, int32_t nbuf, int32_t ipos, int32_t lpos, int32_t term,
               char sep, int32_t& ncol0) {
  check(nbuf >= 1 && nbuf <= o.bufmax, "row length");
  check(term >= 0 && term <= 2 && nbuf >= term, "line end kind");
  if (term == 1) check(bufchr[nbuf - 1] == '\n', "LF line end");
  if (term == 2) check(bufchr[nbuf - 2] == '\r' && bufchr[nbuf - 1] == '\n', "CR LF line end");
  const int32_t ntext = nbuf - term;
  check(ipos >= 0 && ipos <= ntext && lpos >= 0 && lpos <= ipos, "insertion point range");
  if (o.ncolf == 1) check(ipos == 0 && lpos == 0, "insertion point of column 1");

  // The column count, then the columns that the checks look at: each check
  // scans the row from its start, so on rows of many columns the first and
  // the last four (and those around the insertion point) keep inputs fast.
  int32_t lcol, iend, lcol0, iend0;
  const int32_t ncol = locate(o, nbuf, term, sep, 0, lcol0, iend0);
  check(ncol >= 1 && iend0 == ntext + 1, "last column");
  if (ncol0 == 0) ncol0 = ncol;
  check(ncol == ncol0, "same column count in every row");
  const auto looked_at = [&](int32_t icol) {
    return icol <= 4 || icol > ncol - 4 || icol == o.ncolf - 1 || icol == o.ncolf;
  };
  // Located columns tile the row text: each starts after the one before.
  int32_t prev_end = 0;
  for (int32_t icol = 1; icol <= ncol + 1; ++icol) {
    if (!looked_at(icol)) continue;
    const int32_t jcol = locate(o, nbuf, term, sep, icol, lcol, iend);
    if (icol > ncol) {
      check(jcol == 0 && lcol == -1 && iend == -1, "no column");
      break;
    }
    check(jcol == icol, "column number");
    if (looked_at(icol - 1)) check(iend - lcol - 1 == prev_end, "column start");
    check(iend <= ntext + 1, "column end");
    if (iend <= ntext) check(bufchr[iend - 1] == sep, "separator after column");
    check((iend > ntext) == (icol == ncol), "columns cover the row");
    prev_end = iend;
    if (o.ncolf >= 2 && icol == o.ncolf - 1) {
      // ipos is the end of column ncolf-1, lpos its raw length.
      check(ipos == iend - 1 && lpos == lcol, "insertion point against the finder");
    }
  }
  if (o.ncolf == 0) check(ipos == ntext, "insertion point after the last column");
  if (o.ncolf == 0) check(lpos == lcol0, "raw length of the last column");

  for (int32_t icol = 1; icol <= ncol; ++icol) {
    if (!looked_at(icol)) continue;
    // Fetch at full length, then into a 256-byte field.
    int32_t flen = -9, jcol;
    csvfnd(o.bufmax, nbuf, bufchr, term, sep, o.quot, icol, flen, big, BUFMAX, lcol, iend, jcol);
    check(jcol == icol && flen >= 0 && flen <= lcol, "fetch");
    const std::string_view raw(bufchr + iend - lcol - 1, lcol);
    check(unquoted(o, raw) == std::string_view(big, flen), "fetched contents");
    char field[FLDMAX];
    int32_t fl = -9;
    csvfnd(o.bufmax, nbuf, bufchr, term, sep, o.quot, icol, fl, field, FLDMAX, lcol, iend, jcol);
    check(fl == (flen < FLDMAX ? flen : FLDMAX) && std::memcmp(field, big, fl) == 0,
          "fetch into a short field");
    // A re-run's fetch, from the insertion point (column 0: the last one).
    if (icol == o.ncolf || (o.ncolf == 0 && icol == ncol)) {
      char again[FLDMAX];
      int32_t al = -9, alcol, aiend, ajcol;
      csvfnd_from(o.ncolf <= 1 ? 0 : ipos + 1, o.bufmax, nbuf, bufchr, term, sep, o.quot,
                  o.ncolf, al, again, FLDMAX, alcol, aiend, ajcol);
      check(al == fl && alcol == lcol && aiend == iend && ajcol == jcol &&
                std::memcmp(again, field, fl) == 0,
            "fetch from the insertion point");
    }
    // The fetched contents find this column again (or an equal one before).
    int32_t cl = flen;
    csvfnd(o.bufmax, nbuf, bufchr, term, sep, o.quot, icol, cl, big, BUFMAX, lcol, iend, jcol);
    check(jcol == icol, "compare with the fetched contents");
    cl = flen;
    csvfnd(o.bufmax, nbuf, bufchr, term, sep, o.quot, 1, cl, big, BUFMAX, lcol, iend, jcol);
    check(jcol >= 1 && jcol <= icol, "compare from column 1");
    // A prefix of the contents followed by "*".
    if (flen < BUFMAX) {
      const int32_t k = flen / 2;
      const char keep = big[k];
      big[k] = '*';
      int32_t pl = k + 1;
      csvfnd(o.bufmax, nbuf, bufchr, term, sep, o.quot, icol, pl, big, BUFMAX, lcol, iend, jcol);
      check(jcol == icol, "prefix match");
      big[k] = keep;
    }
  }
}

// The input file holds the n bytes at d, and the unit reads it from its
// start with nothing left in the input block.
void new_input(const uint8_t* d, size_t n) {
  const off_t size = static_cast<off_t>(n);
  if (pwrite(input_fd, d, n, 0) != static_cast<ssize_t>(n) ||
      (size != input_size && ftruncate(input_fd, size) != 0)) {
    fail("cannot write the input");
  }
  input_size = size;
  FILE* f = unitf(LU_INPUT);
  if (f == nullptr || f != cminp.f || lseek(fileno(f), 0, SEEK_SET) != 0) {
    fail("cannot read the input again");
  }
  cminp.pos = cminp.len = 0;
}

// Reads the whole input (size bytes at data) with the word paths on or off
// and returns what the reader gave; with check, csvfnd is held against every
// row.
std::string read_input(const Options& o, const uint8_t* data, size_t size, bool words,
                       bool check) {
  set_word_paths(words);
  new_input(data, size);
  std::rewind(cons);
  readcv_reset();
  cmenc.enc = 0;
  cmenc.esc = o.esc;
  cmsav.nsav = 0;
  char sep = o.sep;
  bool in_finder = false;
  std::string t;
  try {
    int32_t ncol0 = 0;
    for (int rows = 0; rows < 10000; ++rows) {
      int32_t nbuf, ipos, lpos, term;
      readcv(path, static_cast<int32_t>(std::strlen(path)), LU_INPUT, sep, o.quot, o.ncolf,
             o.bufmax, nbuf, ipos, lpos, bufchr, term);
      for (const int v : {nbuf, term, ipos, lpos, int{sep}}) t += std::to_string(v) + ' ';
      if (nbuf == 0 && term == 0) break;
      t.append(bufchr, static_cast<size_t>(nbuf));
      if (!check) continue;
      in_finder = true;
      check_row(o, nbuf, ipos, lpos, term, sep, ncol0);
      in_finder = false;
    }
  } catch (const FatalExit&) {
    const std::string_view text = console_text();
    if (in_finder) fail("csvfnd ended the run:", text);
    if (text.find("Program") != std::string_view::npos) fail("internal error:", text);
    t += "fatal ";
  }
  t += console_text();
  t += std::to_string(cmenc.enc);
  t.append(cmsav.savchr, static_cast<size_t>(cmsav.nsav));
  return t;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  input_fd = memfd_create("readcv_fuzz.csv", 0);
  if (input_fd < 0) fail("cannot make the memory file");
  std::snprintf(path, sizeof path, "/proc/self/fd/%d", input_fd);
  cons = ::fmemopen(cons_buf, sizeof cons_buf, "w");
  if (cons == nullptr) fail("cannot open the console");
  bind_unit(LU_CONS, cons);
  bind_unit(LU_LOG, cons);
  set_fatal_hook(throw_fatal);
  try {
    openru(path, LU_INPUT);
  } catch (const FatalExit&) {
    fail("cannot open the memory file:", console_text());
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < FUZZ_OPTION_BYTES) return 0;
  const Options o = fuzz_options(data);
  data += FUZZ_OPTION_BYTES;
  size -= FUZZ_OPTION_BYTES;
  const std::string words = read_input(o, data, size, true, true);
  const std::string bytes = read_input(o, data, size, false, false);
  if (words != bytes) fail("the word paths and the byte paths differ:", words);
  return 0;
}
