// Phase 16: the first AID strings not yet handed out, the summary, and the
// run's record appended to the limit-count-seed file.
#include <cstdio>
#include <string_view>

#include "arg_slots.h"
#include "console_log.h"
#include "fatal.h"
#include "id_table.h"
#include "io.h"
#include "phases.h"
#include "text.h"

namespace {

// The first-unused table shows at most this many identifiers.
constexpr int32_t UNUSED_SHOWN = 20;

// Appends the record to the limit-count-seed file, whole or not at all; an
// existing file whose last line has no line end first gets one, so the
// record stands on a line of its own.
void append_record(const RunState& r, const ProgramDesc& d) {
  char b1[12], b2[12], b3[12];
  char rec[15 + 24 + 3 * 12 + 2 * 2 + 1];
  const std::string_view line =
      join_line(rec, sizeof rec,
                {{r.stamp, 15}, " Limit, Used, and Seed: ", num_text(r.idlim, b1), ", ",
                 num_text(r.idused + r.idnew, b2), ", ", num_text(r.seed, b3), "\n"});
  if (!append_whole(d.lcsfile, r.lcsex != 0, line)) fatal(d.lcs_writerr);
}

}  // namespace

void phase_closing(RunState& r, const ProgramDesc& d) {
  const IdentDesc& id = d.id;
  const IdTable& t = *id.unused_table;
  id_table_heading(t, r, id.unused_heading);
  // None when a limit-count-seed record counted more than the candidates.
  int32_t count = r.nid - 1 - r.idpos;
  if (count < 0) count = 0;
  if (count > UNUSED_SHOWN) count = UNUSED_SHOWN;
  id_table_shuffled(t, r, r.idpos + 1, count, {0, {}});
  cempty();

  const std::string_view fin = input_name(r);
  if (r.nrec <= 0) {
    cline({" ** WARNING: Input file is empty: ", fin});
    cempty();
  } else if (r.nrec <= r.nhead) {
    cline({" ** WARNING: Input file has a header only: ", fin});
    cempty();
  }
  const int32_t total = r.nrec - r.nhead;
  char b1[12], b2[12], b3[12];
  if (r.new_ != 0) {
    for (const bool to_log : {false, true}) {
      auto line = to_log ? lonly : conly;
      line({id.assigned, num_text(r.idnew, b1, 4)});
      if (r.idnew <= 0) line({id.none_new});
    }
  } else {
    for (const bool to_log : {false, true}) {
      auto line = to_log ? lonly : conly;
      line({id.previous, num_text(r.idused, b1, 4)});
      line({id.added, num_text(r.idnew, b2, 4)});
      line({id.total, num_text(total, b3, 4)});
      if (total - r.idnew <= 0 && r.idused > 0) line({id.none_prev});
      if (r.idnew <= 0) line({id.none_new});
    }
  }
  cempty();
  // Every log line is in the file before the record makes this run count;
  // the log stays open so that a failed append is logged too.
  if (!check_unit(LU_LOG)) fatal(d.logerr);
  append_record(r, d);
}
