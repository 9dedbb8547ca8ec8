// Not built yet.
#include "phases.h"

void phase_files(RunState&, const ProgramDesc&) {}
