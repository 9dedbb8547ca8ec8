// Free-form integer lists.
#include "free_form.h"

namespace {

bool is_sep_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Parses text[a..b) as an optionally signed decimal integer in 32 bits.
bool parse_int(const char* text, int32_t a, int32_t b, int32_t& out) {
  bool neg = false;
  if (a < b && (text[a] == '+' || text[a] == '-')) {
    neg = text[a] == '-';
    ++a;
  }
  if (a >= b) return false;
  int64_t v = 0;
  for (int32_t i = a; i < b; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    v = 10 * v + (text[i] - '0');
    if (v > 2147483648LL) return false;
  }
  if (neg) v = -v;
  if (v > 2147483647LL || v < -2147483648LL) return false;
  out = static_cast<int32_t>(v);
  return true;
}

}  // namespace

bool rdints(const char* text, int32_t ltext, int32_t nval, int32_t vals[]) {
  int32_t i = 0;  // next byte of the text
  int32_t k = 0;  // values given so far (set or left empty)
  while (k < nval) {
    while (i < ltext && is_sep_blank(text[i])) ++i;
    if (i >= ltext) return false;
    if (text[i] == '/') return true;
    if (text[i] == ',') {  // an empty item
      ++k;
      ++i;
      continue;
    }
    const int32_t a = i;
    while (i < ltext && !is_sep_blank(text[i]) && text[i] != ',' && text[i] != '/') ++i;
    const int32_t b = i;
    int32_t star = -1;
    for (int32_t j = a; j < b; ++j) {
      if (text[j] == '*') {
        star = j;
        break;
      }
    }
    int32_t repeat = 1;
    bool empty_value = false;
    int32_t v = 0;
    if (star >= 0) {
      if (star == a || text[a] == '+' || text[a] == '-') return false;
      if (!parse_int(text, a, star, repeat) || repeat < 1) return false;
      empty_value = star + 1 == b;
      if (!empty_value && !parse_int(text, star + 1, b, v)) return false;
    } else if (!parse_int(text, a, b, v)) {
      return false;
    }
    for (int32_t r = 0; r < repeat && k < nval; ++r, ++k) {
      if (!empty_value) vals[k] = v;
    }
    // The separator after an item: blanks and/or one comma.
    while (i < ltext && is_sep_blank(text[i])) ++i;
    if (i < ltext && text[i] == ',') ++i;
  }
  return true;
}
