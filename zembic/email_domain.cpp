// Not built yet.
#include "phases.h"

void phase_email(RunState&, const ProgramDesc&) {}
