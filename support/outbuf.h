// Shared blocks cmenc and cmsav, the output buffer and the encoded writer.
#pragma once
#include <cstdint>
#include "sizes.h"

struct Cmenc {
  int32_t enc;  // 0 unknown, -1 8-bit/UTF-8, -2 UTF-8 with BOM, 1 UTF-16BE, 2 UTF-16LE
  int32_t esc;  // byte code of the CSV escape character, negative for none
  char bom[3];  // EF BB BF
};
struct Cmsav {
  int32_t nsav;          // bytes in use
  char savchr[SAVMAX];   // the output buffer
};
extern Cmenc cmenc;
extern Cmsav cmsav;

// Appends bufchr(1..nchr) to the output buffer; nothing when nchr < 1;
// beyond 200,000 bytes: fatal "Program Error: savbuf: Out of storage".
void savbuf(int32_t nchr, const char* bufchr);
// True when writfu can write bufchr(1..nchr) in the output's encoding: any
// bytes for 8-bit and UTF-8 output, UTF-8 text only for UTF-16 output.
bool encodable(const char* bufchr, int32_t nchr);
// Writes bufchr(1..nchr) to the unit in the input's encoding; nchr -1 closes
// the file.
void writfu(const char* fil, int32_t lfil, int32_t lunit, int32_t nchr, const char* bufchr);
