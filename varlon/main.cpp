// varlon: anonymous 4-digit NAID numbers for a class roster.
#include "phases.h"
#include "varlon.h"

int main(int argc, char** argv) { return run_program(varlon_desc, argc, argv); }
