// The routines that write a state file whole: no file of theirs is ever left
// torn, also where a whole run cannot provoke the failure (the Class ID file
// and a first limit-count-seed record are smaller than the log by then).
#include <csignal>
#include <filesystem>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "io.h"
#include "unit_helpers.h"

namespace {

// Runs fn with writes past `bytes` of any file failing (EFBIG).
bool with_size_limit(rlim_t bytes, const std::function<bool()>& fn) {
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit lim = old;
  lim.rlim_cur = bytes;
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);
  setrlimit(RLIMIT_FSIZE, &lim);
  const bool ok = fn();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, handler);
  return ok;
}

int files_in_folder() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(".")) ++n;
  return n;
}

TEST(Io, CreateWholeLeavesTheWholeFileOrNone) {
  in_temp_folder([] {
    EXPECT_TRUE(create_whole("a.cid", " 3\nx7  \n"));
    EXPECT_EQ(get_file("a.cid"), " 3\nx7  \n");
    EXPECT_FALSE(create_whole("a.cid", "other\n"));  // it exists: kept as it is
    EXPECT_EQ(get_file("a.cid"), " 3\nx7  \n");

    EXPECT_FALSE(with_size_limit(4, [] { return create_whole("b.cid", " 3\nx7  \n"); }));
    EXPECT_EQ(files_in_folder(), 1);  // neither b.cid nor its temporary file
  });
}

TEST(Io, AppendWholeAddsTheRecordOrLeavesTheFileAsItWas) {
  in_temp_folder([] {
    put_file("a.lcs", "first record");  // a last line without line end
    EXPECT_TRUE(append_whole("a.lcs", true, "second\n"));
    EXPECT_EQ(get_file("a.lcs"), "first record\nsecond\n");

    EXPECT_FALSE(with_size_limit(25, [] { return append_whole("a.lcs", true, "third record\n"); }));
    EXPECT_EQ(get_file("a.lcs"), "first record\nsecond\n");

    put_file("c.lcs", "no line end");
    EXPECT_FALSE(with_size_limit(12, [] { return append_whole("c.lcs", true, "record\n"); }));
    EXPECT_EQ(get_file("c.lcs"), "no line end");

    // Created here and not written whole: removed again.
    EXPECT_FALSE(with_size_limit(5, [] { return append_whole("b.lcs", false, "a record\n"); }));
    EXPECT_FALSE(std::filesystem::exists("b.lcs"));
    EXPECT_FALSE(append_whole("a.lcs", false, "x\n"));  // must be new, but exists
    EXPECT_FALSE(append_whole("d.lcs", true, "x\n"));   // must exist, but does not
    EXPECT_FALSE(std::filesystem::exists("d.lcs"));
    ASSERT_EQ(symlink("a.lcs", "l.lcs"), 0);  // a symbolic link is not followed
    EXPECT_FALSE(append_whole("l.lcs", true, "x\n"));
    EXPECT_EQ(get_file("a.lcs"), "first record\nsecond\n");
  });
}

// A process killed at the first write of a new file's record (a size limit
// of 0 sends SIGXFSZ) leaves no file of that name, only its temporary file,
// which the next run holding the folder removes.
TEST(Io, KilledFirstRecordLeavesNoFile) {
  in_temp_folder([] {
    if (fork() == 0) {
      const rlimit none = {0, 0};
      setrlimit(RLIMIT_CORE, &none);
      setrlimit(RLIMIT_FSIZE, &none);
      std::signal(SIGXFSZ, SIG_DFL);
      _exit(append_whole("a.lcs", false, "a record\n") ? 0 : 1);
    }
    int status = 0;
    wait(&status);
    EXPECT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(files_in_folder(), 1);  // no a.lcs, only its temporary file
    put_file("a.lcs.backup", "kept\n");  // not of create_whole's naming
    put_file("a.lcs.tmp-v1.csv", "kept\n");
    remove_temporaries({"a.lcs"});
    EXPECT_EQ(files_in_folder(), 2);
  });
}

}  // namespace
