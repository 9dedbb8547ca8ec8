// Phases 1 and 2: start-up (shared blocks, log file, run stamp) and arguments.
#include <cstdio>
#include <csignal>
#include <cstring>
#include <ctime>

#include <fcntl.h>
#include <unistd.h>

#include "args1.h"
#include "class_id.h"
#include "console_log.h"
#include "fatal.h"
#include "io.h"
#include "outbuf.h"
#include "phases.h"
#include "run_stamp.h"
#include "run_state.h"

namespace {

// Writes v as exactly `width` zero-padded digits.
void digits(char* at, int32_t v, int32_t width) {
  for (int32_t i = width - 1; i >= 0; --i) {
    at[i] = static_cast<char>('0' + v % 10);
    v /= 10;
  }
}

// Standard input, output and error open on /dev/null when the caller closed
// them, so that no file the run opens takes their place (the log would else
// receive the console's lines on descriptor 1).
void standard_descriptors() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) >= 0) continue;
    const int nul = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (nul >= 0 && nul != fd) {  // the lowest free descriptor is fd itself
      ::dup2(nul, fd);
      ::close(nul);
    }
  }
}

}  // namespace

// The 25-character stamp "ccyymmdd hhmmss.sss Shhmm" from a local time, its
// milliseconds and its offset from UTC in minutes.
void make_stamp(const struct tm& lt, int32_t millis, int32_t offmin, char stamp[25]) {
  std::memcpy(stamp, "ccyymmdd hhmmss.sss Shhmm", 25);
  digits(stamp, lt.tm_year + 1900, 4);
  digits(stamp + 4, lt.tm_mon + 1, 2);
  digits(stamp + 6, lt.tm_mday, 2);
  digits(stamp + 9, lt.tm_hour, 2);
  digits(stamp + 11, lt.tm_min, 2);
  digits(stamp + 13, lt.tm_sec, 2);
  stamp[15] = '.';
  digits(stamp + 16, millis, 3);
  const int32_t hours = offmin / 60;  // truncated towards zero
  const int32_t mins = offmin - 60 * hours;
  stamp[20] = offmin < 0 ? '-' : '+';
  digits(stamp + 21, hours < 0 ? -hours : hours, 2);
  digits(stamp + 23, mins < 0 ? -mins : mins, 2);
}

void phase_startup(RunState& r, const ProgramDesc& d, int argc, char** argv) {
  cmenc.enc = 0;
  cmenc.esc = -1;
  cmenc.bom[0] = '\xEF';
  cmenc.bom[1] = '\xBB';
  cmenc.bom[2] = '\xBF';
  cmsav.nsav = 0;
  standard_descriptors();
  // A console that goes away (a pipe whose reader ended) must not end the run
  // between the output file and the records that rebuild it: the log holds
  // every line anyway.
  std::signal(SIGPIPE, SIG_IGN);
  // One run per folder, zembic and varlon alike, before anything in it is
  // created or replaced; the fatal message reaches the console only, as the
  // log is not open yet.
  const FolderLock lock = lock_folder();
  if (lock == FolderLock::busy) fatal("Another run is working in this folder");
  refuse_log_names(d, argc, argv);
  if (lock == FolderLock::held) remove_temporaries({d.class_rules->cidfile, d.lcsfile});
  set_log_error(d.logerr);
  openw(d.logfile, LU_LOG);

  // One clock reading gives both the seconds and the milliseconds; without
  // it the milliseconds are 000.
  struct timespec now{};
  if (clock_gettime(CLOCK_REALTIME, &now) != 0) now = {std::time(nullptr), 0};
  struct tm lt{};
  localtime_r(&now.tv_sec, &lt);
  const int32_t millis = static_cast<int32_t>(now.tv_nsec / 1000000);
  make_stamp(lt, millis, static_cast<int32_t>(lt.tm_gmtoff / 60), r.stamp);

  cline({"Run date and time: ", std::string_view(r.stamp, 25)});
  cempty();
}

void phase_arguments(RunState& r, const ProgramDesc& d, int argc, char** argv) {
  std::memset(r.argt, ' ', sizeof r.argt);
  for (int32_t i = 0; i < NARGS; ++i) r.argtl[i] = 1;
  args(argc, argv, NARGS, r.narg, r.argt, r.argtl);
  if (r.narg > NARGS) usage_exit(d, {});
}
