// Not built yet.
#include "phases.h"

void phase_fold(RunState&, const ProgramDesc&) {}
void phase_modes(RunState&, const ProgramDesc&) {}
void phase_header(RunState&, const ProgramDesc&) {}
void phase_sepquot(RunState&, const ProgramDesc&) {}
