// The additive lagged random generator.
#include "random_gen.h"

void RandomGen::seed(int32_t v) {
  if (v == 0) v = 1;
  s[0] = static_cast<uint32_t>(v);
  for (int32_t i = 1; i < NWORDS; ++i) {
    // 16807 * w modulo 2147483647 without overflow (Schrage's method).
    const int64_t w = static_cast<int32_t>(s[i - 1]);
    const int64_t hi = w / 127773;  // truncated towards zero
    const int64_t lo = w - 127773 * hi;
    int64_t t = 16807 * lo - 2836 * hi;
    if (t < 0) t += 2147483647;
    s[i] = static_cast<uint32_t>(t);
  }
  f = SEP;
  b = 0;
  for (int32_t i = 0; i < NSKIP; ++i) draw();
}

int32_t RandomGen::draw() {
  s[f] += s[b];  // modulo 2^32
  const int32_t result = static_cast<int32_t>(s[f] >> 1);
  f = (f + 1) % NWORDS;
  b = (b + 1) % NWORDS;
  return result;
}
