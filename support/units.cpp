// The table of open files by unit number, and line output to them.
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

bool wtext(int32_t lunit, std::initializer_list<std::string_view> pieces) {
  FILE* f = unitf(lunit);
  if (f == nullptr) return false;
  bool ok = true;
  for (std::string_view s : pieces) {
    if (!s.empty() && std::fwrite(s.data(), 1, s.size(), f) != s.size()) ok = false;
  }
  return ok && !std::ferror(f);
}

bool wline(int32_t lunit, std::initializer_list<std::string_view> pieces) {
  const bool ok = wtext(lunit, pieces);
  FILE* f = unitf(lunit);
  return ok && f != nullptr && std::fputc('\n', f) != EOF;
}

bool wline_now(int32_t lunit, std::initializer_list<std::string_view> pieces) {
  return wline(lunit, pieces) && std::fflush(unitf(lunit)) == 0;
}
