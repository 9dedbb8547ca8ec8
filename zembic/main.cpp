// zembic: anonymous 3-character AID strings for a class roster.
#include "phases.h"
#include "zembic.h"

int main(int argc, char** argv) { return run_program(zembic_desc, argc, argv); }
