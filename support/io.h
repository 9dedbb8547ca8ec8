// Files by unit number, opening, closing and byte I/O.
#pragma once
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string_view>

// Unit numbers of the system's files (the same in both programs).
constexpr int32_t LU_INPUT = 1;    // input roster; Class ID file while read
constexpr int32_t LU_OUTPUT = 2;   // output roster; Class ID file while written
constexpr int32_t LU_LOG = 3;      // log file
constexpr int32_t LU_LCSREAD = 4;  // limit-count-seed file while read
constexpr int32_t LU_KEYB = 5;     // keyboard (standard input)
constexpr int32_t LU_CONS = 6;     // console (standard output)
constexpr int32_t LU_NAMES = 7;    // names list file
constexpr int32_t LU_IDLIST = 8;   // identifier list file
constexpr int32_t LU_LCSAPP = 9;   // limit-count-seed file while appended
constexpr int32_t LU_HTML = 10;    // web page
constexpr int32_t LU_TABLE = 11;   // text table
constexpr int32_t LU_EMAIL = 12;   // e-mail domain file
constexpr int32_t LU_MAX = 12;

// The stream open on a unit, or nullptr.  Units 5 and 6 are bound to standard
// input and output unless bind_unit says otherwise.
FILE* unitf(int32_t lunit);
// Binds a unit to an already open stream (tests use it for the console).
void bind_unit(int32_t lunit, FILE* f);
// Closes a unit; returns false when the close failed.  A unit not open is fine.
bool close_unit(int32_t lunit);
// Flushes every open unit.
void flush_units();

// Existence test: 1 exists, 0 does not, -1 the test itself failed.
int32_t fexist(std::string_view fil);

void openw(std::string_view fil, int32_t lunit);   // new text file for writing
void openwu(std::string_view fil, int32_t lunit);  // new byte file for writing
void openru(std::string_view fil, int32_t lunit);  // existing file, byte reading
void closu(int32_t lunit, std::string_view fil);   // close and keep

// Input block: the file that openru opened is read INBLKMAX bytes at a time
// with read(2), and getchr and the line readers (decoder.h) take its bytes
// from memory.  One block serves the one file open for byte reading.
constexpr int32_t INBLKMAX = 65536;
struct InputBlock {
  int32_t lunit;  // unit of the file that fills the block (0: none)
  FILE* f;        // its stream, only for its descriptor (stdio never reads it)
  int32_t pos;    // index of the next byte to deliver
  int32_t len;    // bytes held; pos == len: used up
  char buf[INBLKMAX];
};
extern InputBlock cminp;

// Fills the used-up block from the file on lunit: 0 bytes were read, 1 end of
// file (again on every later call), 2 any other failure, also when lunit is
// not the block's unit or its file has been closed since.
int32_t fill_block(int32_t lunit);

// 0 a byte was read, 1 end of file, 2 any other failure.
int32_t getchr(int32_t lunit, char& chr);
// 0 written, 1 failure.
int32_t putchr(int32_t lunit, char chr);

// Writes the pieces and a line feed to the unit; false when a write failed.
bool wline(int32_t lunit, std::initializer_list<std::string_view> pieces);
// Writes the pieces without a line end; false when a write failed.
bool wtext(int32_t lunit, std::initializer_list<std::string_view> pieces);
