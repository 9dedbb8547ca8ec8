#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "id_table.h"
#include "io.h"
#include "unit_helpers.h"
#include "varlon.h"
#include "zembic.h"

namespace {

RunState st;  // large: static storage

// nid candidates; candidate s holds the identifier bytes of ids[s] (4 bytes:
// flag byte and AID, or NAID digits); idorg is the given order.
void candidates(const std::vector<std::string>& ids, const std::vector<int32_t>& order,
                const std::string& cid) {
  std::memset(&st, 0, sizeof st);
  st.nid = static_cast<int32_t>(ids.size());
  for (size_t s = 0; s < ids.size(); ++s) std::memcpy(st.idstr[s], ids[s].data(), 4);
  for (size_t p = 0; p < order.size(); ++p) st.idorg[p] = order[p];
  std::memcpy(st.cid, cid.data(), cid.size());
  st.lcid = static_cast<int32_t>(cid.size());
}

const TableSink kConsoleLog{0, {}};

TEST(IdTable, NaidRowsWithTheClassIdInTheirColumns) {
  // The 1- and 2-digit class IDs stand in the items; a 3-digit one moves to
  // the heading and the items hold blanks.
  struct Case {
    std::string cid, heading, item0;
  } cases[] = {
      {"", "Randomly resorted NAID values:", "   1023"},
      {"5", "Randomly resorted NAID values:", "  51023"},
      {"12", "Randomly resorted NAID values:", " 121023"},
      {"123", "Randomly resorted NAID values (prefix \"123\"):", "   1023"},
  };
  for (const Case& k : cases) {
    candidates({"1023", "4567", "8901"}, {2, 0, 1}, k.cid);
    const Captured c = capture([] {
      id_table_heading(NAID_TABLE, st, "Randomly resorted NAID values");
      id_table_shuffled(NAID_TABLE, st, 0, st.nid, kConsoleLog);
    });
    const std::string w = k.item0.substr(0, 3);
    const std::string want = k.heading + "\nNAID:" + w + "8901" + w + "1023" + w + "4567\n";
    EXPECT_FALSE(c.fataled);
    EXPECT_EQ(c.console, want) << k.cid;
    EXPECT_EQ(c.log, want) << k.cid;
  }
}

TEST(IdTable, FullNaidSetGivesThirtyThreeRows) {
  std::vector<std::string> ids;
  std::vector<int32_t> order;
  for (int32_t s = 0; s < CANDMAX; ++s) {
    ids.push_back(std::to_string(1000 + s));
    order.push_back(CANDMAX - 1 - s);
  }
  candidates(ids, order, "");
  const Captured c = capture([] { id_table_shuffled(NAID_TABLE, st, 0, st.nid, kConsoleLog); });
  std::string want;
  for (int32_t row = 0; row < 33; ++row) {
    want += "NAID:";
    for (int32_t p = 10 * row; p < 10 * row + 10 && p < CANDMAX; ++p) {
      want += "   " + std::to_string(1000 + CANDMAX - 1 - p);
    }
    want += "\n";
  }
  EXPECT_EQ(c.console, want);
  EXPECT_EQ(c.log, want);
  EXPECT_EQ(want.substr(want.size() - 27), "NAID:   1002   1001   1000\n");
}

TEST(IdTable, AidRowsWithSortNumbersAndDashLinesInTheLogOnly) {
  std::vector<std::string> ids;
  std::vector<int32_t> order;
  for (int32_t s = 0; s < 14; ++s) {
    ids.push_back(std::string(" ") + static_cast<char>('A' + s) + "2P");
    order.push_back((s * 5) % 14);
  }
  candidates(ids, order, "ab");
  // The first unused after position 1: positions 2 to 13, twelve entries.
  const Captured c = capture([] { id_table_shuffled(AID_UNUSED_TABLE, st, 2, 12, kConsoleLog); });
  const std::string nums1 = "Num:     11      2      7     12      3      8     13      4      9     14";
  const std::string aids1 =
      "AID:  abK2P  abB2P  abG2P  abL2P  abC2P  abH2P  abM2P  abD2P  abI2P  abN2P";
  const std::string nums2 = "Num:      5     10";
  const std::string aids2 = "AID:  abE2P  abJ2P";
  const std::string dash = " " + std::string(78, '-');
  EXPECT_EQ(c.console, nums1 + "\n" + aids1 + "\n" + nums2 + "\n" + aids2 + "\n");
  EXPECT_EQ(c.log, dash + "\n" + nums1 + "\n" + aids1 + "\n" + dash + "\n" + nums2 + "\n" +
                       aids2 + "\n" + dash + "\n");
}

TEST(IdTable, NothingLeftGivesTheClosingDashLineOnly) {
  candidates({" AAA"}, {0}, "");
  const Captured c = capture([] { id_table_shuffled(AID_UNUSED_TABLE, st, 1, 0, kConsoleLog); });
  EXPECT_EQ(c.console, "");
  EXPECT_EQ(c.log, " " + std::string(78, '-') + "\n");
}

TEST(IdTable, ImpossibleOrderIsAProgramError) {
  for (const int32_t bad : {-1, 3, CANDMAX}) {
    candidates({" AAA", " BBB", " CCC"}, {0, bad, 2}, "");
    const Captured c = capture([] { id_table_shuffled(AID_TABLE, st, 0, st.nid, kConsoleLog); });
    EXPECT_TRUE(c.fataled) << bad;
    EXPECT_EQ(c.console, "\a*** Program error in id_table!\n");
  }
  candidates({" AAA"}, {0}, "");
  EXPECT_TRUE(capture([] { id_table_shuffled(AID_TABLE, st, 1, 1, kConsoleLog); }).fataled);
}

}  // namespace
