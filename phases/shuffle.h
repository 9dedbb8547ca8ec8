// The seed and the seeded shuffle of the candidates (both programs), and the
// table of the shuffled order (zembic).
#pragma once
#include <cstdint>

#include "run_state.h"

// The seed derived from the clock's tick count and the process number: the
// low 31 bits of pid rotated left by 16 within those bits, bit 31 kept,
// exclusive-or the tick count (a negative tick count counts as 2147483647).
// A result of 1 becomes 0, so that the recorded seed never asks for another.
int32_t derive_seed(int64_t ticks, int32_t pid);

// The shuffled position step k picks for the draw d among nid candidates:
// k plus the integer part of r * (nid - k), with r the single-precision
// nearest value of d / 2^31.  nid is returned when r rounds to 1.
int32_t pick_position(int32_t d, int32_t k, int32_t nid);

// Seeds the generator with seed and shuffles idorg(0..nid-1) in place, one draw
// per position.  False when a draw falls outside the remaining positions
// (idorg is then left half shuffled) or nid is outside 0..CANDMAX.
bool shuffle_ids(int32_t seed, int32_t nid, int32_t* idorg);

// The inverse order: orgid(idorg(p)) = p for p = 0 to nid-1.
void invert_order(int32_t nid, const int32_t* idorg, int32_t* orgid);

// The common part of phase 13: derives the seed when it is 1, writes the
// "Seed used:" line and an empty line, shuffles r.idorg over r.nid entries
// (fatal "Bad random id number" on a bad draw) and fills r.orgid.
void seed_and_shuffle(RunState& r);

// The limit of shuffled positions defaults to all of them.
void limit_default(RunState& r);
