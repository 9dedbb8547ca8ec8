// Not built yet.
#include "phases.h"

void phase_classid(RunState&, const ProgramDesc&) {}
