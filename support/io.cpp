// Files by unit number: opening, closing, existence tests and line output.
#include "io.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fatal.h"
#include "sizes.h"

namespace {

FILE* units[LU_MAX + 1] = {};

// A name as a NUL-terminated path; false when it does not fit.
struct Path {
  char s[2 * FLDMAX + 2];
  bool ok;
  explicit Path(std::string_view fil) : s{}, ok(fil.size() < sizeof s) {
    if (ok) std::memcpy(s, fil.data(), fil.size());
    if (ok && std::memchr(s, 0, fil.size()) != nullptr) ok = false;
  }
};

void setunit(int32_t lunit, FILE* f) {
  if (lunit < 1 || lunit > LU_MAX) fatal("Program error: bad unit number");
  if (units[lunit] != nullptr && units[lunit] != stdin && units[lunit] != stdout) {
    std::fclose(units[lunit]);
  }
  units[lunit] = f;
}

// Steps shared by openw and openwu: replace an existing file by a new one.
void create_new(std::string_view fil, int32_t lunit) {
  const int32_t e = fexist(fil);
  if (e < 0) fatal2("Disk error looking for file ", fil);
  Path p(fil);
  if (e == 1) {
    const int fd = ::open(p.s, O_RDONLY);
    if (fd < 0) fatal2("Unable to access old file ", fil);
    ::close(fd);
    if (::unlink(p.s) != 0) fatal2("Unable to replace old file ", fil);
  }
  const int fd = p.ok ? ::open(p.s, O_WRONLY | O_CREAT | O_EXCL, 0666) : -1;
  if (fd < 0) fatal2("Unable to create file ", fil);
  FILE* f = ::fdopen(fd, "w");
  if (f == nullptr) {
    ::close(fd);
    fatal2("Unable to create file ", fil);
  }
  setunit(lunit, f);
}

}  // namespace

FILE* unitf(int32_t lunit) {
  if (lunit < 1 || lunit > LU_MAX) return nullptr;
  if (units[lunit] == nullptr) {
    if (lunit == LU_KEYB) return stdin;
    if (lunit == LU_CONS) return stdout;
  }
  return units[lunit];
}

void bind_unit(int32_t lunit, FILE* f) {
  if (lunit >= 1 && lunit <= LU_MAX) units[lunit] = f;
}

bool close_unit(int32_t lunit) {
  if (lunit < 1 || lunit > LU_MAX || units[lunit] == nullptr) return true;
  FILE* f = units[lunit];
  units[lunit] = nullptr;
  if (f == stdin || f == stdout) return true;
  return std::fclose(f) == 0;
}

void flush_units() {
  std::fflush(stdout);
  for (int32_t i = 1; i <= LU_MAX; ++i) {
    if (units[i] != nullptr) std::fflush(units[i]);
  }
}

int32_t fexist(std::string_view fil) {
  Path p(fil);
  if (!p.ok) return -1;
  struct stat st;
  if (::stat(p.s, &st) == 0) return 1;
  if (errno == ENOENT || errno == ENOTDIR) return 0;
  return -1;
}

void openw(std::string_view fil, int32_t lunit) { create_new(fil, lunit); }

void openwu(std::string_view fil, int32_t lunit) { create_new(fil, lunit); }

void openru(std::string_view fil, int32_t lunit) {
  const int32_t e = fexist(fil);
  if (e < 0) fatal2("Disk error looking for file ", fil);
  if (e == 0) fatal2("File not found: ", fil);
  Path p(fil);
  FILE* f = std::fopen(p.s, "rb");
  if (f == nullptr) fatal2("Unable to open file ", fil);
  setunit(lunit, f);
  cminp.lunit = lunit;  // its bytes come through the input block
  cminp.f = f;
  cminp.pos = cminp.len = 0;
}

void closu(int32_t lunit, std::string_view fil) {
  if (!close_unit(lunit)) fatal2("Disk error closing file ", fil);
}

bool wtext(int32_t lunit, std::initializer_list<std::string_view> pieces) {
  FILE* f = unitf(lunit);
  if (f == nullptr) return false;
  bool ok = true;
  for (std::string_view s : pieces) {
    if (!s.empty() && std::fwrite(s.data(), 1, s.size(), f) != s.size()) ok = false;
  }
  return ok && !std::ferror(f);
}

bool wline(int32_t lunit, std::initializer_list<std::string_view> pieces) {
  const bool ok = wtext(lunit, pieces);
  FILE* f = unitf(lunit);
  return ok && f != nullptr && std::fputc('\n', f) != EOF;
}

// Byte input and output: getchr takes the file opened by openru from the
// input block, every other unit (the keyboard, the Class ID file) from its
// stream.  The program has one thread, so the streams need no locking.

InputBlock cminp = {};

int32_t fill_block(int32_t lunit) {
  if (lunit != cminp.lunit || cminp.f == nullptr || unitf(lunit) != cminp.f) return 2;
  const int fd = ::fileno(cminp.f);
  for (;;) {
    const ssize_t n = ::read(fd, cminp.buf, sizeof cminp.buf);
    if (n > 0) {
      cminp.pos = 0;
      cminp.len = static_cast<int32_t>(n);
      return 0;
    }
    if (n == 0) return 1;
    if (errno != EINTR) return 2;
  }
}

int32_t getchr(int32_t lunit, char& chr) {
  FILE* f = unitf(lunit);
  if (f == nullptr) return 2;
  if (lunit == cminp.lunit && f == cminp.f) {
    if (cminp.pos >= cminp.len) {
      const int32_t r = fill_block(lunit);
      if (r != 0) return r;
    }
    chr = cminp.buf[cminp.pos++];
    return 0;
  }
  const int c = ::getc_unlocked(f);
  if (c == EOF) return std::ferror(f) ? 2 : 1;
  chr = static_cast<char>(c);
  return 0;
}

int32_t putchr(int32_t lunit, char chr) {
  FILE* f = unitf(lunit);
  if (f == nullptr) return 1;
  return ::putc_unlocked(static_cast<unsigned char>(chr), f) == EOF ? 1 : 0;
}
