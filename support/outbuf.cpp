// The output buffer cmsav and the encoded writer writfu.
#include "outbuf.h"

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

void writfu(const char* fil, int32_t lfil, int32_t lunit, int32_t nchr, const char* bufchr) {
  const std::string_view name(fil, lfil > 0 ? lfil : 0);
  if (nchr == -1) {
    if (!close_unit(lunit)) fatal2("Error finishing file ", name);
    return;
  }
  if (nchr < 1) return;
  if (cmenc.enc <= 0) {
    for (int32_t i = 0; i < nchr; ++i) {
      if (putchr(lunit, bufchr[i]) != 0) fatal2("Error writing to file ", name);
    }
    return;
  }
  // UTF-16 output: re-encode each UTF-8 character in the input's byte order.
  int32_t ichr = 0;
  for (;;) {
    int32_t ucs;
    rutf8(bufchr, nchr, ichr, ucs);
    if (ucs == -1) return;
    if (ucs < 0) fatal("Program error 1 in writfu");
    char utf16[4];
    int32_t n;
    wutf16(cmenc.enc - 1, ucs, n, utf16);
    for (int32_t i = 0; i < n; ++i) {
      if (putchr(lunit, utf16[i]) != 0) fatal2("Error writing to file ", name);
    }
  }
}
