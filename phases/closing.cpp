// Phase 16: the first AID strings not yet handed out, the summary, and the
// run's record appended to the limit-count-seed file.
#include <cstdio>
#include <cstring>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

#include "arg_slots.h"
#include "console_log.h"
#include "fatal.h"
#include "id_table.h"
#include "io.h"
#include "phases.h"
#include "text.h"

namespace {

// Appends the record to the limit-count-seed file; an existing file whose
// last line has no line end first gets one, so the record stands on a line
// of its own.
void append_record(const RunState& r, const ProgramDesc& d) {
  char path[FLDMAX + 1] = {};
  std::memcpy(path, d.lcsfile.data(), d.lcsfile.size());
  bool need_lf = false;
  int fd;
  if (r.lcsex != 0) {
    fd = ::open(path, O_RDWR | O_APPEND);
    if (fd >= 0) {
      const off_t size = ::lseek(fd, 0, SEEK_END);
      char last = '\n';
      if (size > 0 && ::pread(fd, &last, 1, size - 1) != 1) {
        ::close(fd);
        fd = -1;
      }
      need_lf = last != '\n';
    }
  } else {
    fd = ::open(path, O_WRONLY | O_CREAT | O_EXCL, 0666);
  }
  if (fd < 0) fatal(d.lcs_writerr);
  FILE* f = ::fdopen(fd, "a");
  if (f == nullptr) {
    ::close(fd);
    fatal(d.lcs_writerr);
  }
  bind_unit(LU_LCSAPP, f);
  char b1[12], b2[12], b3[12];
  const bool ok =
      (!need_lf || wline(LU_LCSAPP, {})) &&
      wline(LU_LCSAPP, {std::string_view(r.stamp, 15), " Limit, Used, and Seed: ",
                        num_text(r.idlim, b1), ", ", num_text(r.idused + r.idnew, b2), ", ",
                        num_text(r.seed, b3)});
  if (!close_unit(LU_LCSAPP) || !ok) fatal(d.lcs_writerr);
}

}  // namespace

void phase_closing(RunState& r, const ProgramDesc& d) {
  const IdentDesc& id = d.id;
  const IdTable& t = *id.unused_table;
  id_table_heading(t, r, id.unused_heading);
  // None when a limit-count-seed record counted more than the candidates.
  int32_t count = r.nid - 1 - r.idpos;
  if (count < 0) count = 0;
  if (count > 20) count = 20;
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
  append_record(r, d);
}
