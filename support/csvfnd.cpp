// csvfnd: not built yet.
#include "csvfnd.h"

#include "fatal.h"

void csvfnd(int32_t, int32_t, const char*, int32_t, char, char, int32_t, int32_t&, char*, int32_t,
            int32_t& lcol, int32_t& iend, int32_t& jcol) {
  lcol = iend = -1;
  jcol = 0;
  fatal("csvfnd: not built yet");
}
