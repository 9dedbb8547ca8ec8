// The phases of the main procedure, in their fixed order.  Each runs once.
#pragma once
#include "run_state.h"

void phase_startup(RunState& r, const ProgramDesc& d, int argc, char** argv);    // 1
void phase_arguments(RunState& r, const ProgramDesc& d, int argc, char** argv);  // 2
void phase_files(RunState& r, const ProgramDesc& d);                              // 3
void phase_fold(RunState& r, const ProgramDesc& d);                               // 4
void phase_modes(RunState& r, const ProgramDesc& d);                              // 5
void phase_header(RunState& r, const ProgramDesc& d);                             // 6
void phase_sepquot(RunState& r, const ProgramDesc& d);                            // 7
void phase_email(RunState& r, const ProgramDesc& d);                              // 8
void phase_lcs(RunState& r, const ProgramDesc& d);                                // 10
void phase_roster(RunState& r, const ProgramDesc& d);                             // 11
void phase_shuffle(RunState& r, const ProgramDesc& d);                            // 13
void phase_pass(RunState& r, const ProgramDesc& d);                               // 14
void phase_closing(RunState& r, const ProgramDesc& d);                            // 16

// Phase 3's refusal of an INFILE or OUTFILE that leads to the log file, which
// start-up makes before it replaces the log: the file named stays as it is.
void refuse_log_names(const ProgramDesc& d, int argc, char** argv);

// The optional e-mail domain file, the same for both programs.
constexpr std::string_view EMAIL_FILE = "email.txt";

// The whole run of a program; returns the exit status of a normal end.
int run_program(const ProgramDesc& d, int argc, char** argv);
