// Not built yet.
#include "phases.h"

void phase_webpage(RunState&, const ProgramDesc&) {}
