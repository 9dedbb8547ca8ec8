// readcv: not built yet.
#include "readcv.h"

#include "fatal.h"

void readcv(const char*, int32_t, int32_t, char&, char, int32_t, int32_t, int32_t& nbuf,
            int32_t& ipos, int32_t& lpos, char*, int32_t& term) {
  nbuf = ipos = lpos = term = 0;
  fatal("readcv: not built yet");
}
void readcv_reset() {}
