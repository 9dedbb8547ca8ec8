// Not built yet.
#include "phases.h"

void phase_candidates(RunState&, const ProgramDesc&) {}
