// The random generator of the shuffle: additive lagged feedback over 31 words
// of state with separation 3, so that a recorded seed rebuilds the same draws
// bit for bit on every platform.
#pragma once
#include <cstdint>

struct RandomGen {
  static constexpr int32_t NWORDS = 31;  // words of state
  static constexpr int32_t SEP = 3;      // front index after seeding
  static constexpr int32_t NSKIP = 310;  // draws discarded after seeding

  uint32_t s[NWORDS];
  int32_t f;  // front index
  int32_t b;  // rear index

  // Fills the state from v (0 taken as 1) and discards the first draws.
  void seed(int32_t v);
  // The next draw, 0 to 2147483647.
  int32_t draw();
};
