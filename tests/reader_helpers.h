// Runs a line reader over a whole file for the reader tests.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "io.h"
#include "outbuf.h"
#include "unit_helpers.h"

struct ReadRow {
  std::string bytes;  // bufchr(1..nbuf)
  int32_t term = 0;
  int32_t ipos = 0;
  int32_t lpos = 0;
};

struct ReadAll {
  std::vector<ReadRow> rows;  // every line or row returned before the end
  bool ended = false;         // the end of the input was reported
  bool fataled = false;
  std::string console, log;
  std::string saved;          // what went to the output buffer
  int32_t enc = 0;            // cmenc.enc afterwards
};

// Puts `bytes` into the file `name` of a fresh folder, opens it on unit 1 and
// calls `next(row)` until the end of the input, a fatal exit or 100 calls.
// next returns 0 at the end of the input (no row), 1 for a row, 2 for a row
// that is the last one.  cmenc.enc and the output buffer start empty.
inline ReadAll read_all(const std::string& name, const std::string& bytes,
                        const std::function<int(ReadRow&)>& next) {
  ReadAll r;
  in_temp_folder([&] {
    put_file(name, bytes);
    cmenc.enc = 0;
    cmsav.nsav = 0;
    Captured c = capture([&] {
      openru(name, LU_INPUT);
      for (int i = 0; i < 100; ++i) {
        ReadRow row;
        const int got = next(row);
        if (got != 0) r.rows.push_back(row);
        if (got != 1) {
          r.ended = true;
          return;
        }
      }
    });
    close_unit(LU_INPUT);
    r.fataled = c.fataled;
    r.console = c.console;
    r.log = c.log;
    r.saved.assign(cmsav.savchr, cmsav.nsav);
    r.enc = cmenc.enc;
    cmenc.enc = 0;
    cmsav.nsav = 0;
  });
  return r;
}

// The four warning lines as they reach the console (and the log).
inline std::string warning(const std::string& line) { return line + "\n\n"; }
