// The Notes column of a CSV student row in sort-number mode (zembic) or in
// Canvas mode (varlon): resized and prefilled when the row is read, filled
// once the student's candidate is known.
#pragma once
#include "run_state.h"

// Resizes the Notes cell (column r.colnot) of the current row to its final
// width and prefills it; moves the rest of the row and r.ipos; sets r.bufnot.
void notes_prefill(RunState& r, const ProgramDesc& d);
// Writes candidate r.id0 into the prefilled cell.
void notes_fill(RunState& r, const ProgramDesc& d);
