#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "varlon.h"

namespace {

std::string cleaned(const std::string& cell, int32_t lcid) {
  char s[64];
  std::memcpy(s, cell.data(), cell.size());
  int32_t l = static_cast<int32_t>(cell.size());
  naid_clean(s, l, lcid);
  return {s, static_cast<size_t>(l)};
}

TEST(NaidCell, CleanUpUndoesTheGradeBookForms) {
  struct Case {
    const char* cell;
    int32_t lcid;
    const char* want;
  };
  const Case cases[] = {
      {"1234", 0, "1234"},      {"01234", 0, "1234"},     {"001234.00", 0, "1234"},
      {"1234.", 0, "1234"},     {"1234,0", 0, "1234"},    {"1,234", 0, "1234"},
      {"1.234", 0, "1234"},     {"1234.50", 0, "1234.50"}, {"12,34", 0, "12,34"},
      {"000", 0, ""},           {"0.00", 0, ""},          {".00", 0, ""},
      {"121,234", 2, "121234"}, {"12.", 2, "12"},         {"121234.000", 2, "121234"},
      // Only the place before the NAID's last three digits holds a separator.
      {"12,1234", 2, "12,1234"}, {"1231,234", 3, "1231234"}, {"1,231,234", 3, "1,231,234"},
      {"9870", 0, "9870"},
  };
  for (const Case& c : cases) EXPECT_EQ(cleaned(c.cell, c.lcid), c.want) << c.cell;
}

}  // namespace
