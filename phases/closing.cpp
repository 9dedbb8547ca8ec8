// Phase 16: the first AID strings not yet handed out, the summary, and the
// run's record appended to the limit-count-seed file.
#include <cstdio>
#include <cstring>
#include <string_view>

#include "console_log.h"
#include "fatal.h"
#include "io.h"
#include "phases.h"
#include "text.h"

namespace {

// v right-aligned in `width` columns of buf.
std::string_view columns(int32_t v, int32_t width, char* buf) {
  rjust(v, buf, width);
  return {buf, static_cast<size_t>(width)};
}

std::string_view digits(int32_t v, char* buf) {
  int32_t n;
  inttos(v, buf, 12, n);
  return {buf, static_cast<size_t>(n)};
}

constexpr std::string_view dashes79 =
    " ------------------------------------------------------------------------------";

// One row of shuffled positions q to q+n-1: the sort numbers and the AIDs.
void unused_row(const RunState& r, int32_t q, int32_t n, const char* word, bool to_log) {
  char num[4 + 7 * 10], aid[4 + 7 * 10];
  std::memcpy(num, "Num:", 4);
  std::memcpy(aid, "AID:", 4);
  for (int32_t c = 0; c < n; ++c) {
    rjust(r.idorg[q + c] + 1, num + 4 + 7 * c, 7);
    std::memcpy(aid + 4 + 7 * c, word, 4);
    std::memcpy(aid + 8 + 7 * c, r.idstr[r.idorg[q + c]] + 1, 3);
  }
  const std::string_view a(num, 4 + 7 * n), b(aid, 4 + 7 * n);
  if (to_log) {
    lonly({a});
    lonly({b});
  } else {
    conly({a});
    conly({b});
  }
}

// Appends the record to the limit-count-seed file, whole or not at all; an
// existing file whose last line has no line end first gets one, so the
// record stands on a line of its own.
void append_record(const RunState& r, const ProgramDesc& d) {
  char b1[12], b2[12], b3[12];
  char rec[15 + 24 + 3 * 12 + 4 + 1];
  size_t n = 0;
  for (std::string_view piece : {std::string_view(r.stamp, 15), std::string_view(" Limit, Used, and Seed: "),
                                 digits(r.idlim, b1), std::string_view(", "),
                                 digits(r.idused + r.idnew, b2), std::string_view(", "),
                                 digits(r.seed, b3), std::string_view("\n")}) {
    std::memcpy(rec + n, piece.data(), piece.size());
    n += piece.size();
  }
  if (!append_whole(d.lcsfile, r.lcsex != 0, {rec, n})) fatal(d.lcs_writerr);
}

}  // namespace

void phase_closing(RunState& r, const ProgramDesc& d) {
  char word[4];
  std::memset(word, ' ', 4);
  std::memcpy(word + 4 - r.lcid, r.cid, r.lcid);

  cline({"First few still unused AID strings preceded by sort numbers:"});
  int32_t rows = (r.nid - r.idpos + 8) / 10;
  if (rows > 2) rows = 2;
  for (int32_t row = 0; row < rows; ++row) {
    int32_t n = r.nid - 1 - r.idpos - 10 * row;
    if (n > 10) n = 10;
    const int32_t q = r.idpos + 1 + 10 * row;
    lonly({dashes79});
    unused_row(r, q, n, word, false);
    unused_row(r, q, n, word, true);
  }
  lonly({dashes79});
  cempty();

  const std::string_view fin(r.argt[0], r.argtl[0]);
  if (r.nrec <= 0) {
    cline({" ** WARNING: Input file is empty: ", fin});
    cempty();
  } else if (r.nrec <= r.nhead) {
    cline({" ** WARNING: Input file has a header only: ", fin});
    cempty();
  }
  const int32_t total = r.nrec - r.nhead;
  char b1[4], b2[4], b3[4];
  if (r.new_ != 0) {
    for (const bool to_log : {false, true}) {
      auto line = to_log ? lonly : conly;
      line({"Number of AID strings assigned:", columns(r.idnew, 4, b1)});
      if (r.idnew <= 0) line({" ** WARNING: no new AID strings assigned!"});
    }
  } else {
    for (const bool to_log : {false, true}) {
      auto line = to_log ? lonly : conly;
      line({"Previous AID strings assigned:", columns(r.idused, 4, b1)});
      line({"     New AID strings assigned:", columns(r.idnew, 4, b2)});
      line({"Total student records written:", columns(total, 4, b3)});
      if (total - r.idnew <= 0 && r.idused > 0) line({" ** WARNING: no previous AID strings found!"});
      if (r.idnew <= 0) line({" ** WARNING: no new AID strings assigned!"});
    }
  }
  cempty();
  // Every log line is in the file before the record makes this run count;
  // the log stays open so that a failed append is logged too.
  if (!check_unit(LU_LOG)) fatal(d.logerr);
  append_record(r, d);
}
