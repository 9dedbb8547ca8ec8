// Command-line arguments copied into fixed 256-byte slots.
#pragma once
#include <cstdint>
#include "sizes.h"

// Copies the arguments after the program's name into argt(1..min(nmax,narg))
// (blank-padded) and measures their used lengths into argtl.  narg is the
// true count.  An argument whose bytes 253 to 256 are not all blanks ends the
// run through fatal ("Argument i too long" / "Arguments too long").
void args(int argc, char** argv, int32_t nmax, int32_t& narg, char argt[][FLDMAX],
          int32_t argtl[]);
// One argument as its slot holds it: its first FLDMAX bytes, blank-padded,
// into slot; returns its used length (up to its last byte above 32, 1 when
// none), or 0 when bytes 253 to 256 are not all blanks (too long).
int32_t arg_slot(const char* a, char* slot);
