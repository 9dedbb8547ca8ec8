// The reader options that the first bytes of a fuzz input choose, within
// the rules the option phase guarantees; the rest of the input is the file.
// Shared by the fuzz target and the unit test that replays the corpus.
#pragma once
#include <cstddef>
#include <cstdint>

#include "sizes.h"

struct FuzzOptions {
  char sep, quot;
  int32_t esc, ncolf, bufmax;
};

constexpr size_t FUZZ_OPTION_BYTES = 5;

// The option phase refuses a separator LF, CR or double quote, a quote LF, CR
// or equal to the separator, and an escape equal to any of these.
inline FuzzOptions fuzz_options(const uint8_t* d) {
  FuzzOptions o;
  o.sep = static_cast<char>(d[0]);
  if (o.sep == '\n' || o.sep == '\r' || o.sep == '"') o.sep = ',';
  o.quot = static_cast<char>(d[1]);
  if (o.quot == '\n' || o.quot == '\r' || o.quot == o.sep) o.quot = '"';
  o.esc = d[2] == 0 ? -1 : d[2];
  const char e = static_cast<char>(o.esc);
  if (e == '\n' || e == '\r' || e == o.sep || e == o.quot) o.esc = -1;
  o.ncolf = d[3] % 12;
  o.bufmax = d[4] < 48 ? 1 + d[4] : BUFMAX;
  return o;
}
