// Not built yet.
#include "notes_column.h"

void notes_prefill(RunState&, const ProgramDesc&) {}
void notes_fill(RunState&, const ProgramDesc&) {}
