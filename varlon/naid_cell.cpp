// The NAID already in a re-run's identifier cell: the forms a grade book may
// have turned it into (leading zeros, a decimal part, a thousands separator)
// are undone, then the class ID and the NAID are checked.
#include <cstring>
#include <string_view>

#include "arg_slots.h"
#include "fatal.h"
#include "varlon.h"

namespace {

// fatal2 with head, the cleaned text and tail, then the input file's name.
[[noreturn]] void refuse(const RunState& r, std::string_view head, const char* s, int32_t l,
                         std::string_view tail) {
  char msg[64 + FLDMAX];
  fatal2(join_line(msg, sizeof msg, {head, std::string_view(s, l), tail}), slot_text(r, 1));
}

}  // namespace

void naid_clean(char* s, int32_t& l, int32_t lcid) {
  int32_t first = 0;
  while (first < l && s[first] == '0') ++first;
  std::memmove(s, s + first, l - first);
  l -= first;
  // From the end: zeros are passed over; a "." or "," cuts the text before
  // it; any other character leaves the text whole.
  for (int32_t i = l - 1; i >= 0; --i) {
    if (s[i] == '0') continue;
    if (s[i] == '.' || s[i] == ',') l = i;
    break;
  }
  const int32_t k = lcid + 1;  // where a thousands separator stands
  if (l == lcid + 5 && (s[k] == '.' || s[k] == ',')) {
    std::memmove(s + k, s + k + 1, l - k - 1);
    l -= 1;
  }
}

int32_t naid_cell(const RunState& r, const ProgramDesc& d, char* s, int32_t& l) {
  naid_clean(s, l, r.lcid);
  if (l == 0) return -1;
  if (l != r.lcid + 4 || std::memcmp(s, r.cid, r.lcid) != 0) {
    refuse(r, d.id.bad, s, l, "\" in ");
  }
  // Only the NAIDs of the shuffled positions earlier runs handed out count,
  // in shuffled order.
  const char* naid = s + r.lcid;
  const int32_t upto = r.idused < r.nid ? r.idused : r.nid;
  for (int32_t p = 0; p < upto; ++p) {
    if (std::memcmp(r.idstr[r.idorg[p]], naid, 4) == 0) return r.idorg[p];
  }
  refuse(r, d.id.not_found, s, l, "\" not found in ");
}
