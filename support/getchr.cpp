// getchr: one byte from a unit.
#include "io.h"

int32_t getchr(int32_t lunit, char& chr) {
  FILE* f = unitf(lunit);
  if (f == nullptr) return 2;
  const int c = std::getc(f);
  if (c == EOF) return std::ferror(f) ? 2 : 1;
  chr = static_cast<char>(c);
  return 0;
}
