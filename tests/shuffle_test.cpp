#include <algorithm>
#include <cstring>
#include <memory>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "candidates.h"
#include "phases.h"
#include "shuffle.h"
#include "unit_helpers.h"
#include "zembic.h"

namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> v;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) v.push_back(l);
  return v;
}

// The shuffled order of n candidates as sort numbers.
std::vector<int32_t> sort_numbers(int32_t seed, int32_t n, bool* ok = nullptr) {
  std::vector<int32_t> idorg(CANDMAX);
  std::iota(idorg.begin(), idorg.end(), 0);
  const bool good = shuffle_ids(seed, n, idorg.data());
  if (ok != nullptr) *ok = good;
  std::vector<int32_t> v(idorg.begin(), idorg.begin() + n);
  for (int32_t& s : v) s += 1;
  return v;
}

// A run state after the candidate phase of class distinction number 0.
std::unique_ptr<RunState> candidates_zero(int32_t seed) {
  auto r = std::make_unique<RunState>();
  build_aids(0, r->idstr, r->idorg, r->nid);
  drop_starred(r->idstr, r->nid);
  r->seed = seed;
  return r;
}

TEST(Shuffle, DerivedSeed) {
  struct Case {
    int64_t ticks;
    int32_t pid;
    int32_t seed;
  };
  const Case cases[] = {
      {100000, 4321, 283149984},
      {1, 0, 0},                                  // a derived 1 becomes 0
      {65537, 1, 0},                              // the same through the rotation
      {-1, 0, 2147483647},                        // failed tick count
      {0, 0x40000000, 0x8000},                    // bit 30 wraps to bit 15, not bit 31
      {0, -2147483647 - 1, -2147483647 - 1},      // bit 31 stays in place
      {0x100000005LL, 0, 5},                      // the tick count's low 32 bits
  };
  for (const Case& c : cases) EXPECT_EQ(derive_seed(c.ticks, c.pid), c.seed) << c.ticks;
}

TEST(Shuffle, PickPositionRoundsToSinglePrecision) {
  struct Case {
    int32_t d, k, nid, p;
  };
  const Case cases[] = {
      {0, 0, 232, 0},
      {1073741824, 0, 232, 116},   // exactly one half
      {2147483583, 0, 232, 231},   // largest draw below 1 after rounding
      {2147483584, 0, 232, 232},   // rounds up to 1.0: out of range
      {2147483647, 231, 232, 232},
      {715827882, 0, 3, 1},        // just below 1/3, rounded up above it
      {715827882, 229, 232, 230},
  };
  for (const Case& c : cases) EXPECT_EQ(pick_position(c.d, c.k, c.nid), c.p) << c.d;
}

TEST(Shuffle, KnownOrders) {
  struct Case {
    int32_t seed;
    std::vector<int32_t> first;
  };
  const Case cases[] = {
      {12345, {42, 94, 41, 52, 19, 18, 69, 6, 80, 70}},
      {0, {195, 93, 183, 186, 212, 50, 82, 180, 71, 133}},
      {-5, {159, 212, 223, 88, 187, 202, 156, 117, 218, 129}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seed);
    bool ok = false;
    std::vector<int32_t> v = sort_numbers(c.seed, 232, &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(std::vector<int32_t>(v.begin(), v.begin() + 10), c.first);
    std::sort(v.begin(), v.end());
    for (int32_t i = 0; i < 232; ++i) ASSERT_EQ(v[i], i + 1);
  }
  EXPECT_EQ(sort_numbers(12345, 232).back(), 157);
  EXPECT_EQ(sort_numbers(0, 232), sort_numbers(1, 232));
  EXPECT_EQ(sort_numbers(0, 323), sort_numbers(1, 323));
}

// Seeds whose draws (from the C library's generator) reach 2147483584:
// 545990 at step 231, 618229 at step 98.
TEST(Shuffle, DrawRoundingToOneFails) {
  bool ok = true;
  sort_numbers(545990, 232, &ok);
  EXPECT_FALSE(ok);
  sort_numbers(545990, 231, &ok);  // the bad draw is never made
  EXPECT_TRUE(ok);
  sort_numbers(618229, 232, &ok);
  EXPECT_FALSE(ok);
  std::vector<int32_t> idorg(CANDMAX);
  EXPECT_FALSE(shuffle_ids(12345, CANDMAX + 1, idorg.data()));

  auto r = candidates_zero(618229);
  const Captured c = capture([&] { phase_shuffle(*r, zembic_desc); });
  EXPECT_TRUE(c.fataled);
  EXPECT_EQ(c.console, " Seed used: 618229\n\n\a*** Bad random id number!\n");
  EXPECT_EQ(c.log, " Seed used: 618229\n\n*** Bad random id number!\n");
}

TEST(Shuffle, PhaseTextWithoutClassId) {
  auto r = candidates_zero(12345);
  const Captured c = capture([&] { phase_shuffle(*r, zembic_desc); });
  ASSERT_FALSE(c.fataled);
  const std::vector<std::string> con = lines_of(c.console);
  ASSERT_EQ(con.size(), 3u + 2 * 24 + 1);
  EXPECT_EQ(con[0], " Seed used: 12345");
  EXPECT_EQ(con[1], "");
  EXPECT_EQ(con[2], "Randomly resorted AID strings preceded by sort numbers:");
  EXPECT_EQ(con[3], "Num:     42     94     41     52     19     18     69      6     80     70");
  EXPECT_EQ(con[4], "AID:    DTI    I6D    DQE    EFK    B6U    B5P    GNY    ACD    H8G    GOD");
  for (size_t i = 3; i < 49; ++i) EXPECT_EQ(con[i].size(), 74u) << i;
  EXPECT_EQ(con[49].size(), 18u);
  EXPECT_EQ(con[49].substr(11), "    157");
  EXPECT_EQ(con[50].substr(11), "    POK");
  EXPECT_EQ(con[51], "");

  // The log holds the same lines with a dash line before every row and after
  // the last one.
  const std::string dashes(74, '-');
  std::vector<std::string> expected_log(con.begin(), con.begin() + 3);
  for (size_t i = 3; i < 51; i += 2) {
    expected_log.push_back(dashes);
    expected_log.push_back(con[i]);
    expected_log.push_back(con[i + 1]);
  }
  expected_log.push_back(dashes);
  expected_log.push_back("");
  EXPECT_EQ(lines_of(c.log), expected_log);

  for (int32_t p = 0; p < 232; ++p) ASSERT_EQ(r->orgid[r->idorg[p]], p);
  EXPECT_EQ(r->seed, 12345);
  EXPECT_EQ(r->idlim, 232);
}

TEST(Shuffle, ClassIdInFrontOfEveryAid) {
  struct Case {
    const char* cid;
    std::string aid_line;
  };
  const Case cases[] = {
      {"ab", "AID:  abDTI  abI6D  abDQE  abEFK  abB6U  abB5P  abGNY  abACD  abH8G  abGOD"},
      {"Z12", "AID: Z12DTI Z12I6D Z12DQE Z12EFK Z12B6U Z12B5P Z12GNY Z12ACD Z12H8G Z12GOD"},
      {"7", "AID:   7DTI   7I6D   7DQE   7EFK   7B6U   7B5P   7GNY   7ACD   7H8G   7GOD"},
  };
  for (const Case& t : cases) {
    auto r = candidates_zero(12345);
    r->lcid = static_cast<int32_t>(std::strlen(t.cid));
    std::memcpy(r->cid, t.cid, r->lcid);
    const Captured c = capture([&] { phase_shuffle(*r, zembic_desc); });
    EXPECT_EQ(lines_of(c.console).at(4), t.aid_line);
  }
}

TEST(Shuffle, SeedLineAndLimit) {
  struct Case {
    int32_t seed, idlim, shown_limit;
    const char* line;
  };
  const Case cases[] = {
      {-5, 0, 232, " Seed used: -5"},
      {0, -3, 232, " Seed used: 0"},
      {12345, 50, 50, " Seed used: 12345"},
      {12345, 300, 300, " Seed used: 12345"},  // a hand-written limit above nid stays
  };
  for (const Case& t : cases) {
    auto r = candidates_zero(t.seed);
    r->idlim = t.idlim;
    const Captured c = capture([&] { phase_shuffle(*r, zembic_desc); });
    EXPECT_EQ(lines_of(c.console).at(0), t.line);
    EXPECT_EQ(r->idlim, t.shown_limit);
  }

  // Seed 1 asks for a derived seed: whatever it is, it is shown and kept.
  auto r = candidates_zero(1);
  const Captured c = capture([&] { phase_shuffle(*r, zembic_desc); });
  EXPECT_NE(r->seed, 1);
  EXPECT_EQ(lines_of(c.console).at(0), " Seed used: " + std::to_string(r->seed));
}

}  // namespace
