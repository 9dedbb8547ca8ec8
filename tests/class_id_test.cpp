#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "class_dialog_text.h"
#include "phases.h"
#include "run_state.h"
#include "unit_helpers.h"
#include "zembic.h"

namespace {

RunState rs;

const std::string kNumberIntro = joined_lines(kClassNumberIntro);
const std::string kNumberPrompt = kClassNumberPrompt;
const std::string kIdIntro = " \n" + joined_lines(kClassIdIntro);
const std::string kIdPrompt = kClassIdPrompt;
const std::string kBad = kClassBadNumber + "\n";

struct PhaseRun {
  Captured c;
  bool has_file = false;
  std::string file;
};

// Phase 9 in a fresh folder; CSV with comma and double quote unless told.
PhaseRun run_phase(const std::string& keyboard, const std::string& cid_file = "",
                   bool has_cid = false, char sep = ',', char quot = '"') {
  PhaseRun out;
  in_temp_folder([&] {
    if (has_cid) put_file("zembic.cid", cid_file);
    std::memset(rs.argt, ' ', sizeof rs.argt);
    rs.argt[4][0] = sep;
    rs.argt[5][0] = quot;
    rs.cls = -99;
    rs.lcid = -99;
    out.c = capture([] { class_id_file(rs, zembic_class_rules); }, keyboard);
    out.has_file = access("zembic.cid", F_OK) == 0;
    if (out.has_file) out.file = get_file("zembic.cid");
  });
  return out;
}

int count(const std::string& hay, const std::string& needle) {
  int n = 0;
  for (size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + 1)) ++n;
  return n;
}

TEST(ClassIdFile, FirstRunAsksWritesAndReadsBack) {
  PhaseRun r = run_phase("3\nx7\n");
  ASSERT_FALSE(r.c.fataled);
  EXPECT_EQ(r.c.console, kNumberIntro + kNumberPrompt + kIdIntro + kIdPrompt +
                             "Class distinction number:   3\n"
                             "Class ID: \"x7\"\n"
                             "\n");
  EXPECT_EQ(r.c.log,
            "Class distinction number:   3\n"
            "Class ID: \"x7\"\n"
            "\n");
  EXPECT_EQ(r.file, " 3\nx7  \n");
  EXPECT_EQ(rs.cls, 3);
  EXPECT_EQ(rs.lcid, 2);
  EXPECT_EQ(std::string(rs.cid, 2), "x7");
}

TEST(ClassIdFile, EmptyClassIdMeansNone) {
  PhaseRun r = run_phase("14\n\n");
  EXPECT_EQ(r.file, "14\n    \n");
  EXPECT_EQ(r.c.log, "Class distinction number:  14\nNo class ID\n\n");
  EXPECT_EQ(rs.lcid, 0);
  // Four blanks before a character are beyond the first 4 characters.
  r = run_phase("0\n    5\n");
  EXPECT_EQ(r.file, " 0\n    \n");
}

TEST(ClassIdFile, ClassDistinctionAnswers) {
  struct Case {
    std::string answers;  // lines before an accepted one
    int cls;
    int bad;
    int prompts;
  } cases[] = {
      {"7\n", 7, 0, 1},
      {" 7 \n", 7, 0, 1},
      {"14\n", 14, 0, 1},
      {"  12345\n", 12, 0, 1},  // only "  12" counts
      {"\t9\r\n", 9, 0, 1},
      {"15\n01\n014\n1 4\nx\n-1\n+5\n2\n", 2, 7, 8},
      {"\n   \n4\n", 4, 0, 3},  // asked again without a message
  };
  for (const Case& k : cases) {
    PhaseRun r = run_phase(k.answers + "\n");
    ASSERT_FALSE(r.c.fataled) << k.answers;
    EXPECT_EQ(rs.cls, k.cls) << k.answers;
    EXPECT_EQ(count(r.c.console, kBad), k.bad) << k.answers;
    EXPECT_EQ(count(r.c.console, kNumberPrompt), k.prompts) << k.answers;
    EXPECT_EQ(r.c.log.find("Please"), std::string::npos);
  }
}

TEST(ClassIdFile, QuitAtEitherPrompt) {
  for (const std::string keys : {"q\n", "Q\n", " q \n", "5\nq\n", "5\nabcd\nQ\n"}) {
    PhaseRun r = run_phase(keys);
    EXPECT_TRUE(r.c.fataled) << keys;
    EXPECT_FALSE(r.has_file) << keys;
    EXPECT_EQ(r.c.log, "*** User quit!\n") << keys;
    EXPECT_EQ(r.c.console.substr(r.c.console.size() - 16), "\a*** User quit!\n") << keys;
  }
  // "qq" is no quit but a bad number.
  PhaseRun r = run_phase("qq\n1\n\n");
  EXPECT_FALSE(r.c.fataled);
  EXPECT_EQ(count(r.c.console, kBad), 1);
}

TEST(ClassIdFile, EndOfKeyboardInputAtEachPrompt) {
  for (const std::string keys : {"", "\n\n", "x\n", "7\n", "7\nABC\n"}) {
    PhaseRun r = run_phase(keys);
    EXPECT_TRUE(r.c.fataled) << keys;
    EXPECT_FALSE(r.has_file) << keys;
    EXPECT_EQ(r.c.log, "*** End of keyboard input!\n") << keys;
    const std::string prompt = keys.rfind('7', 0) == 0 ? kIdPrompt : kNumberPrompt;
    const std::string tail = prompt + "\n\a*** End of keyboard input!\n";
    ASSERT_GE(r.c.console.size(), tail.size());
    EXPECT_EQ(r.c.console.substr(r.c.console.size() - tail.size()), tail) << keys;
  }
}

TEST(ClassIdFile, ClassIdCharacters) {
  struct Case {
    std::string answer;
    std::string message;  // empty: accepted
  } cases[] = {
      {"a", ""},
      {"x7", ""},
      {"a-b", ""},
      {"a.1", ""},
      {"@", ""},
      {"_", ""},
      {"z9", ""},
      {"\xC3\xA9" "1", ""},  // a UTF-8 letter, then a digit
      {"0a", "*** Character \"0\" is illegal."},
      {"0", "*** Character \"0\" is illegal."},
      {"a0", ""},
      {"aB", "*** Character \"B\" is illegal."},
      {"a b", "*** Character \" \" is illegal."},
      {"a:b", "*** Character \":\" is illegal."},
      {"ab-", "*** Character \"-\" is illegal."},
      {"a,", "*** Character \",\" is illegal."},
      {"a\"b", "*** Character \"\"\" is illegal."},
      {"AB:", "*** Character \"A\" is illegal."},  // only the first refused one
      {"\xC3\xA9", "*** Character \"\xA9\" is illegal."},
      {"a\xC3\xA9", "*** Character \"\xA9\" is illegal."},
      {"a.", "*** Character \".\" is illegal."},
      {"a\tb", " *** ASCII control character 9 is illegal"},
      {"ab\x7f", " *** ASCII control character 127 is illegal"},
      {"a\x1f" "b", " *** ASCII control character 31 is illegal"},
  };
  for (const Case& k : cases) {
    PhaseRun r = run_phase("1\n" + k.answer + "\nok\n");
    ASSERT_FALSE(r.c.fataled) << k.answer;
    const std::string after = r.c.console.substr(r.c.console.find(kIdPrompt));
    if (k.message.empty()) {
      EXPECT_EQ(after, kIdPrompt + "Class distinction number:   1\nClass ID: \"" + k.answer +
                           "\"\n\n")
          << k.answer;
      EXPECT_EQ(r.file, " 1\n" + k.answer + std::string(4 - k.answer.size(), ' ') + "\n");
    } else {
      EXPECT_EQ(after, kIdPrompt + k.message + "\n" + kIdPrompt +
                           "Class distinction number:   1\nClass ID: \"ok\"\n\n")
          << k.answer;
    }
  }
}

TEST(ClassIdFile, TooLongClassIdIsAskedAgainWithoutMessage) {
  PhaseRun r = run_phase("1\nabcd\nabcde\n  abc\n");
  EXPECT_EQ(r.c.console.substr(r.c.console.find(kIdPrompt)),
            kIdPrompt + kIdPrompt + kIdPrompt +
                "Class distinction number:   1\nClass ID: \"ab\"\n\n");
}

TEST(ClassIdFile, SeparatorAndQuoteOfTheRun) {
  // A plain text file: separator ": " and quote setting "-".
  PhaseRun r = run_phase("1\na-b\nab\n", "", false, ':', '-');
  EXPECT_NE(r.c.console.find(kIdPrompt + "*** Character \"-\" is illegal.\n"), std::string::npos);
  EXPECT_EQ(r.file, " 1\nab  \n");
  // A semicolon separator and a single quote.
  r = run_phase("1\na;b\na'b\na,b\n", "", false, ';', '\'');
  EXPECT_EQ(count(r.c.console, "*** Character \";\" is illegal."), 1);
  EXPECT_EQ(count(r.c.console, "*** Character \"'\" is illegal."), 1);
  EXPECT_EQ(r.file, " 1\na,b \n");
}

TEST(ClassIdFile, ReadBackOfAnExistingFile) {
  struct Case {
    std::string file;
    int cls;
    std::string id;  // "-" no class ID
  } cases[] = {
      {" 3\nx7  \n", 3, "x7"},
      {"3 \nx7\n", 3, "x7"},
      {"03\n\n", 3, "-"},
      {"14abc\nAB\n", 14, "AB"},  // hand-edited: no character rules
      {"\n\n", 0, "-"},
      {"  \n    \n", 0, "-"},
      {"+5\n a b\n", 5, "a b"},
      {"12\nabc   more\n", 12, "abc"},
      {" 9\r\nxy\r\n", 9, "xy"},
      {" 2\nq7", 2, "q7"},  // the last line without a line feed
      {"1\n\t@\t\n", 1, "@"},
      {"1\n a\xE2\x82\xAC\n", 1, "a"},  // not a part of a character that the 4 columns cut
      {"1\n ab\xE9\xA0\n", 1, "ab\xE9"},  // 8-bit text: the 4 columns
  };
  for (const Case& k : cases) {
    PhaseRun r = run_phase("", k.file, true);
    ASSERT_FALSE(r.c.fataled) << k.file;
    EXPECT_EQ(r.file, k.file);  // never rewritten
    EXPECT_EQ(rs.cls, k.cls);
    char num[8];
    std::snprintf(num, sizeof num, "%4d", k.cls);
    const std::string id = k.id == "-" ? "No class ID\n" : "Class ID: \"" + k.id + "\"\n";
    const std::string want = "Class distinction number:" + std::string(num) + "\n" + id + "\n";
    EXPECT_EQ(r.c.console, want) << k.file;
    EXPECT_EQ(r.c.log, want) << k.file;
  }
}

TEST(ClassIdFile, BadFilesEndTheRun) {
  const std::string err = "*** Error reading Class ID file zembic.cid!\n";
  struct Case {
    std::string file;
    bool number_shown;
  } cases[] = {
      {"15\n\n", false}, {"-1\n\n", false}, {"x\n\n", false}, {"1x\n\n", false},
      {"", false},       {" 3\n", true},    {" 3", true},     {"3\nabcd\n", true},
      {"3\nab cd\n", true}, {"3\nab\xE2\x82\xAC\n", true},
  };
  for (const Case& k : cases) {
    PhaseRun r = run_phase("", k.file, true);
    EXPECT_TRUE(r.c.fataled) << k.file;
    EXPECT_EQ(r.c.log, (k.number_shown ? "Class distinction number:   3\n" : "") + err) << k.file;
  }
  // A folder in place of the file.
  PhaseRun r;
  in_temp_folder([&] {
    ASSERT_EQ(mkdir("zembic.cid", 0777), 0);
    r.c = capture([] { class_id_file(rs, zembic_class_rules); });
  });
  EXPECT_TRUE(r.c.fataled);
  EXPECT_EQ(r.c.log, err);
}

TEST(ClassIdFile, FileThatCannotBeCreated) {
  Captured c;
  in_temp_folder([&] {
    // The current folder is gone: nothing can be created in it.
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    ASSERT_EQ(rmdir(here), 0);
    c = capture([] { class_id_file(rs, zembic_class_rules); }, "1\na\n");
  });
  EXPECT_TRUE(c.fataled);
  EXPECT_EQ(c.log, "*** Error writing to Class ID file zembic.cid!\n");
}

}  // namespace
