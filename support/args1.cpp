// args1, the unit of args: the command line into fixed argument slots.
#include "args1.h"

#include <cstring>

#include "fatal.h"

int32_t arg_slot(const char* a, char* slot) {
  std::memset(slot, ' ', FLDMAX);
  const size_t la = std::strlen(a);
  std::memcpy(slot, a, la < static_cast<size_t>(FLDMAX) ? la : FLDMAX);
  // Bytes 253 to 256 must stay blank: an argument of up to 252 bytes passes.
  for (int32_t p = 253; p <= FLDMAX; ++p) {
    if (slot[p - 1] != ' ') return 0;
  }
  // Used length: the last byte whose unsigned code is above 32; 1 when none.
  int32_t l = FLDMAX;
  while (l >= 1 && static_cast<unsigned char>(slot[l - 1]) <= 32) --l;
  return l >= 1 ? l : 1;
}

void args(int argc, char** argv, int32_t nmax, int32_t& narg, char argt[][FLDMAX],
          int32_t argtl[]) {
  narg = argc > 0 ? argc - 1 : 0;
  const int32_t k = narg < nmax ? narg : nmax;
  for (int32_t i = 1; i <= k; ++i) {
    argtl[i - 1] = arg_slot(argv[i], argt[i - 1]);
    if (argtl[i - 1] == 0) {
      if (i <= 9) {
        char msg[] = "Argument 0 too long";
        msg[9] = static_cast<char>('0' + i);
        fatal(msg);
      }
      fatal("Arguments too long");
    }
  }
}
