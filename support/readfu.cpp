// readfu: reads one line of a plain text roster per call.
//
// Decoding (byte-order mark, UTF-16) and the line-end check are shared with
// the CSV reader (decoder.h); this reader keeps its own state for them.
#include "readfu.h"

#include <cstring>

#include "decoder.h"
#include "fatal.h"
#include "io.h"
#include "outbuf.h"

namespace {

// Per-run state of the text line reader, kept between calls.
struct TextState {
  ReaderState rd;  // line-end kind of the first line and the pending character
};
TextState st = {};

}  // namespace

void readfu(const char* fil, int32_t lfil, int32_t lunit, int32_t bufmax, int32_t& nbuf,
            char* bufchr, int32_t& term) {
  const std::string_view name = name_of(fil, lfil);
  char head[3];  // the first bytes of the file while enc is still unknown
  nbuf = 0;
  check_block(lunit);
  for (;;) {
    // The bytes in memory up to the line feed go in at once (UTF-16 input:
    // narrowed straight into the line buffer).
    const char* p = nullptr;
    char* dst = bufchr + nbuf;
    int32_t n = cmenc.enc != 0 ? plain_bytes(st.rd, lunit, p, dst, bufmax - nbuf) : 0;
    if (n > bufmax - nbuf) n = bufmax - nbuf;
    if (n > 0) {
      const void* lf = std::memchr(p, '\n', n);
      const int32_t k = lf != nullptr ? static_cast<int32_t>(static_cast<const char*>(lf) - p) : n;
      if (p != dst) std::memcpy(dst, p, k);
      nbuf += k;
      take_plain(k);
    }
    char b;
    if (next_decoded_byte(st.rd, name, lunit, b) != 0) {
      closu(lunit, name);
      term = 0;
      return;
    }
    if (++nbuf > bufmax) fatal2("File is too big to process: ", name);
    bufchr[nbuf - 1] = b;
    if (cmenc.enc == 0 && nbuf <= 3) {
      head[nbuf - 1] = b;
      if (bom_check(head, nbuf, name)) {
        nbuf = 0;  // the mark belongs to no line
        continue;
      }
    }
    if (b != '\n') continue;
    no_mark_found();
    term = line_end_kind(nbuf, bufchr);
    line_end_check(st.rd, term, name);
    return;
  }
}

void readfu_reset() { st = {}; }
