// Tests on the argument slots that phases 3 to 7 share.
#pragma once
#include <cstdint>
#include <string_view>

#include "run_state.h"

// Text comparison of the system: byte by byte as unsigned values, the shorter
// text counting as padded with blanks, so trailing blanks never matter.
inline bool same_text(const char* a, int32_t la, std::string_view b) {
  const int32_t lb = static_cast<int32_t>(b.size());
  const int32_t n = la > lb ? la : lb;
  for (int32_t i = 0; i < n; ++i) {
    const char ca = i < la ? a[i] : ' ';
    const char cb = i < lb ? b[i] : ' ';
    if (ca != cb) return false;
  }
  return true;
}

// The argument slots by position: input and output file names, then the
// options.
constexpr int32_t FIN = 1, FOUT = 2, POS = 3, HEADER = 4, SEP = 5, QUOT = 6, SEED = 7;

// Bytes and used length of argument slot `pos` (1 to 7).
inline char* slot_bytes(RunState& r, int32_t pos) { return r.argt[pos - 1]; }
inline const char* slot_bytes(const RunState& r, int32_t pos) { return r.argt[pos - 1]; }
inline int32_t& slot_len(RunState& r, int32_t pos) { return r.argtl[pos - 1]; }
inline int32_t slot_len(const RunState& r, int32_t pos) { return r.argtl[pos - 1]; }

// The separator byte and the quote byte of a CSV file (the first bytes of SEP
// and QUOT once the options are read).  The reader of the first CSV row may
// set the separator it finds.
inline char& sep_char(RunState& r) { return r.argt[SEP - 1][0]; }
inline char sep_char(const RunState& r) { return r.argt[SEP - 1][0]; }
inline char quot_char(const RunState& r) { return r.argt[QUOT - 1][0]; }

// Argument slot `pos` (1 to 7) as text.
inline std::string_view slot_text(const RunState& r, int32_t pos) {
  return {r.argt[pos - 1], static_cast<size_t>(r.argtl[pos - 1])};
}

// The input file's name, as messages show it.
inline std::string_view input_name(const RunState& r) { return slot_text(r, FIN); }

// An argument is given when it was typed at all and is not "-"; otherwise its
// default applies.
inline bool arg_given(const RunState& r, int32_t pos) {
  return pos <= r.narg && !same_text(r.argt[pos - 1], r.argtl[pos - 1], "-");
}

// Puts a default value into argument slot `pos`, blank-padded.
inline void set_slot(RunState& r, int32_t pos, std::string_view value) {
  char* slot = r.argt[pos - 1];
  const int32_t n = value.size() < FLDMAX ? static_cast<int32_t>(value.size()) : FLDMAX;
  for (int32_t i = 0; i < FLDMAX; ++i) slot[i] = i < n ? value[i] : ' ';
  r.argtl[pos - 1] = n;
}
