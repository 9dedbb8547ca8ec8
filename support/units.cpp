// The table of open files by unit number.
#include "units.h"

namespace {
FILE* units[LU_MAX + 1] = {};
}

FILE* unitf(int32_t lunit) {
  if (lunit < 1 || lunit > LU_MAX) return nullptr;
  if (units[lunit] == nullptr) {
    if (lunit == LU_KEYB) return stdin;
    if (lunit == LU_CONS) return stdout;
  }
  return units[lunit];
}

void bind_unit(int32_t lunit, FILE* f) {
  if (lunit >= 1 && lunit <= LU_MAX) units[lunit] = f;
}

bool close_unit(int32_t lunit) {
  if (lunit < 1 || lunit > LU_MAX || units[lunit] == nullptr) return true;
  FILE* f = units[lunit];
  units[lunit] = nullptr;
  if (f == stdin || f == stdout) return true;
  return std::fclose(f) == 0;
}

void flush_units() {
  std::fflush(stdout);
  for (int32_t i = 1; i <= LU_MAX; ++i) {
    if (units[i] != nullptr) std::fflush(units[i]);
  }
}
