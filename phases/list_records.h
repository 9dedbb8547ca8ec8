// List records and the two list files of the student pass.
#pragma once
#include "run_state.h"

// Creates the names list file and the identifier list file and writes the
// Ideal Student record (Blackboard and Canvas mode).
void lists_open(RunState& r, const ProgramDesc& d);
// Builds the list record of the student in the current row (candidate r.id0),
// shows it on the console and in the log, writes it to the names list file
// and sets r.idrecl(r.id0).
void list_record(RunState& r, const ProgramDesc& d);
// After the last row: the records in candidate order on the console, the log
// and the identifier list file; then closes both list files.
void lists_close(RunState& r, const ProgramDesc& d);
