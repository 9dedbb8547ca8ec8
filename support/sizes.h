// Fixed sizes shared by the support library and both programs.
//
// Positions: the routines describe bytes by 1-based positions (byte 1 is the
// first byte of a field or line).  In the code, position p of a field is
// stored at index p-1 of its array; counts and lengths keep their meaning
// (a line of nbuf bytes occupies indexes 0..nbuf-1).  Candidate indexes and
// shuffled positions are 0-based already and are used as they are.
#pragma once
#include <cstdint>

constexpr int32_t BUFMAX = 100000;  // line buffer: one input line or CSV row
constexpr int32_t SAVMAX = 200000;  // output buffer
constexpr int32_t RECMAX = 155;     // one list record
constexpr int32_t FLDMAX = 256;     // file names, argument slots, fetched fields
