// Input decoding shared by the two line readers.
#include "decoder.h"

#include <algorithm>

#include "fatal.h"
#include "io.h"
#include "outbuf.h"
#include "sizes.h"
#include "text.h"

namespace {

// One byte of the file; false at its end.
bool file_byte(std::string_view fil, int32_t lunit, char& b) {
  if (cminp.pos >= cminp.len || cminp.lunit != lunit) {
    const int32_t r = fill_block(lunit);
    if (r == 2) fatal2("Error reading file ", fil);
    if (r == 1) return false;
  }
  b = cminp.buf[cminp.pos++];
  return true;
}

// The second byte of a UTF-16 code unit, or one of a low surrogate: the end
// of the file here leaves a character incomplete.
uint8_t more_byte(std::string_view fil, int32_t lunit) {
  char b;
  if (!file_byte(fil, lunit, b)) fatal2("Incomplete UTF-16 character ends ", fil);
  return static_cast<uint8_t>(b);
}

// A code unit from its two bytes in the file's byte order.
int32_t code_unit(uint8_t b1, uint8_t b2) {
  return cmenc.enc == 1 ? b1 * 256 + b2 : b2 * 256 + b1;
}

char ascii_stage[ASCIIMAX];

}  // namespace

int32_t ascii_units(const char*& p, char* dst, int32_t max) {
  const uint8_t* u = reinterpret_cast<const uint8_t*>(cminp.buf + cminp.pos);
  int32_t nu = (cminp.len - cminp.pos) / 2;  // whole code units only
  if (dst == nullptr) dst = ascii_stage;
  // At most ASCIIMAX: a reader that stops early (a short line) wastes no more.
  nu = std::max(std::min({nu, max, ASCIIMAX}), 0);
  const int32_t hi = cmenc.enc == 1 ? 0 : 1;  // the high byte's place in a unit
  const int32_t lo = 1 - hi;
  // Whole blocks of 16 ASCII characters (high byte 0, low byte below 0x80),
  // then their low bytes in one loop; the compiler vectorises both.
  int32_t k = ascii_blocks(u, 2 * nu, hi == 0 ? 0xFF : 0x80, hi == 0 ? 0x80 : 0xFF) / 2;
  const uint8_t* low_bytes = u + lo;
  for (int32_t i = 0; i < k; ++i) dst[i] = static_cast<char>(low_bytes[2 * i]);
  for (; k < nu; ++k) {
    const uint8_t high = u[2 * k + hi];
    const uint8_t low = u[2 * k + lo];
    if (high != 0 || low >= 0x80) break;
    dst[k] = static_cast<char>(low);
  }
  p = dst;
  return k;
}

int32_t decode_byte(ReaderState& st, std::string_view fil, int32_t lunit, char& b) {
  if (st.utf8i < st.utf8l) {
    b = st.utf8[st.utf8i++];
    return 0;
  }
  char c;
  if (!file_byte(fil, lunit, c)) return 1;
  if (cmenc.enc != 1 && cmenc.enc != 2) {
    b = c;
    return 0;
  }
  const uint8_t b1 = static_cast<uint8_t>(c);
  int32_t ucs = code_unit(b1, more_byte(fil, lunit));
  if (ucs >= 0xDC00 && ucs <= 0xDFFF) fatal2("Bad UTF-16 first int in ", fil);
  if (ucs >= 0xD800 && ucs <= 0xDBFF) {
    const uint8_t w1 = more_byte(fil, lunit);
    const int32_t w = code_unit(w1, more_byte(fil, lunit));
    if (w < 0xDC00 || w > 0xDFFF) fatal2("Bad UTF-16 second int in ", fil);
    ucs = 0x10000 + (ucs - 0xD800) * 0x400 + (w - 0xDC00);
  }
  if (ucs < 0x80) {  // one byte: nothing left pending
    st.utf8l = st.utf8i = 1;
    b = static_cast<char>(ucs);
    return 0;
  }
  wutf8(ucs, st.utf8l, st.utf8);
  st.utf8i = 1;
  b = st.utf8[0];
  return 0;
}

bool bom_check(const char* head, int32_t n, std::string_view fil) {
  const auto h = [head](int32_t i) { return static_cast<uint8_t>(head[i]); };
  const char* text = nullptr;
  int32_t enc = 0;
  if (n == 2 && h(0) == 0xFE && h(1) == 0xFF) {
    text = " ** Warning: UTF-16BE file: ";
    enc = 1;
  } else if (n == 2 && h(0) == 0xFF && h(1) == 0xFE) {
    text = " ** Warning: UTF-16LE file: ";
    enc = 2;
  } else if (n == 3 && head[0] == cmenc.bom[0] && head[1] == cmenc.bom[1] &&
             head[2] == cmenc.bom[2]) {
    text = " ** Warning: UTF-8 BOM in ";
    enc = -2;
  }
  if (text == nullptr) {
    if (n == 3) cmenc.enc = -1;
    return false;
  }
  warn_lines({text, fil});
  savbuf(3, cmenc.bom);
  cmenc.enc = enc;
  return true;
}

void check_block(int32_t lunit) {
  if (cminp.lunit == lunit && unitf(lunit) != cminp.f) cminp.pos = cminp.len;
}

int32_t line_end_kind(int32_t nbuf, const char* bufchr) {
  return nbuf > 1 && bufchr[nbuf - 2] == '\r' ? 2 : 1;
}

void no_mark_found() {
  if (cmenc.enc == 0) cmenc.enc = -1;
}

void line_end_check(ReaderState& st, int32_t term, std::string_view fil) {
  if (st.term0 == 0) st.term0 = term;
  if (term != st.term0) fatal2("Mix of Unix and DOS newlines in ", fil);
}

void warn_lines(std::initializer_list<std::string_view> pieces) {
  wline(LU_CONS, pieces);
  if (!wline_now(LU_LOG, pieces)) fatal("Error writing to log file");
  wline(LU_CONS, {});
  if (!wline_now(LU_LOG, {})) fatal("Error writing to log file");
}

std::string_view name_of(const char* fil, int32_t lfil) {
  if (lfil < 0 || lfil > FLDMAX) fatal("Program error in name_of");
  return std::string_view(fil, lfil);
}
