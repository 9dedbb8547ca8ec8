// Console+log lines, prompts and the usage exit.
#include "console_log.h"

#include <cstdio>

#include "fatal.h"
#include "io.h"
#include "run_state.h"

namespace {
std::string_view log_error = "Error writing to log file";
}

void set_log_error(std::string_view logerr) { log_error = logerr; }

void conly(std::initializer_list<std::string_view> pieces) { wline(LU_CONS, pieces); }

// Each log line reaches the file at once, so that a failed write ends the
// run right there and never later, after other files were written.
void lonly(std::initializer_list<std::string_view> pieces) {
  if (!wline_now(LU_LOG, pieces)) fatal(log_error);
}

void cline(std::initializer_list<std::string_view> pieces) {
  conly(pieces);
  lonly(pieces);
}

void cempty() { cline({}); }

void cprompt(std::string_view text) {
  wtext(LU_CONS, {text});
  std::fflush(unitf(LU_CONS));
}

void usage_exit(const ProgramDesc& d, std::initializer_list<std::string_view> message) {
  if (message.size() > 0) {
    for (std::string_view m : message) conly({m});
    conly({" "});
    for (std::string_view m : message) lonly({m});
    lonly({" "});
  }
  for (std::string_view line : d.usage) conly({line});
  for (std::string_view line : d.usage) lonly({line});
  fatal0();
}
