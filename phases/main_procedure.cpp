// The main procedure shared by both programs: the fixed phase sequence.
#include "class_id.h"
#include "phases.h"

namespace {
RunState run;  // static storage for the whole run
}

int run_program(const ProgramDesc& d, int argc, char** argv) {
  RunState& r = run;
  phase_startup(r, d, argc, argv);
  phase_arguments(r, d, argc, argv);
  phase_files(r, d);
  phase_fold(r, d);
  phase_modes(r, d);
  phase_header(r, d);
  phase_sepquot(r, d);
  phase_email(r, d);
  class_id_file(r, *d.class_rules);
  phase_lcs(r, d);
  phase_roster(r, d);
  d.candidates(r, d);
  phase_shuffle(r, d);
  phase_pass(r, d);
  if (d.webpage != nullptr) d.webpage(r, d);
  phase_closing(r, d);
  return 0;
}
