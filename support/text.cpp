// inttos, trimlt, wutf8, wutf16, rutf8, and the joiner of message lines.
#include "text.h"

#include <charconv>
#include <cstring>

#include "fatal.h"

void inttos(int32_t ival, char* str, int32_t len, int32_t& lstr) {
  // Right-aligned in a 12-byte work field, then trimmed.
  char work[12];
  std::memset(work, ' ', sizeof work);
  char digits[16];
  const auto res = std::to_chars(digits, digits + sizeof digits, ival);
  const bool ok = res.ec == std::errc() && res.ptr - digits <= 12;
  if (ok) {
    const int32_t n = static_cast<int32_t>(res.ptr - digits);
    std::memcpy(work + 12 - n, digits, n);
    lstr = 12;
    trimlt(work, lstr);
  }
  if (ok && lstr <= len) {
    std::memcpy(str, work, lstr);
    if (len > lstr) std::memset(str + lstr, ' ', len - lstr);
    return;
  }
  const int32_t n = len < 12 ? len : 12;
  std::memset(str, '*', n);
  if (len > n) std::memset(str + n, ' ', len - n);
  lstr = n;
}

void rjust(int32_t ival, char* str, int32_t w) {
  int32_t l;
  inttos(ival, str, w, l);
  std::memmove(str + w - l, str, l);
  std::memset(str, ' ', w - l);
}

std::string_view num_text(int32_t ival, char (&buf)[12], int32_t w) {
  if (w < 0 || w > 12) fatal("Program error in num_text");
  int32_t l = w;
  if (w == 0) {
    inttos(ival, buf, 12, l);
  } else {
    rjust(ival, buf, w);
  }
  return {buf, static_cast<size_t>(l)};
}

void trimlt(char* str, int32_t& lstr) {
  if (lstr <= 0) return;
  int32_t k = 0;
  while (k < lstr && isblank_byte(str[k])) ++k;
  if (k > 0) {
    lstr -= k;
    if (lstr == 0) return;  // all blank: the bytes stay as they were
    for (int32_t i = 0; i < lstr; ++i) str[i] = str[i + k];
    for (int32_t i = lstr; i < lstr + k; ++i) str[i] = ' ';
  }
  while (lstr >= 1 && isblank_byte(str[lstr - 1])) {
    str[lstr - 1] = ' ';
    --lstr;
  }
}

void wutf8(int32_t ucs, int32_t& nchr, char* utf8) {
  if (ucs < 0 || ucs > 0x10FFFF || (ucs >= 0xD800 && ucs <= 0xDFFF)) {
    fatal("Program error in wutf8");
  }
  if (ucs <= 0x7F) {
    utf8[0] = static_cast<char>(ucs);
    nchr = 1;
  } else if (ucs <= 0x7FF) {
    utf8[0] = static_cast<char>(0xC0 + (ucs >> 6));
    utf8[1] = static_cast<char>(0x80 + (ucs & 0x3F));
    nchr = 2;
  } else if (ucs <= 0xFFFF) {
    utf8[0] = static_cast<char>(0xE0 + (ucs >> 12));
    utf8[1] = static_cast<char>(0x80 + ((ucs >> 6) & 0x3F));
    utf8[2] = static_cast<char>(0x80 + (ucs & 0x3F));
    nchr = 3;
  } else {
    utf8[0] = static_cast<char>(0xF0 + (ucs >> 18));
    utf8[1] = static_cast<char>(0x80 + ((ucs >> 12) & 0x3F));
    utf8[2] = static_cast<char>(0x80 + ((ucs >> 6) & 0x3F));
    utf8[3] = static_cast<char>(0x80 + (ucs & 0x3F));
    nchr = 4;
  }
}

void wutf16(int32_t little, int32_t ucs, int32_t& nchr, char* utf16) {
  const uint32_t u = static_cast<uint32_t>(ucs);
  if (u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF)) fatal("Program error 1 in wutf16");
  auto unit = [&](int32_t at, uint32_t v) {
    const char hi = static_cast<char>(v >> 8);
    const char lo = static_cast<char>(v & 0xFF);
    utf16[at] = little != 0 ? lo : hi;
    utf16[at + 1] = little != 0 ? hi : lo;
  };
  if (u <= 0xFFFF) {
    unit(0, u);
    nchr = 2;
  } else {
    const uint32_t v = u - 0x10000;
    unit(0, 0xD800 + (v >> 10));
    unit(2, 0xDC00 + (v & 0x3FF));
    nchr = 4;
  }
}

void rutf8(const char* linchr, int32_t nchr, int32_t& ichr, int32_t& ucs) {
  if (ichr >= nchr) {
    ucs = -1;
    return;
  }
  const int32_t b = static_cast<unsigned char>(linchr[ichr]);
  if (b <= 0x7F) {
    ucs = b;
    ichr += 1;
    return;
  }
  ucs = -2;
  int32_t ncont = 0;
  int32_t value = 0;
  int32_t least = 0;
  if (b >= 0xC2 && b <= 0xDF) {
    ncont = 1, value = b - 0xC0, least = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    ncont = 2, value = b - 0xE0, least = 0x800;
  } else if (b >= 0xF0 && b <= 0xF7) {
    ncont = 3, value = b - 0xF0, least = 0x10000;
  } else {
    return;  // continuation byte, overlong 2-byte lead, or F8 to FF
  }
  if (ichr + ncont + 1 > nchr) return;
  for (int32_t i = 1; i <= ncont; ++i) {
    const int32_t c = static_cast<unsigned char>(linchr[ichr + i]);
    if (c < 0x80 || c > 0xBF) return;
    value = (value << 6) + (c & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return;
  ucs = value;
  ichr += ncont + 1;
}

int32_t utf8_cut(const char* s, int32_t at, int32_t n) {
  if (at <= 0 || at >= n) return at;
  // Characters from the start: the cut moves only when all before the one
  // it splits is UTF-8 and that one is whole UTF-8 with the bytes after the
  // cut.
  const int32_t end = n - at < CUT_LOOKAHEAD ? n : at + CUT_LOOKAHEAD;
  int32_t i = 0;
  for (;;) {
    const int32_t start = i;
    int32_t ucs;
    rutf8(s, end, i, ucs);
    if (ucs < 0) return at;
    if (i >= at) return i == at ? at : start;
  }
}

std::string_view join_line(char* buf, size_t cap, std::initializer_list<std::string_view> pieces) {
  size_t n = 0;
  for (std::string_view p : pieces) {
    const size_t k = p.size() < cap - n ? p.size() : cap - n;
    std::memcpy(buf + n, p.data(), k);
    n += k;
  }
  return {buf, n};
}

void drop_zero_decimals(const char* s, int32_t& l) {
  for (int32_t i = l - 1; i >= 0; --i) {
    if (s[i] == '0') continue;
    if (s[i] == '.' || s[i] == ',') l = i;
    return;
  }
}
