// CSV row reader.
#pragma once
#include <cstdint>

// Reads the next CSV row into bufchr(1..nbuf) (line end included); ipos/lpos
// give the insertion point in front of column ncolf (0: after the last).
void readcv(const char* fil, int32_t lfil, int32_t lunit, char& sep, char quot, int32_t ncolf,
            int32_t bufmax, int32_t& nbuf, int32_t& ipos, int32_t& lpos, char* bufchr,
            int32_t& term);
// Back to the state at program start (tests and fuzzing only).
void readcv_reset();
