// Input decoding shared by the two line readers (readfu, readcv): the decoded
// byte source, the byte-order-mark check, the line-end check and the warning
// lines.  Each reader keeps its own ReaderState; they share only cmenc.enc,
// cmenc.bom and the output buffer.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "io.h"
#include "outbuf.h"

// Per-run state of one line reader, kept between calls.
struct ReaderState {
  int32_t term0;  // line end of the first line ending in LF: 0 none yet, 1 LF, 2 CR LF
  char utf8[4];   // UTF-8 form of the last UTF-16 character decoded
  int32_t utf8l;  // its number of bytes, 1 to 4 (0 at start)
  int32_t utf8i;  // how many of them have been delivered; a byte is pending while < utf8l
};

// The slow part of next_decoded_byte: a pending UTF-8 byte, a UTF-16
// character, or a byte after the input block is refilled.
int32_t decode_byte(ReaderState& st, std::string_view fil, int32_t lunit, char& b);

// The next byte of the input on lunit, as UTF-8: a pending byte of the last
// decoded UTF-16 character, else a file byte (enc 0 or negative: unchanged;
// enc 1 or 2: a UTF-16 character decoded).  Returns 0 with the byte in b, or
// 1 at the end of the file before a character.  Read errors and broken UTF-16
// end the run with a message naming fil.  A byte that needs no decoding comes
// straight from the input block.
inline int32_t next_decoded_byte(ReaderState& st, std::string_view fil, int32_t lunit, char& b) {
  if (cminp.lunit == lunit && st.utf8i >= st.utf8l) {
    const int32_t left = cminp.len - cminp.pos;
    const uint8_t* p = reinterpret_cast<const uint8_t*>(cminp.buf + cminp.pos);
    if (cmenc.enc != 1 && cmenc.enc != 2) {
      if (left > 0) {
        b = static_cast<char>(p[0]);
        ++cminp.pos;
        return 0;
      }
    } else if (left >= 2) {
      const int32_t ucs = cmenc.enc == 1 ? p[0] * 256 + p[1] : p[1] * 256 + p[0];
      if (ucs < 0x80) {  // a UTF-16 character of one UTF-8 byte
        b = static_cast<char>(ucs);
        cminp.pos += 2;
        return 0;
      }
    }
  }
  return decode_byte(st, fil, lunit, b);
}

// Whether the readers take the bytes in memory in runs (plain_bytes, and for
// UTF-16 input ascii_units 16 characters at a time).  Off, plain_bytes gives
// nothing and every byte comes through next_decoded_byte one by one: tests
// and the fuzz target turn it off to hold the runs against that byte path.
// On at program start; the programs never change it.
inline bool decoder_word_paths = true;
inline void set_word_paths(bool on) { decoder_word_paths = on; }

// The ASCII characters at the head of the UTF-16 input in the input block,
// as one byte each, at most max and ASCIIMAX of them: in dst when given,
// else in a staging area.  Their count, and their first one in p.
constexpr int32_t ASCIIMAX = 1024;
int32_t ascii_units(const char*& p, char* dst = nullptr, int32_t max = ASCIIMAX);

// Bytes of the input on lunit that are already in memory and need no more
// decoding than that (none while a decoded character is pending): for 8-bit
// and UTF-8 input the bytes in the input block, for UTF-16 input the ASCII
// characters at its head (ascii_units, into dst when given: a reader that
// passes the free part of its row buffer finds them there, p == dst, with
// nothing to copy).  Their count, and their first one in p.  A reader copies
// what it wants of them and passes that count to take_plain.  Nothing while
// the word paths are off.
inline int32_t plain_bytes(const ReaderState& st, int32_t lunit, const char*& p,
                           char* dst = nullptr, int32_t max = ASCIIMAX) {
  if (st.utf8i < st.utf8l || cminp.lunit != lunit || !decoder_word_paths) return 0;
  if (cmenc.enc == 1 || cmenc.enc == 2) return ascii_units(p, dst, max);
  p = cminp.buf + cminp.pos;
  return cminp.len - cminp.pos;
}
inline void take_plain(int32_t n) { cminp.pos += cmenc.enc == 1 || cmenc.enc == 2 ? 2 * n : n; }

// A reader's check at the start of each call: when the file on lunit is no
// longer the one that filled the input block (closed since), the bytes left
// in the block are dropped, and the next read reports the failure.
void check_block(int32_t lunit);

// Byte-order-mark check on the first n (1 to 3) bytes of the file, held in
// head: a mark found gives its warning, puts EF BB BF into the output buffer,
// sets enc and returns true (the line starts again).  At n 3 without a mark
// enc becomes -1.
bool bom_check(const char* head, int32_t n, std::string_view fil);

// Line end of the line bufchr(1..nbuf) that ends in LF: 2 when a CR comes
// just before the LF, else 1.
int32_t line_end_kind(int32_t nbuf, const char* bufchr);

// A line ended before the byte-order-mark check had its three bytes: the
// file has no mark (enc still 0 becomes -1).
void no_mark_found();

// The first line ending in LF fixes the kind of line end for the file; a
// later line of the other kind ends the run.
void line_end_check(ReaderState& st, int32_t term, std::string_view fil);

// A warning: the pieces as one line on the console and in the log, then an
// empty line on each.  A failed log write ends the run.
void warn_lines(std::initializer_list<std::string_view> pieces);

// The used part of a name field: fil(1..lfil); a length outside 0..256 ends
// the run ("Program error in name_of").
std::string_view name_of(const char* fil, int32_t lfil);
