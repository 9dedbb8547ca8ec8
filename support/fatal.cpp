// fatal, fatal2, fatal0: message on the console and in the log, exit status 1.
#include "fatal.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "units.h"

namespace {
FatalHook hook = nullptr;
}  // namespace

void set_fatal_hook(FatalHook h) { hook = h; }

// Neither write has a failure path of its own: the run ends either way.  When
// the log is not open (only while it is being created) its copy is dropped.
void fatal(std::string_view msg) {
  wline(LU_CONS, {"\a*** ", msg, "!"});
  if (unitf(LU_LOG) != nullptr) wline(LU_LOG, {"*** ", msg, "!"});
  fatal0();
}

void fatal2(std::string_view msg, std::string_view fil) {
  const size_t l = msg.size() + fil.size() + 5;
  if (l <= 79) {
    wline(LU_CONS, {"\a*** ", msg, fil, "!"});
    if (unitf(LU_LOG) != nullptr) wline(LU_LOG, {"*** ", msg, fil, "!"});
  } else {
    wline(LU_CONS, {"\a*** ", msg});
    wline(LU_CONS, {"    ", fil, "!"});
    if (unitf(LU_LOG) != nullptr) {
      wline(LU_LOG, {"*** ", msg});
      wline(LU_LOG, {"    ", fil, "!"});
    }
  }
  fatal0();
}

void fatal0() {
  flush_units();
  if (hook != nullptr) hook();
  std::exit(1);
}
