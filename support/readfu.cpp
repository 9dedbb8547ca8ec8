// readfu: not built yet.
#include "readfu.h"

#include "fatal.h"

void readfu(const char*, int32_t, int32_t, int32_t, int32_t& nbuf, char*, int32_t& term) {
  nbuf = 0;
  term = 0;
  fatal("readfu: not built yet");
}
void readfu_reset() {}
