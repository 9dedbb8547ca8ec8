// Input decoding shared by the two line readers (readfu, readcv): the decoded
// byte source, the byte-order-mark check, the line-end check and the warning
// lines.  Each reader keeps its own ReaderState; they share only cmenc.enc,
// cmenc.bom and the output buffer.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string_view>

// Per-run state of one line reader, kept between calls.
struct ReaderState {
  int32_t term0;  // line end of the first line ending in LF: 0 none yet, 1 LF, 2 CR LF
  char utf8[4];   // UTF-8 form of the last UTF-16 character decoded
  int32_t utf8l;  // its number of bytes, 1 to 4 (0 at start)
  int32_t utf8i;  // how many of them have been delivered; a byte is pending while < utf8l
};

// The next byte of the input on lunit, as UTF-8: a pending byte of the last
// decoded UTF-16 character, else a file byte (enc 0 or negative: unchanged;
// enc 1 or 2: a UTF-16 character decoded).  Returns 0 with the byte in b, or
// 1 at the end of the file before a character.  Read errors and broken UTF-16
// end the run with a message naming fil.
int32_t next_decoded_byte(ReaderState& st, std::string_view fil, int32_t lunit, char& b);

// Byte-order-mark check on the first n (1 to 3) bytes of the file, held in
// head: a mark found gives its warning, puts EF BB BF into the output buffer,
// sets enc and returns true (the line starts again).  At n 3 without a mark
// enc becomes -1.
bool bom_check(const char* head, int32_t n, std::string_view fil);

// Line end of the line bufchr(1..nbuf) that ends in LF: 2 when a CR comes
// just before the LF, else 1.  enc still 0 becomes -1.
int32_t line_end_kind(int32_t nbuf, const char* bufchr);

// The first line ending in LF fixes the kind of line end for the file; a
// later line of the other kind ends the run.
void line_end_check(ReaderState& st, int32_t term, std::string_view fil);

// A warning: the pieces as one line on the console and in the log, then an
// empty line on each.  A failed log write ends the run.
void warn_lines(std::initializer_list<std::string_view> pieces);

// The used part of a name field: fil(1..lfil), lfil kept within 0..256.
std::string_view name_of(const char* fil, int32_t lfil);
