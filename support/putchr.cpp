// putchr: one byte to a unit.
#include "io.h"

int32_t putchr(int32_t lunit, char chr) {
  FILE* f = unitf(lunit);
  if (f == nullptr) return 1;
  return std::putc(static_cast<unsigned char>(chr), f) == EOF ? 1 : 0;
}
