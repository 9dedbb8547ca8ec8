// Not built yet.
#include "phases.h"

void phase_roster(RunState&, const ProgramDesc&) {}
