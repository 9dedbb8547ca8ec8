// The output buffer cmsav and the encoded writer writfu.
#include "outbuf.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "fatal.h"
#include "io.h"
#include "text.h"

Cmenc cmenc = {0, -1, {'\xEF', '\xBB', '\xBF'}};
Cmsav cmsav = {0, {}};

void savbuf(int32_t nchr, const char* bufchr) {
  if (nchr < 1) return;
  if (nchr > SAVMAX - cmsav.nsav) fatal("Program Error: savbuf: Out of storage");
  std::memcpy(cmsav.savchr + cmsav.nsav, bufchr, nchr);
  cmsav.nsav += nchr;
}

bool encodable(const char* bufchr, int32_t nchr) {
  if (cmenc.enc <= 0) return true;
  int32_t ichr = 0;
  for (;;) {
    int32_t ucs;
    rutf8(bufchr, nchr, ichr, ucs);
    if (ucs == -1) return true;
    if (ucs < 0) return false;
  }
}

namespace {

// UTF-16 output is encoded into this block and written a block at a time:
// room for the longest row (up to 100,000 bytes read, twice that as UTF-16,
// and what a run adds to it), so that a row goes out in one stream write.
constexpr int32_t OUTBLK = 262144;
char utf16blk[OUTBLK];

void write_block(std::string_view name, int32_t lunit, const char* b, int32_t n) {
  if (put_block(lunit, b, n) != 0) fatal2("Error writing to file ", name);
}

// The n ASCII bytes at b as n UTF-16 code units at out, the low byte of each
// at offset lo (one loop per byte order, which the compiler vectorises).
void widen_ascii(const char* b, int32_t n, char* out, int32_t lo) {
  if (lo == 0) {
    for (int32_t i = 0; i < n; ++i) {
      out[2 * i] = b[i];
      out[2 * i + 1] = 0;
    }
  } else {
    for (int32_t i = 0; i < n; ++i) {
      out[2 * i] = 0;
      out[2 * i + 1] = b[i];
    }
  }
}

}  // namespace

void writfu(const char* fil, int32_t lfil, int32_t lunit, int32_t nchr, const char* bufchr) {
  const std::string_view name(fil, lfil > 0 ? lfil : 0);
  if (nchr == -1) {
    if (!close_unit(lunit)) fatal2("Error finishing file ", name);
    return;
  }
  if (nchr < 1) return;
  if (cmenc.enc <= 0) {
    write_block(name, lunit, bufchr, nchr);
    return;
  }
  // UTF-16 output: re-encode each UTF-8 character in the input's byte order.
  // What came before a character that is not UTF-8 is written before the run
  // ends.
  const int32_t little = cmenc.enc - 1;
  const int32_t lo = little != 0 ? 0 : 1;  // index of the low byte of a unit
  int32_t k = 0;
  int32_t ichr = 0;
  while (ichr < nchr) {
    if (k > OUTBLK - 4) {
      write_block(name, lunit, utf16blk, k);
      k = 0;
    }
    // A run of ASCII as far as the block has room: each byte becomes one
    // unit with a zero high byte, whole blocks of 32 and then byte by byte.
    const uint8_t* run = reinterpret_cast<const uint8_t*>(bufchr + ichr);
    const int32_t room = std::min(nchr - ichr, (OUTBLK - k) / 2);
    int32_t n = ascii_blocks(run, room, 0x80, 0x80);
    while (n < room && run[n] < 0x80) ++n;
    widen_ascii(bufchr + ichr, n, utf16blk + k, lo);
    ichr += n;
    k += 2 * n;
    if (ichr >= nchr || k > OUTBLK - 4) continue;
    int32_t ucs;
    rutf8(bufchr, nchr, ichr, ucs);
    if (ucs < 0) {
      write_block(name, lunit, utf16blk, k);
      fatal("Program error 1 in writfu");
    }
    int32_t nu;
    wutf16(little, ucs, nu, utf16blk + k);
    k += nu;
  }
  write_block(name, lunit, utf16blk, k);
}
