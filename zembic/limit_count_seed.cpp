// Not built yet.
#include "phases.h"

void phase_lcs(RunState&, const ProgramDesc&) {}
