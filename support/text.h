// Integer text, trimming, and UTF-8 / UTF-16 coding.
#pragma once
#include <cstddef>
#include <cstdint>
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

// The pieces one after the other in buf(1..cap), cut where buf is full;
// returns the text in buf.  Message lines and records are joined here.
std::string_view join_line(char* buf, size_t cap, std::initializer_list<std::string_view> pieces);
// A decimal part of zeros at the end of s(1..l) goes with its "." or ","
// (17.00 and 17, become 17); any other last character leaves l as it is.
void drop_zero_decimals(const char* s, int32_t& l);

// True for a blank byte: unsigned code 32 or less.
inline bool isblank_byte(char c) { return static_cast<unsigned char>(c) <= 32; }
