#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "unit_helpers.h"
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

// Class ID "12,": the NAID at shuffled position 1 was handed out, the one at
// position 2 was not.
TEST(NaidCell, ClassIdAndHandedOutNaidsOnly) {
  static RunState r;
  static const ProgramDesc* d = &varlon_desc;
  std::memcpy(r.argt[0], "in.csv", 6);
  r.argtl[0] = 6;
  std::memcpy(r.cid, "12, ", 4);
  r.lcid = 3;
  r.nid = 3;
  std::memcpy(r.idstr[0], "1023", 4);
  std::memcpy(r.idstr[1], "1078", 4);
  std::memcpy(r.idstr[2], "1094", 4);
  r.idorg[0] = 2;
  r.idorg[1] = 0;
  r.idorg[2] = 1;
  r.idused = 2;
  struct Case {
    std::string cell;
    int32_t want;
    std::string console;
  };
  const Case cases[] = {
      {"12,1023", 0, ""},
      {"012,1094.00", 2, ""},
      {"0.0", -1, ""},
      {"12,1078", -9, "\a*** NAID \"12,1078\" not found in in.csv!\n"},
      {"121023", -9, "\a*** Bad NAID \"121023\" in in.csv!\n"},
      {"13,1023", -9, "\a*** Bad NAID \"13,1023\" in in.csv!\n"},
  };
  for (const Case& c : cases) {
    char s[64];
    std::memcpy(s, c.cell.data(), c.cell.size());
    int32_t l = static_cast<int32_t>(c.cell.size());
    int32_t got = -9;
    const Captured cap = capture([&] { got = naid_cell(r, *d, s, l); });
    EXPECT_EQ(got, c.want) << c.cell;
    EXPECT_EQ(cap.fataled, c.want == -9) << c.cell;
    EXPECT_EQ(cap.console, c.console) << c.cell;
  }
}

}  // namespace
