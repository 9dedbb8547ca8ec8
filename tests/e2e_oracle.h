// An independent model of the candidate set and the seeded shuffle, written
// from the rules of the AID alphabet and the additive generator, so that the
// whole-run tests can state their expected identifiers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace oracle {

// The 256 built entries in candidate-index order, each as flag byte + 3
// characters (" A3E", "*A7A").
std::vector<std::string> built(int cls);
// The 232 kept AID strings in sort-number order (index = sort number - 1).
std::vector<std::string> aids(int cls);
// The shuffled order: shuffled position -> candidate index.
std::vector<int> shuffled(int32_t seed, int nid);

// Right-aligns v in w columns.
std::string rjust(const std::string& v, size_t w);
std::string rjust(long v, size_t w);

}  // namespace oracle
