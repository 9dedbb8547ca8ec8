// The insertion rule that turns an input line into an output line; used for
// the header lines and for every student line.  Each routine appends the
// output line to the output buffer with savbuf.
#pragma once
#include <cstdint>

#include "run_state.h"

// Fresh assignment: the current line r.bufchr(1..r.nbuf) (line end r.term)
// with the value v(1..lv) added as the new cell (CSV: at r.ipos for column
// r.ncolf, quoted when r.doquot, later columns dropped when r.kill) or as the
// prefix (r.ncolf -1) or suffix (r.ncolf -2) of a plain text line with the
// separator string between.
void insert_value(const RunState& r, const char* v, int32_t lv);

// Re-run copy of a CSV line: the whole line, or with r.kill the bytes up to
// iend-1 (the end of the identifier column) followed by the line end.
void copy_rerun(const RunState& r, int32_t iend);

// Re-run of a CSV line whose identifier cell (raw length lcol, ending before
// position iend) is replaced by the value v(1..lv), quoted when r.doquot;
// with r.kill the line ends after the new cell.
void replace_cell(const RunState& r, int32_t iend, int32_t lcol, const char* v, int32_t lv);
