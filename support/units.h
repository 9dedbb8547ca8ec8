// The table of open files by unit number and line output to them, below
// both the opening routines and the error exits.
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

// Writes the pieces and a line feed to the unit; false when a write failed.
bool wline(int32_t lunit, std::initializer_list<std::string_view> pieces);
// Writes the pieces without a line end; false when a write failed.
bool wtext(int32_t lunit, std::initializer_list<std::string_view> pieces);
// As wline, and the line reaches the file at once: false when the write or
// the flush failed.  Every log line goes this way.
bool wline_now(int32_t lunit, std::initializer_list<std::string_view> pieces);
