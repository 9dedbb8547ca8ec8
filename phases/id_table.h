// The tables of identifiers, ten entries a row: the shuffled order, the first
// still unused identifiers and the text table.  The programs differ in the
// row label, the identifier width, the "Num:" row and the dash lines.
#pragma once
#include <cstdint>
#include <string_view>

#include "run_state.h"

struct IdTable {
  std::string_view label;   // "AID:" or "NAID:"
  int32_t digits;           // identifier characters after the class-ID columns: 3 or 4
  bool numbers;             // a "Num:" row of sort numbers above every identifier row
  std::string_view dashes;  // before every row and after the last, log or file only; empty: none
};

// Where the rows go: lunit 0 for the console and the log file (the console
// row first); otherwise that file unit, whose failed write ends the run with
// write_error.
struct TableSink {
  int32_t lunit;
  std::string_view write_error;
};

// Heading line on the console and in the log: text, then, when the class ID
// is too wide for the items' class-ID columns, " (prefix \"" class ID "\")",
// then ":".
void id_table_heading(const IdTable& t, const RunState& r, std::string_view text);

// The rows for the shuffled positions first .. first+count-1: sort number
// idorg+1 and candidate idorg of each position.  No rows for count 0.
void id_table_shuffled(const IdTable& t, const RunState& r, int32_t first, int32_t count,
                       const TableSink& sink);

// The rows for all nid candidates in candidate order: sort number index+1; an
// identifier not met in this input file shows blanks.
void id_table_sorted(const IdTable& t, const RunState& r, const TableSink& sink);
