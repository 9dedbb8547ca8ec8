// In-process runs of the front phases on a run state filled from a made-up
// command line.
#pragma once
#include <cstring>
#include <string>
#include <vector>

#include "phases.h"
#include "run_state.h"
#include "zembic.h"

// A zeroed run state with the arguments read by phase 2, as the program's
// start leaves it.  The state is static: it is far too large for the stack.
inline RunState& state_with_args(const std::vector<std::string>& args,
                                 const ProgramDesc& d = zembic_desc) {
  static RunState r;
  std::memset(&r, 0, sizeof r);
  r.seed = 1;
  std::vector<std::string> store = {std::string(d.name)};
  store.insert(store.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : store) argv.push_back(a.data());
  argv.push_back(nullptr);
  phase_arguments(r, d, static_cast<int>(store.size()), argv.data());
  return r;
}

// Argument slot pos (1 to 7) as text, up to its used length.
inline std::string slot(const RunState& r, int pos) {
  return std::string(r.argt[pos - 1], static_cast<size_t>(r.argtl[pos - 1]));
}

// Header text i (1 to 9).
inline std::string header_text(const RunState& r, int i) {
  return std::string(r.argt[3] + r.hnamof[i - 1], static_cast<size_t>(r.hnamlt[i - 1]));
}

// Runs phases 4 to 7 in their order.
inline void option_phases(RunState& r, const ProgramDesc& d = zembic_desc) {
  phase_fold(r, d);
  phase_modes(r, d);
  phase_header(r, d);
  phase_sepquot(r, d);
}
