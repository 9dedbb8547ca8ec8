// varlon's own parts: its description and the phases only it runs.
#pragma once
#include <cstdint>

#include "class_id.h"
#include "id_table.h"
#include "run_state.h"

extern const ProgramDesc varlon_desc;
extern const ClassRules varlon_class_rules;

void phase_naid_candidates(RunState& r, const ProgramDesc& d);  // 12: the NAID candidate set

// The tables of NAID numbers: identifier rows only.
inline constexpr IdTable NAID_TABLE{"NAID:", 4, false, {}};

// The rejection rules of the NAID candidate set, in the order they are tested.
constexpr int32_t NRULES = 3;
constexpr int32_t NTRIED = 900;  // the numbers 100 to 999 before their check digit

// Builds the NAID candidates of class distinction digit cls in ascending order:
// idstr(k) holds the four digit characters, idorg becomes the identity over the
// nid candidates, nrej(i) counts the numbers rejected first by rule i+1.  A
// candidate beyond `cap` entries ends the run with "Program error: out of ID
// storage" before it is stored.
void build_naids(int32_t cls, char (&idstr)[CANDMAX][4], int32_t (&idorg)[CANDMAX], int32_t& nid,
                 int32_t (&nrej)[NRULES], int32_t cap = CANDMAX);

// The clean-up of an existing NAID cell s(1..l) of a re-run, already trimmed:
// leading zeros go (zeros only leave nothing); a decimal part of zeros goes
// with its "." or ","; then, when the text is one character longer than a
// class ID and a NAID and has "." or "," just before the NAID's last three
// digits, that thousands separator goes.
void naid_clean(char* s, int32_t& l, int32_t lcid);
