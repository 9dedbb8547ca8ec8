#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "phases.h"
#include "run_state.h"
#include "unit_helpers.h"
#include "zembic.h"

namespace {

RunState rs;

const std::string kErr = "*** Error reading limit, count, and seed file zembic.lcs!\n";
const std::string kPrompt = "    Enter \"C\" or \"Q\" as described above: ";
const std::string kReading = "Reading file zembic.lcs\n";

// The 8 console lines before the prompt, for the used count given.
std::string rerun_block(const std::string& used) {
  return " ** Program zembic has already run before in this folder,\n"
         "    based on limit-count-seed file zembic.lcs.\n"
         "    Zembic will merely add AID data where still missing.\n"
         "    Please make absolutely sure that input file\n"
         "       zembic.csv\n"
         "    is fully up to date and has the already assigned " +
         used +
         " AID\n"
         "    strings in the appropriate column.  Enter the letter \"C\" to\n"
         "    confirm that the input file is up to date or \"Q\" to quit.\n";
}

// A record as echoed: blank-padded (or cut) to 79 characters, and a line end.
std::string echo(const std::string& rec) {
  std::string s = rec.substr(0, 79);
  s.resize(79, ' ');
  return s + "\n";
}

// A normal record as a run writes it.
std::string normal(const std::string& numbers) {
  return "20260105 101500 Limit, Used, and Seed: " + numbers;
}

// Phase 10 in a fresh folder, with the given file (none when absent) and
// keyboard, the SEED argument 42 and the input file zembic.csv.
Captured run_phase(const std::string* lcs, const std::string& keyboard = "") {
  Captured c;
  in_temp_folder([&] {
    if (lcs != nullptr) put_file("zembic.lcs", *lcs);
    std::memset(rs.argt, ' ', sizeof rs.argt);
    std::memcpy(rs.argt[0], "zembic.csv", 10);
    rs.argtl[0] = 10;
    rs.seed = 42;
    rs.lcsex = rs.new_ = rs.idlim = rs.idused = -99;
    c = capture([] { phase_lcs(rs, zembic_desc); }, keyboard);
  });
  return c;
}
Captured run_phase(const std::string& lcs, const std::string& keyboard = "") {
  return run_phase(&lcs, keyboard);
}

void expect_state(int lcsex, int fresh, int lim, int used, int seed) {
  EXPECT_EQ(rs.lcsex, lcsex);
  EXPECT_EQ(rs.new_, fresh);
  EXPECT_EQ(rs.idlim, lim);
  EXPECT_EQ(rs.idused, used);
  EXPECT_EQ(rs.seed, seed);
}

TEST(LimitCountSeed, NoFileIsAFreshAssignment) {
  Captured c = run_phase(nullptr);
  EXPECT_FALSE(c.fataled);
  EXPECT_EQ(c.console, "");
  EXPECT_EQ(c.log, "");
  expect_state(0, 1, 0, 0, 42);
}

TEST(LimitCountSeed, ConfirmedRerunTakesTheLastRecord) {
  const std::string r1 = normal("232, 5, 12345");
  const std::string r2 = normal("232, 9, 12345");
  const std::string r3 = normal("232, 17, 12345");
  Captured c = run_phase(r1 + "\n" + r2 + "\n\n   \n" + r3 + "\n", "C\n");
  ASSERT_FALSE(c.fataled);
  const std::string echoed = kReading + echo(r1) + echo(r2) + echo(r3);
  EXPECT_EQ(c.console, echoed + rerun_block("17") + kPrompt + "\n\n");
  EXPECT_EQ(c.log, echoed +
                       " ** User confirmed that the input file is up to date: zembic.csv\n"
                       "\n\n");
  expect_state(1, 0, 232, 17, 12345);
}

TEST(LimitCountSeed, RecordForms) {
  struct Case {
    std::string file;
    int fresh, lim, used, seed;
  } cases[] = {
      {normal("232, 17, 12345") + "\nnew: 232, 0, 1\n", 1, 232, 0, 1},
      {": 100, 5, 777\n", 0, 100, 5, 777},
      {normal("232, 17, 12345") + "\nNew: 150 /\n", 1, 150, 17, 12345},
      {normal("232, 17, 12345") + "\n: 100,,,\n", 0, 100, 17, 12345},
      {":2*5 9\n", 0, 5, 5, 9},
      {":-3,+4,-5 and more text\n", 0, -3, 4, -5},
      {"new:1 2 3\r\n\r\n", 1, 1, 2, 3},                        // line ends of another system
      {normal("1, 2, 3") + "\n: 100, 5, 777", 0, 100, 5, 777},  // no final line feed
      {"\xEF\xBB\xBF" + normal("232, 17, 12345") + "\n", 0, 232, 17, 12345},
      {"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx:7 8 9\n", 0, 7, 8, 9},  // column 38
  };
  for (const Case& k : cases) {
    Captured c = run_phase(k.file, "c\n");
    ASSERT_FALSE(c.fataled) << k.file;
    expect_state(1, k.fresh, k.lim, k.used, k.seed);
    // A fresh assignment asks nothing and ends with one empty line.
    EXPECT_EQ(c.console.find(kPrompt) != std::string::npos, k.fresh == 0) << k.file;
    if (k.fresh == 1) {
      EXPECT_EQ(c.console.substr(c.console.size() - 3), " \n\n");
    }
  }
}

TEST(LimitCountSeed, ByteOrderMarkIsNotEchoed) {
  const std::string rec = normal("232, 17, 12345");
  Captured c = run_phase("\xEF\xBB\xBF" + rec + "\n", "C\n");
  EXPECT_EQ(c.log.substr(0, kReading.size() + 80), kReading + echo(rec));
  // The 79 columns count the mark: they keep 2 bytes of the "€" after it.
  c = run_phase("\xEF\xBB\xBF" + rec + std::string(21, ' ') + "\xE2\x82\xAC\n", "C\n");
  EXPECT_EQ(c.log.substr(0, kReading.size() + 80), kReading + echo(rec));
  // The same as a single line without a line feed keeps its mark: ":" in 41.
  c = run_phase("\xEF\xBB\xBF" + rec);
  EXPECT_TRUE(c.fataled);
  EXPECT_EQ(c.log, kReading + echo("\xEF\xBB\xBF" + rec) + kErr);
}

TEST(LimitCountSeed, BadRecordsEndTheRun) {
  const std::string good = normal("232, 17, 12345");
  const std::string cases[] = {
      "",
      "\n   \n\n",
      "NEW: 232, 0, 1\n",
      "nEw: 232, 0, 1\n",
      ": 100, 5\n",
      ": 17.0, 5, 5\n",
      ": 100, five, 5\n",
      "no colon at all\n",
      "ab: 1 2 3\n",
      "20260105 10150 Limit, Used, and Seed: 232, 17, 12345\n",    // ":" in 37
      "20260105 1015000 Limit, Used, and Seed: 232, 17, 12345\n",  // ":" in 39
      ": 100, -1, 5\n",                                            // negative used count
      "New: 150 /\n",                                              // used never given
      ": 100,,,\n",
      good + "\n: 1 2\n",
      // The seed stands beyond column 79.
      normal("232, 17,") + std::string(79 - 47, ' ') + "12345\n",
  };
  for (const std::string& f : cases) {
    Captured c = run_phase(f, "C\n");
    EXPECT_TRUE(c.fataled) << f;
    EXPECT_EQ(c.log.substr(c.log.size() - kErr.size()), kErr) << f;
    EXPECT_EQ(c.console.find(kPrompt), std::string::npos) << f;
  }
  // Every record up to the faulty one is echoed.
  Captured c = run_phase(good + "\n: 1 2\n" + good + "\n");
  EXPECT_EQ(c.log, kReading + echo(good) + echo(": 1 2") + kErr);
  // The empty file: the reading line, then the error.
  c = run_phase(std::string());
  EXPECT_EQ(c.log, kReading + kErr);
}

TEST(LimitCountSeed, OnlyTheFirst79ColumnsCount) {
  const std::string rec = normal("232, 17, 12345") + std::string(100, ' ') + "junk";
  Captured c = run_phase(rec + "\n", "C\n");
  ASSERT_FALSE(c.fataled);
  EXPECT_EQ(c.log.substr(kReading.size(), 80), echo(rec));
  expect_state(1, 0, 232, 17, 12345);
  // The echo leaves out the part of a character that column 79 cuts.
  c = run_phase(normal("232, 17, 12345") + std::string(25, ' ') + "\xE2\x82\xAC\n", "C\n");
  EXPECT_EQ(c.log.substr(kReading.size(), 80), echo(normal("232, 17, 12345")));
  // 8-bit text: the 79 columns.
  const std::string e9 = normal("232, 17, 12345") + std::string(25, ' ') + "\xE9";
  c = run_phase(e9 + "\xA0\n", "C\n");
  EXPECT_EQ(c.log.substr(kReading.size(), 80), echo(e9));
}

TEST(LimitCountSeed, Utf16FileIsRefused) {
  const std::string text = normal("232, 17, 12345") + "\n";
  for (bool little : {true, false}) {
    std::string f = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char ch : text) f += little ? std::string{ch, '\0'} : std::string{'\0', ch};
    Captured c = run_phase(f, "C\n");
    EXPECT_TRUE(c.fataled);
    // The first line is the bytes before the first line feed byte.
    const std::string line1 = f.substr(0, f.find('\n'));
    EXPECT_EQ(c.log, kReading + echo(line1) +
                         "*** Error: File zembic.lcs is illegal: UTF-16 (\"Unicode\")!\n");
    EXPECT_EQ(c.console, kReading + echo(line1) +
                             "\a*** Error: File zembic.lcs is illegal: UTF-16 (\"Unicode\")!\n");
  }
}

TEST(LimitCountSeed, FolderInPlaceOfTheFile) {
  Captured c;
  in_temp_folder([&] {
    ASSERT_EQ(mkdir("zembic.lcs", 0777), 0);
    c = capture([] { phase_lcs(rs, zembic_desc); });
  });
  EXPECT_TRUE(c.fataled);
  EXPECT_EQ(c.log, kReading + kErr);
}

TEST(LimitCountSeed, ConfirmationAnswers) {
  const std::string file = normal("232, 17, 12345") + "\n";
  const std::string head = kReading + echo(normal("232, 17, 12345"));
  const std::string confirmed =
      " ** User confirmed that the input file is up to date: zembic.csv\n";
  struct Case {
    std::string keys;
    int prompts;
    std::string log_tail;  // after the echoed record
  } cases[] = {
      {"C\n", 1, confirmed + "\n\n"},
      {"c\n", 1, confirmed + "\n\n"},
      {"C and more words\n", 1, confirmed + "\n\n"},
      {"  'c'\n", 1, confirmed + "\n\n"},
      {"Cancel\nC\n", 2, confirmed + "\n\n"},
      {"\n\n  \nc\n", 1, confirmed + "\n\n"},
      {"x\n,C\nc\n", 3, confirmed + "\n\n"},
      {"Q\n", 1, "*** User did not confirm the input file zembic.csv!\n"},
      {"q\n", 1, "*** User did not confirm the input file zembic.csv!\n"},
      {"yes\nq\n", 2, "*** User did not confirm the input file zembic.csv!\n"},
      {"Co\nq\n", 2, "*** User did not confirm the input file zembic.csv!\n"},
      {"", 1, "*** End of keyboard input!\n"},
      {"\n", 1, "*** End of keyboard input!\n"},
      {"Canc\n", 2, "*** End of keyboard input!\n"},
  };
  for (const Case& k : cases) {
    Captured c = run_phase(file, k.keys);
    EXPECT_EQ(c.log, head + k.log_tail) << k.keys;
    std::string prompts;
    for (int i = 0; i < k.prompts; ++i) prompts += kPrompt;
    const bool ok = k.log_tail == confirmed + "\n\n";
    EXPECT_EQ(c.fataled, !ok) << k.keys;
    const std::string end = ok ? "\n\n" : (k.log_tail[4] == 'E' ? "\n\a" : "\a") + k.log_tail;
    EXPECT_EQ(c.console, head + rerun_block("17") + prompts + end) << k.keys;
    if (ok) expect_state(1, 0, 232, 17, 12345);
  }
}

}  // namespace
