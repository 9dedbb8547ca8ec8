#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "candidates.h"
#include "phases.h"
#include "unit_helpers.h"
#include "zembic.h"

namespace {

struct Built {
  std::vector<std::string> kept;     // the candidates in sort-number order
  std::vector<std::string> starred;  // the eliminated strings, in build order
};

Built built(int32_t cls) {
  auto r = std::make_unique<RunState>();
  build_aids(cls, r->idstr, r->idorg, r->nid);
  Built b;
  for (int32_t k = 0; k < r->nid; ++k)
    if (r->idstr[k][0] == '*') b.starred.emplace_back(r->idstr[k] + 1, 3);
  drop_starred(r->idstr, r->nid);
  for (int32_t k = 0; k < r->nid; ++k) b.kept.emplace_back(r->idstr[k] + 1, 3);
  return b;
}

const std::string alnum = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";

TEST(Candidates, PhaseTextForClassZero) {
  auto r = std::make_unique<RunState>();
  r->cls = 0;
  const Captured c = capture([&] { phase_candidates(*r, zembic_desc); });
  const std::string expected =
      "\nSorted AID strings:\n"
      "*A7A *B7B *D7D *E7E *G7G *H7H *I7I *J7J *K7K *M7M *P7P *R7R *S7S *U7U *W7W *Y7Y\n"
      " A3E  B3G  D3H  E3I  G3J  H3K  I3M  J3P  K3R  M3S  P3U  R3W  S3Y  U3A  W3B  Y3D\n"
      " A4I  B4J  D4K  E4M  G4P  H4R  I4S  J4U  K4W  M4Y  P4A  R4B  S4D  U4E  W4G  Y4H\n"
      " A5M  B5P  D5R  E5S  G5U  H5W  I5Y  J5A  K5B  M5D  P5E  R5G  S5H  U5I  W5J  Y5K\n"
      " A6S  B6U  D6W  E6Y  G6A  H6B  I6D  J6E  K6G  M6H  P6I  R6J  S6K  U6M  W6P  Y6R\n"
      " A8Y  B8A  D8B  E8D  G8E  H8G  I8H  J8I  K8J  M8K  P8M  R8P  S8R  U8S  W8U  Y8W\n"
      " ACD  BCE  DCG  ECH  GCI  HCJ  ICK  JCM  KCP  MCR  PCS  RCU  SCW  UCY  WCA  YCB\n"
      " AFH  BFI  DFJ  EFK  GFM  HFP  IFR  JFS  KFU  MFW  PFY  RFA  SFB  UFD  WFE  YFG\n"
      " ALK  BLM  DLP  ELR  GLS  HLU  ILW  JLY *KLA *MLB *PLD *RLE *SLG *ULH *WLI *YLJ\n"
      " ANR  BNS  DNU  ENW  GNY  HNA  INB  JND  KNE  MNG  PNH  RNI  SNJ  UNK  WNM  YNP\n"
      " AOW  BOY  DOA  EOB  GOD  HOE  IOG  JOH  KOI  MOJ  POK  ROM  SOP  UOR  WOS  YOU\n"
      " AQB  BQD  DQE  EQG  GQH  HQI  IQJ  JQK  KQM  MQP  PQR  RQS  SQU  UQW  WQY  YQA\n"
      " ATG  BTH  DTI  ETJ  GTK  HTM  ITP  JTR  KTS  MTU  PTW  RTY  STA  UTB  WTD  YTE\n"
      " AVJ  BVK  DVM  EVP  GVR  HVS  IVU  JVW  KVY  MVA  PVB  RVD  SVE  UVG  WVH  YVI\n"
      " AXP  BXR  DXS  EXU  GXW  HXY  IXA  JXB  KXD  MXE  PXG  RXH  SXI  UXJ  WXK  YXM\n"
      " AZU  BZW  DZY  EZA  GZB  HZD  IZE  JZG  KZH  MZI  PZJ  RZK  SZM  UZP  WZR  YZS\n"
      "\n"
      "Eliminated the starred AID strings.  AID strings left:  232\n"
      "\n"
      "For a class size of 90 students, the probability for a random\n"
      "string of 3 case-insensitive alphanumeric characters to be a\n"
      "valid AID is about 0.2%.  However, hundreds of errors might be\n"
      "made in a whole class.  To reduce the chance of problems, the\n"
      "AID strings are chosen such that the following errors in an\n"
      "AID string never produce a valid other AID:\n"
      "- Getting any single character wrong, by student or grader,\n"
      "  for whatever reason.\n"
      "- Getting multiple instances of the same character wrong,\n"
      "  like a grader misreading a weirdly written character.\n"
      "- Putting the characters in the wrong order.\n"
      "But doing two or more of the above things at the same time\n"
      "might produce a wrong but valid AID.\n"
      "Note further that the modified order of the characters is\n"
      "chosen to minimize the effect of commonly confused characters.\n"
      "\n";
  EXPECT_FALSE(c.fataled);
  EXPECT_EQ(c.console, expected);
  EXPECT_EQ(c.log, expected);
  ASSERT_EQ(r->nid, 232);
  for (int32_t k = 0; k < 256; ++k) ASSERT_EQ(r->idorg[k], k);
  for (int32_t k = 0; k < 232; ++k) ASSERT_EQ(r->idstr[k][0], ' ');
  EXPECT_EQ(std::string(r->idstr[0] + 1, 3), "A3E");
  EXPECT_EQ(std::string(r->idstr[231] + 1, 3), "YZS");
}

TEST(Candidates, ExamplesOfThreeClasses) {
  struct Case {
    int32_t cls;
    std::vector<std::string> first;
    std::string last;
    std::vector<std::string> reversals;  // starred, middle character not "7"
  };
  const Case cases[] = {
      {0,
       {"A3E", "A4I", "A5M", "A6S", "A8Y", "ACD", "AFH", "ALK", "ANR", "AOW", "AQB", "ATG", "AVJ",
        "AXP", "AZU", "B3G"},
       "YZS",
       {"KLA", "MLB", "PLD", "RLE", "SLG", "ULH", "WLI", "YLJ"}},
      {5, {"A3B", "A4G", "A5J"}, "YZU", {"KVA", "MVB", "PVD", "RVE", "SVG", "UVH", "WVI", "YVJ"}},
      {7, {"A3R", "A4W", "A5B"}, "YXG", {"KZA", "MZB", "PZD", "RZE", "SZG", "UZH", "WZI", "YZJ"}},
  };
  for (const Case& t : cases) {
    SCOPED_TRACE(t.cls);
    const Built b = built(t.cls);
    ASSERT_EQ(b.kept.size(), 232u);
    EXPECT_EQ(std::vector<std::string>(b.kept.begin(), b.kept.begin() + t.first.size()), t.first);
    EXPECT_EQ(b.kept.back(), t.last);
    std::vector<std::string> rev;
    for (const std::string& s : b.starred)
      if (s[1] != '7') rev.push_back(s);
    EXPECT_EQ(rev, t.reversals);
  }
}

TEST(Candidates, EveryClassStarsTwentyFour) {
  for (int32_t cls = 0; cls <= 14; ++cls) {
    SCOPED_TRACE(cls);
    const Built b = built(cls);
    EXPECT_EQ(b.starred.size(), 24u);
    ASSERT_EQ(b.kept.size(), 232u);
    EXPECT_EQ(b.kept.front().substr(0, 2), "A3");
    EXPECT_EQ(b.kept.back()[0], 'Y');
  }
}

// The errors the set guards against never turn one candidate into another.
TEST(Candidates, ErrorsNeverGiveAnotherCandidate) {
  std::set<std::string> all;
  size_t total = 0;
  for (int32_t cls = 0; cls <= 14; ++cls) {
    SCOPED_TRACE(cls);
    const Built b = built(cls);
    const std::set<std::string> set(b.kept.begin(), b.kept.end());
    ASSERT_EQ(set.size(), 232u);
    for (const std::string& s : b.kept) {
      EXPECT_TRUE(s[0] != s[1] && s[0] != s[2] && s[1] != s[2]) << s;
      for (int pos = 0; pos < 3; ++pos) {
        for (char ch : alnum) {
          if (ch == s[pos]) continue;
          std::string t = s;
          t[pos] = ch;
          EXPECT_EQ(set.count(t), 0u) << s << " -> " << t;
        }
      }
      std::string t = s;
      std::sort(t.begin(), t.end());
      do {
        if (t != s) {
          EXPECT_EQ(set.count(t), 0u) << s << " -> " << t;
        }
      } while (std::next_permutation(t.begin(), t.end()));
    }
    all.insert(b.kept.begin(), b.kept.end());
    total += b.kept.size();
  }
  EXPECT_EQ(all.size(), total);  // no string serves two class distinction numbers
}

}  // namespace
