#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "unit_helpers.h"
#include "varlon.h"

namespace {

struct Set {
  std::vector<std::string> naids;
  int32_t nrej[NRULES] = {};
};

Set naids(int32_t cls) {
  auto r = std::make_unique<RunState>();
  Set s;
  build_naids(cls, r->idstr, r->idorg, r->nid, s.nrej);
  for (int32_t k = 0; k < r->nid; ++k) {
    EXPECT_EQ(r->idorg[k], k);
    s.naids.emplace_back(r->idstr[k], 4);
  }
  return s;
}

TEST(NaidCandidates, CountsFirstAndLastForEveryDigit) {
  struct Row {
    int32_t rule1, rule2, rule3, left;
    std::vector<std::string> first;
    std::string last;
  };
  const Row table[10] = {
      {396, 104, 84, 316, {"1023", "1078", "1094"}, "9872"},
      {468, 52, 67, 313, {"1024", "1037", "1079"}, "9873"},
      {432, 74, 71, 323, {"1083", "1230", "1243"}, "9874"},
      {468, 52, 67, 313, {"1039", "1042", "1084"}, "9875"},
      {432, 74, 71, 323, {"1043", "1072", "1098"}, "9876"},
      {468, 104, 32, 296, {"1028", "1073", "1204"}, "9864"},
      {432, 74, 71, 323, {"1029", "1032", "1074"}, "9865"},
      {468, 52, 67, 313, {"1235", "1248", "1280"}, "9853"},
      {432, 74, 71, 323, {"1034", "1047", "1089"}, "9870"},
      {468, 52, 67, 313, {"1048", "1093", "1208"}, "9871"},
  };
  for (int32_t cls = 0; cls <= 9; ++cls) {
    SCOPED_TRACE(cls);
    const Row& t = table[cls];
    const Set s = naids(cls);
    EXPECT_EQ(s.nrej[0], t.rule1);
    EXPECT_EQ(s.nrej[1], t.rule2);
    EXPECT_EQ(s.nrej[2], t.rule3);
    ASSERT_EQ(static_cast<int32_t>(s.naids.size()), t.left);
    EXPECT_EQ(s.nrej[0] + s.nrej[1] + s.nrej[2] + t.left, NTRIED);
    EXPECT_EQ(std::vector<std::string>(s.naids.begin(), s.naids.begin() + 3), t.first);
    EXPECT_EQ(s.naids.back(), t.last);
  }
  // Only a difference of -5 rejects: 6103 stays, its exchange 1603 goes.
  const std::vector<std::string> v0 = naids(0).naids;
  const std::set<std::string> zero(v0.begin(), v0.end());
  EXPECT_EQ(zero.count("6103"), 1u);
  EXPECT_EQ(zero.count("1603"), 0u);
}

// The errors the explanation names never turn one candidate into another, and
// no number is a candidate of two digits.
TEST(NaidCandidates, ErrorsNeverGiveAnotherCandidate) {
  std::set<std::string> every;
  size_t total = 0;
  for (int32_t cls = 0; cls <= 9; ++cls) {
    SCOPED_TRACE(cls);
    const std::vector<std::string> v = naids(cls).naids;
    const std::set<std::string> set(v.begin(), v.end());
    auto other = [&](const std::string& from, const std::string& to) {
      EXPECT_TRUE(to == from || set.count(to) == 0) << from << " -> " << to;
    };
    for (const std::string& s : v) {
      for (int i = 0; i < 4; ++i) {
        for (char ch = '0'; ch <= '9'; ++ch) {
          std::string t = s;
          t[i] = ch;
          other(s, t);
        }
        for (int j = i + 1; j < 4; ++j) {
          std::string t = s;
          std::swap(t[i], t[j]);
          other(s, t);
        }
        for (int len = 1; len <= 3 && i + len <= 4; ++len) {
          for (int step : {1, 9}) {
            std::string t = s;
            for (int k = i; k < i + len; ++k)
              t[k] = static_cast<char>('0' + (t[k] - '0' + step) % 10);
            other(s, t);
          }
        }
      }
    }
    EXPECT_EQ(set.count("1000"), 0u);
    every.insert(v.begin(), v.end());
    total += v.size();
  }
  EXPECT_EQ(every.size(), total);
}

// The phase's log of digit cls; the table rows in `rows`.
std::string report(int32_t cls, std::vector<std::string>& rows) {
  auto r = std::make_unique<RunState>();
  r->cls = cls;
  const Captured c = capture([&] { phase_naid_candidates(*r, varlon_desc); });
  EXPECT_FALSE(c.fataled);
  const size_t to = c.log.find("\n\n", c.log.find("Sorted NAID values:\n"));
  for (size_t p = c.log.find("Sorted NAID values:\n") + 20; p <= to; p = c.log.find('\n', p) + 1)
    rows.push_back(c.log.substr(p, c.log.find('\n', p) - p));
  return c.log;
}

TEST(NaidCandidates, ReportAndTableRows) {
  std::vector<std::string> rows;
  const std::string head =
      "Rejected NAID numbers out of 900:\n"
      "Two digits equal: 396\n"
      "Bad exchange of two adjacent  digits: 104\n"
      "Bad exchange of two separated digits:  84\n"
      "NAID numbers left: 316\n"
      "\n"
      "Sorted NAID values:\n"
      "1023 1892 2684 3519 4356 5063 5630 6028 6480 6930 7315 7852 8325 8703 9234 9625\n";
  EXPECT_EQ(report(0, rows).substr(0, head.size()), head);
  EXPECT_EQ(rows.size(), 20u);
  // Digit 5: 19 rows, the last 8 of 15 entries and a trailing blank.
  rows.clear();
  report(5, rows);
  ASSERT_EQ(rows.size(), 19u);
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].size(), i < 11 ? 79u : 75u) << i;
  EXPECT_EQ(rows[1].substr(0, 5), "1073 ");  // read down the columns
  EXPECT_EQ(rows[10].substr(75), "9864");    // the last entry ends the last full row
}

TEST(NaidCandidates, OutOfStorageBeforeTheEntryIsStored) {
  auto r = std::make_unique<RunState>();
  int32_t nrej[NRULES];
  r->idstr[322][0] = 'x';
  const Captured c = capture([&] { build_naids(2, r->idstr, r->idorg, r->nid, nrej, 322); });
  EXPECT_TRUE(c.fataled);
  EXPECT_EQ(c.console, "\a*** Program error: out of ID storage!\n");
  EXPECT_EQ(r->nid, 322);
  EXPECT_EQ(r->idstr[322][0], 'x');
}

}  // namespace
