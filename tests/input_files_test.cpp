#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "phase_run.h"
#include "unit_helpers.h"
#include "zembic.h"

namespace {

// The discovery names in the order they are tried.
const std::vector<std::string> kNames = {
    "zembic.csv",     "zembic.xls",     "zembic__sv.csv", "zembic__sv.xls", "zembic_csv.csv",
    "zembic_csv.xls", "zembic_dsv.csv", "zembic_dsv.xls", "zembic_psv.csv", "zembic_psv.xls",
    "zembic_ssv.csv", "zembic_ssv.xls", "zembic_tsv.csv", "zembic_tsv.xls", "zembic_vsv.csv",
    "zembic_vsv.xls", "zembic.txt",
};

struct Files {
  Captured c;
  std::string fin, fout;
};

Files files_phase(const std::vector<std::string>& args, const ProgramDesc& d = zembic_desc) {
  RunState& r = state_with_args(args, d);
  Files f;
  f.c = capture([&] { phase_files(r, d); });
  f.fin = slot(r, 1);
  f.fout = slot(r, 2);
  return f;
}

TEST(InputFiles, EachDiscoveryNameAloneIsTheInput) {
  for (const std::string& name : kNames) {
    in_temp_folder([&] {
      put_file(name, "x\n");
      Files f = files_phase({});
      EXPECT_FALSE(f.c.fataled) << name;
      EXPECT_EQ(f.fin, name);
      EXPECT_EQ(f.fout, "new_" + name);
      EXPECT_EQ(f.c.console, "");
      EXPECT_EQ(f.c.log, "");
    });
  }
}

TEST(InputFiles, EveryPairNamesTheEarlierNameFirst) {
  // Each name against the one after it in the order: the search stops at the
  // second name it finds, so exactly these two are shown.
  for (size_t i = 0; i + 1 < kNames.size(); ++i) {
    in_temp_folder([&] {
      put_file(kNames[i + 1], "x\n");
      put_file(kNames[i], "x\n");
      if (i + 2 < kNames.size()) put_file(kNames[i + 2], "x\n");
      Files f = files_phase({});
      EXPECT_TRUE(f.c.fataled);
      EXPECT_EQ(f.c.console, "Potential input file 1: " + kNames[i] +
                                 "\nPotential input file 2: " + kNames[i + 1] +
                                 "\n\a*** Remove/rename all but the correct file!\n");
      EXPECT_EQ(f.c.log, "*** Remove/rename all but the correct file!\n");
    });
  }
}

TEST(InputFiles, DiscoveryUsesTheProgramsOwnStem) {
  ProgramDesc v = zembic_desc;
  v.name = "varlon";
  v.nofile = "*** No varlon... input file found!";
  in_temp_folder([&] {
    put_file("zembic.csv", "x\n");
    put_file("varlon_dsv.xls", "x\n");
    Files f = files_phase({}, v);
    EXPECT_FALSE(f.c.fataled);
    EXPECT_EQ(f.fin, "varlon_dsv.xls");
    EXPECT_EQ(f.fout, "new_varlon_dsv.xls");
  });
  in_temp_folder([&] {
    put_file("zembic.csv", "x\n");
    Files f = files_phase({}, v);
    EXPECT_TRUE(f.c.fataled);
    const std::string head = "*** No varlon... input file found!\n \n";
    EXPECT_EQ(f.c.console.substr(0, head.size()), head);
  });
}

TEST(InputFiles, GivenNamesAreKeptAsTyped) {
  in_temp_folder([] {
    ASSERT_EQ(mkdir("rosters", 0755), 0);
    put_file("rosters/fall.csv", "x\n");
    put_file("Fall.CSV", "x\n");
    struct Case {
      std::vector<std::string> args;
      std::string fin, fout;
    };
    const Case cases[] = {
        {{"Fall.CSV", "-", "S"}, "Fall.CSV", "new_Fall.CSV"},
        {{"rosters/fall.csv", "out.csv"}, "rosters/fall.csv", "out.csv"},
        {{"Fall.CSV", "rosters/fall.csv"}, "Fall.CSV", "rosters/fall.csv"},
    };
    for (const Case& c : cases) {
      Files f = files_phase(c.args);
      EXPECT_FALSE(f.c.fataled) << c.args[0];
      EXPECT_EQ(f.fin, c.fin);
      EXPECT_EQ(f.fout, c.fout);
      EXPECT_EQ(f.c.console, "");
    }
  });
}

TEST(InputFiles, OutputNamingTheInputFileIsRefused) {
  in_temp_folder([] {
    put_file("a.csv", "x\n");
    ASSERT_EQ(mkdir("sub", 0755), 0);
    ASSERT_EQ(link("a.csv", "hard.csv"), 0);
    ASSERT_EQ(symlink("a.csv", "soft.csv"), 0);
    ASSERT_EQ(symlink("../a.csv", "sub/up.csv"), 0);
    const std::vector<std::vector<std::string>> same = {
        {"a.csv", "a.csv"},      {"a.csv", "./a.csv"},       {"./a.csv", "a.csv"},
        {"a.csv", "hard.csv"},   {"a.csv", "soft.csv"},      {"soft.csv", "a.csv"},
        {"a.csv", "sub/../a.csv"}, {"a.csv", "sub/up.csv"},
    };
    for (const auto& args : same) {
      Files f = files_phase(args);
      EXPECT_TRUE(f.c.fataled) << args[1];
      EXPECT_EQ(f.c.console, "\a*** Output file may not equal the input one!\n") << args[1];
      EXPECT_EQ(f.c.log, "*** Output file may not equal the input one!\n");
    }
    // Another file, or one not there yet, is fine.
    put_file("b.csv", "x\n");
    for (const std::string out : {"b.csv", "c.csv", "sub/a.csv", "A.csv"}) {
      Files f = files_phase({"a.csv", out});
      EXPECT_FALSE(f.c.fataled) << out;
      EXPECT_EQ(f.fout, out);
    }
  });
}

}  // namespace
