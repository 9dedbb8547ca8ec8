// Phase 13: the seed, the seeded shuffle and the table of the shuffled
// order.
#include "shuffle.h"

#include <sys/times.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

#include "console_log.h"
#include "fatal.h"
#include "id_table.h"
#include "phases.h"
#include "random_gen.h"
#include "text.h"

namespace {

RandomGen gen;  // the run's generator, used by the shuffle only

// The table of the shuffled order in the program's layout: zembic's sort
// numbers and AID strings framed by dash lines in the log file only, or
// varlon's NAID rows.
void shuffled_table(const RunState& r, const ProgramDesc& d) {
  const IdTable& t = *d.id.shuffled_table;
  id_table_heading(t, r, d.id.shuffled_heading);
  id_table_shuffled(t, r, 0, r.nid, {0, {}});
  cempty();
}

}  // namespace

int32_t derive_seed(int64_t ticks, int32_t pid) {
  const uint32_t count = ticks < 0 ? 2147483647u : static_cast<uint32_t>(ticks);
  const uint32_t p = static_cast<uint32_t>(pid);
  const uint32_t low = p & 0x7FFFFFFFu;
  const uint32_t rotated = (p & 0x80000000u) | (((low << 16) | (low >> 15)) & 0x7FFFFFFFu);
  const int32_t seed = static_cast<int32_t>(count ^ rotated);
  return seed == 1 ? 0 : seed;
}

int32_t pick_position(int32_t d, int32_t k, int32_t nid) {
  // d / 2^31 is exact in double; the cast rounds it to the nearest float.
  const float r = static_cast<float>(static_cast<double>(d) * 0x1p-31);
  // A float times an integer below 2^29 is exact in double.
  return k + static_cast<int32_t>(static_cast<double>(r) * (nid - k));
}

bool shuffle_ids(int32_t seed, int32_t nid, int32_t* idorg) {
  if (nid < 0 || nid > CANDMAX) return false;
  gen.seed(seed);
  for (int32_t k = 0; k < nid; ++k) {
    const int32_t p = pick_position(gen.draw(), k, nid);
    if (p < k || p >= nid) return false;
    const int32_t t = idorg[k];
    idorg[k] = idorg[p];
    idorg[p] = t;
  }
  return true;
}

void invert_order(int32_t nid, const int32_t* idorg, int32_t* orgid) {
  if (nid < 0 || nid > CANDMAX) fatal("Program error in invert_order");
  for (int32_t p = 0; p < nid; ++p) {
    const int32_t s = idorg[p];
    if (s < 0 || s >= nid) fatal("Program error in invert_order");
    orgid[s] = p;
  }
}

void seed_and_shuffle(RunState& r) {
  if (r.seed == 1) {
    struct tms tbuf;
    const clock_t ticks = times(&tbuf);
    r.seed = derive_seed(static_cast<int64_t>(ticks), static_cast<int32_t>(getpid()));
  }
  char num[12];
  cline({" Seed used: ", num_text(r.seed, num)});
  cempty();
  if (!shuffle_ids(r.seed, r.nid, r.idorg)) fatal("Bad random id number");
  invert_order(r.nid, r.idorg, r.orgid);
}

void limit_default(RunState& r) {
  if (r.idlim <= 0) r.idlim = r.nid;
}

void phase_shuffle(RunState& r, const ProgramDesc& d) {
  seed_and_shuffle(r);
  shuffled_table(r, d);
  limit_default(r);
}
