// The NAID already in a re-run's identifier cell: the forms a grade book may
// have turned it into (leading zeros, a decimal part, a thousands separator)
// are undone before the shared pass checks the class ID and the NAID.
#include <cstring>

#include "text.h"
#include "varlon.h"

void naid_clean(char* s, int32_t& l, int32_t lcid) {
  int32_t first = 0;
  while (first < l && s[first] == '0') ++first;
  std::memmove(s, s + first, l - first);
  l -= first;
  drop_zero_decimals(s, l);
  const int32_t k = lcid + 1;  // where a thousands separator stands
  if (l == lcid + 5 && (s[k] == '.' || s[k] == ',')) {
    std::memmove(s + k, s + k + 1, l - k - 1);
    l -= 1;
  }
}
