// Text line reader: decodes the input (byte-order mark, UTF-16) and checks
// line ends.
#pragma once
#include <cstdint>

// Reads the next line into bufchr(1..nbuf), terminator included; term 0 end of
// file (no terminator; the file is then closed), 1 LF, 2 CR LF.
void readfu(const char* fil, int32_t lfil, int32_t lunit, int32_t bufmax, int32_t& nbuf,
            char* bufchr, int32_t& term);
// Back to the state at program start (tests and fuzzing only).
void readfu_reset();
