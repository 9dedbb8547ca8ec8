// Runs readcv over a whole file for the row reader's tests: once with its
// word scan and once without it (every byte through the scan byte by byte).
// The two reads must agree in every respect.
#pragma once
#include <string>

#include <gtest/gtest.h>

#include "readcv.h"
#include "reader_helpers.h"
#include "sizes.h"

struct Opts {
  char sep = ',';
  char quot = '"';
  int32_t esc = -1;
  int32_t ncolf = 0;
  int32_t bufmax = BUFMAX;
};

struct CsvRead : ReadAll {
  char sep = 0;  // the separator after the last call
};

inline const std::string fname = "r.csv";

inline CsvRead read_csv_once(const std::string& bytes, const Opts& o, bool words) {
  static char bufchr[BUFMAX + 1];
  readcv_reset();
  readcv_word_paths(words);
  cmenc.esc = o.esc;
  char sep = o.sep;
  CsvRead r;
  static_cast<ReadAll&>(r) = read_all(fname, bytes, [&](ReadRow& row) {
    int32_t nbuf = -5, ipos = -5, lpos = -5, term = -5;
    readcv(fname.data(), static_cast<int32_t>(fname.size()), LU_INPUT, sep, o.quot, o.ncolf,
           o.bufmax, nbuf, ipos, lpos, bufchr, term);
    if (nbuf == 0 && term == 0) return 0;
    row = {std::string(bufchr, nbuf), term, ipos, lpos};
    return 1;
  });
  r.sep = sep;
  cmenc.esc = -1;
  readcv_word_paths(true);
  return r;
}

// Everything a read gave, as one text.
inline std::string read_text(const CsvRead& r) {
  std::string t;
  for (const ReadRow& row : r.rows) {
    t += std::to_string(row.term) + ' ' + std::to_string(row.ipos) + ' ' +
         std::to_string(row.lpos) + ' ' + row.bytes;
  }
  return t + std::to_string(r.ended) + std::to_string(r.fataled) + r.console + r.log + r.saved +
         std::to_string(r.enc) + r.sep;
}

// Reads the file both ways: a difference fails the test; returns the read
// with the word scan.
inline CsvRead read_csv(const std::string& bytes, Opts o = {}) {
  const CsvRead words = read_csv_once(bytes, o, true);
  const std::string a = read_text(words), b = read_text(read_csv_once(bytes, o, false));
  if (a != b) {
    size_t at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
    ADD_FAILURE() << "word and byte scans differ at byte " << at << " of what they read from "
                  << bytes.substr(0, 200);
  }
  return words;
}
