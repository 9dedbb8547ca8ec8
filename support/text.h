// Integer text, trimming, and UTF-8 / UTF-16 coding.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>

// Decimal text of ival, left-aligned and blank-padded in str(1..len);
// lstr its length.  Asterisks when the number does not fit.
void inttos(int32_t ival, char* str, int32_t len, int32_t& lstr);
// ival right-aligned in str(1..w), blanks in front; asterisks when it does
// not fit.
void rjust(int32_t ival, char* str, int32_t w);
// Number text in buf: ival right-aligned in w columns (1 to 12) as rjust
// writes it, or, for w = 0, its digits alone.  Returns the text's bytes in buf.
std::string_view num_text(int32_t ival, char (&buf)[12], int32_t w = 0);
// Removes bytes of code 32 or less at both ends of str(1..lstr), moving the
// rest to the left; lstr becomes the new length.
void trimlt(char* str, int32_t& lstr);
// UTF-8 form of ucs into utf8(1..nchr); invalid code point: fatal.
void wutf8(int32_t ucs, int32_t& nchr, char* utf8);
// UTF-16 form of ucs (little: 0 big-endian, else little-endian).
void wutf16(int32_t little, int32_t ucs, int32_t& nchr, char* utf16);
// Code point of the UTF-8 character at 0-based offset ichr of linchr(1..nchr);
// ucs -1 at the end, -2 for an invalid sequence (ichr then unchanged).
void rutf8(const char* linchr, int32_t nchr, int32_t& ichr, int32_t& ucs);

// Bytes at p, in whole blocks of 32 from the first, up to the first block
// that holds a byte not zero under the mask of its place (m0 at even
// offsets, m1 at odd ones), n at most: with 80 80 the bytes below 0x80,
// with FF 80 or 80 FF the UTF-16 characters below 0x80 in either byte order.
// A block is tested as four 8-byte words at once.
inline int32_t ascii_blocks(const uint8_t* p, int32_t n, uint8_t m0, uint8_t m1) {
  const uint8_t pattern[8] = {m0, m1, m0, m1, m0, m1, m0, m1};
  uint64_t mask;
  std::memcpy(&mask, pattern, sizeof mask);
  int32_t k = 0;
  for (; k + 32 <= n; k += 32) {
    uint64_t w[4];
    std::memcpy(w, p + k, sizeof w);
    if (((w[0] | w[1] | w[2] | w[3]) & mask) != 0) break;
  }
  return k;
}

// How many bytes of s(1..n) to keep when it is cut to `at` bytes: `at`, or
// fewer when the cut would split a UTF-8 character, which is then left out
// whole.  The cut moves only in UTF-8 text: the bytes before that character
// are well-formed UTF-8 and the character is well-formed with the bytes after
// the cut.  Any other text (8-bit text) is cut at `at`.
int32_t utf8_cut(const char* s, int32_t at, int32_t n);
// The bytes after a cut that utf8_cut may need to see.
constexpr int32_t CUT_LOOKAHEAD = 3;

// The pieces one after the other in buf(1..cap), cut where buf is full;
// returns the text in buf.  Message lines and records are joined here.
std::string_view join_line(char* buf, size_t cap, std::initializer_list<std::string_view> pieces);
// A decimal part of zeros at the end of s(1..l) goes with its "." or ","
// (17.00 and 17, become 17); any other last character leaves l as it is.
void drop_zero_decimals(const char* s, int32_t& l);

// True for a blank byte: unsigned code 32 or less.
inline bool isblank_byte(char c) { return static_cast<unsigned char>(c) <= 32; }

// Bytes pos..pos+len-1 of s, cut at its end (empty when pos is past it).
// Unlike string_view::substr it never throws, so the programs need no C++
// runtime library for it.
inline std::string_view view_part(std::string_view s, size_t pos,
                                  size_t len = std::string_view::npos) {
  if (pos > s.size()) pos = s.size();
  if (len > s.size() - pos) len = s.size() - pos;
  return std::string_view(s.data() + pos, len);
}
