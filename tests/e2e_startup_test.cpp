#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "e2e_harness.h"
#include "usage_text.h"

namespace {

const std::vector<std::string>& kUsage = kZembicUsage;

const std::string kStart = "Run date and time: ccyymmdd hhmmss.sss Shhmm\n\n";

TEST(Startup, EightArgumentsGiveTheUsageTextAlone) {
  RunResult r = run_in_folder(ZEMBIC_BIN, {.args = {"a", "b", "c", "d", "e", "f", "g", "h"}});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(mask_stamp(r.console), kStart + lines(kUsage));
  EXPECT_EQ(mask_stamp(r.file("zembic.log")), kStart + lines(kUsage));
  EXPECT_EQ(r.files.size(), 1u);  // only the log file
}

TEST(Startup, UsageTextShape) {
  ASSERT_EQ(kUsage.size(), 31u);
  EXPECT_EQ(kUsage[0].size(), 53u);
  for (size_t i = 1; i < kUsage.size(); ++i) {
    EXPECT_EQ(kUsage[i].compare(0, 7, "       "), 0) << i;
    EXPECT_NE(kUsage[i].back(), ' ') << i;
  }
}

TEST(Startup, RunStampLayout) {
  RunResult r = run_in_folder(ZEMBIC_BIN, {.args = {"1", "2", "3", "4", "5", "6", "7", "8"}});
  const std::string lead = "Run date and time: ";
  ASSERT_EQ(r.console.compare(0, lead.size(), lead), 0);
  const std::string stamp = r.console.substr(lead.size(), 25);
  EXPECT_EQ(r.console[lead.size() + 25], '\n');
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 16, 17, 18, 21, 22, 23, 24}) {
    EXPECT_TRUE(stamp[i] >= '0' && stamp[i] <= '9') << stamp << " at " << i;
  }
  EXPECT_EQ(stamp[8], ' ');
  EXPECT_EQ(stamp[15], '.');
  EXPECT_EQ(stamp[19], ' ');
  EXPECT_TRUE(stamp[20] == '+' || stamp[20] == '-');
  EXPECT_EQ(r.file("zembic.log").substr(0, lead.size() + 26), lead + stamp + "\n");
}

TEST(Startup, OldLogIsReplacedNotExtended) {
  RunResult r = run_in_folder(ZEMBIC_BIN, {.args = {"1", "2", "3", "4", "5", "6", "7", "8"},
                                           .files = {{"zembic.log", "old contents\n"}}});
  EXPECT_EQ(mask_stamp(r.file("zembic.log")), kStart + lines(kUsage));
}

TEST(Startup, LogFolderInThePlaceOfTheLogFile) {
  RunResult r = run_in_folder(ZEMBIC_BIN, {.setup = [](const std::string& dir) {
    std::string cmd = "mkdir '" + dir + "/zembic.log'";
    ASSERT_EQ(system(cmd.c_str()), 0);
  }});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.console, "\a*** Unable to replace old file zembic.log!\n");
}

}  // namespace
