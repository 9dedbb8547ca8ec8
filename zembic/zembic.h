// zembic's own parts: its description and the phases only it runs.
#pragma once
#include "class_id.h"
#include "id_table.h"
#include "run_state.h"

extern const ProgramDesc zembic_desc;
extern const ClassRules zembic_class_rules;

void phase_candidates(RunState& r, const ProgramDesc& d);  // 12: the AID candidate set
void phase_webpage(RunState& r, const ProgramDesc& d);     // 15: web page and text table

// The tables of AID strings: the shuffled order and the text table framed by
// 74 dashes, the first still unused AID strings by a blank and 78 dashes.
inline constexpr IdTable AID_TABLE{
    "AID:", 3, true, "--------------------------------------------------------------------------"};
inline constexpr IdTable AID_UNUSED_TABLE{
    "AID:", 3, true, " ------------------------------------------------------------------------------"};
