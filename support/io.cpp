// Files by unit number: opening, closing, existence tests and line output.
#include "io.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fatal.h"
#include "text.h"

Path::Path(std::string_view fil) : s{}, ok(fil.size() < sizeof s) {
  if (ok) std::memcpy(s, fil.data(), fil.size());
  if (ok && std::memchr(s, 0, fil.size()) != nullptr) ok = false;
}

namespace {

void setunit(int32_t lunit, FILE* f) {
  if (lunit < 1 || lunit > LU_MAX) fatal("Program error: bad unit number");
  close_unit(lunit);
  bind_unit(lunit, f);
}

// Opens an existing file without waiting (a FIFO would block an ordinary
// open); -1 when it cannot be opened or is not a regular file (nor a folder,
// when folder_ok).  The descriptor is left in blocking mode.
int open_regular(const Path& p, int flags, bool folder_ok = false) {
  if (!p.ok) return -1;
  const int fd = ::open(p.s, flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st;
  const bool kind_ok = ::fstat(fd, &st) == 0 &&
                       (S_ISREG(st.st_mode) || (folder_ok && S_ISDIR(st.st_mode)));
  const int fl = kind_ok ? ::fcntl(fd, F_GETFL) : -1;
  if (fl < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Writes all n bytes; false when a write fails.
bool write_all(int fd, const char* b, size_t n) {
  while (n > 0) {
    const ssize_t k = ::write(fd, b, n);
    if (k < 0 && errno == EINTR) continue;
    if (k <= 0) return false;
    b += k;
    n -= static_cast<size_t>(k);
  }
  return true;
}

// The temporary name of create_whole: the file's name and this tag, whose
// six X mkstemp replaces by letters and digits.  Any name of that shape is
// one of ours.
constexpr std::string_view TEMP_TAG = ".tmp-XXXXXX";
constexpr size_t TEMP_FIXED = 5;  // ".tmp-"

bool is_temporary_of(std::string_view name, std::string_view fil) {
  if (name.size() != fil.size() + TEMP_TAG.size() || !name.starts_with(fil)) return false;
  const std::string_view tag = view_part(name, fil.size());
  if (!tag.starts_with(view_part(TEMP_TAG, 0, TEMP_FIXED))) return false;
  for (const char c : view_part(tag, TEMP_FIXED)) {
    if (!(c >= '0' && c <= '9') && !(c >= 'A' && c <= 'Z') && !(c >= 'a' && c <= 'z')) {
      return false;
    }
  }
  return true;
}

// Puts the folder entries of the file named by p (its name's first n bytes)
// on disk.  A folder that cannot be opened for reading, or a file system
// that cannot flush one, leaves nothing that could be done: true.
bool sync_folder(const Path& p, size_t n) {
  char dir[sizeof p.s] = ".";
  size_t k = n;  // the name's folder part, up to its last "/"
  while (k > 0 && p.s[k - 1] != '/') --k;
  if (k > 0) {
    if (k > 1) --k;  // "a/b" has the folder "a", "/b" the folder "/"
    std::memcpy(dir, p.s, k);
    dir[k] = '\0';
  }
  const int fd = ::open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return true;
  const bool ok = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
  ::close(fd);
  return ok;
}

// Steps shared by openw and openwu: replace an existing file by a new one.
void create_new(std::string_view fil, int32_t lunit) {
  const int32_t e = fexist_or_end(fil, fil);
  Path p(fil);
  if (e == 1) {
    // A folder fails at the unlink below, with the message it always had.
    const int fd = open_regular(p, O_RDONLY, true);
    if (fd < 0) fatal2("Unable to access old file ", fil);
    ::close(fd);
    if (::unlink(p.s) != 0) fatal2("Unable to replace old file ", fil);
  }
  const int fd = p.ok ? ::open(p.s, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666) : -1;
  if (fd < 0) fatal2("Unable to create file ", fil);
  FILE* f = ::fdopen(fd, "w");
  if (f == nullptr) {
    ::close(fd);
    fatal2("Unable to create file ", fil);
  }
  setunit(lunit, f);
}

}  // namespace

int32_t fexist(std::string_view fil, struct stat& st) {
  Path p(fil);
  if (!p.ok) return -1;
  if (::stat(p.s, &st) == 0) return 1;
  if (errno == ENOENT || errno == ENOTDIR) return 0;
  return -1;
}

int32_t fexist(std::string_view fil) {
  struct stat st;
  return fexist(fil, st);
}

int32_t fexist_or_end(std::string_view fil, struct stat& st, std::string_view shown) {
  const int32_t e = fexist(fil, st);
  if (e < 0 && shown.empty()) fatal("Disk error looking for files");
  if (e < 0) fatal2("Disk error looking for file ", shown);
  return e;
}

int32_t fexist_or_end(std::string_view fil, std::string_view shown) {
  struct stat st;
  return fexist_or_end(fil, st, shown);
}

bool is_symlink(std::string_view fil) {
  const Path p(fil);
  struct stat st;
  return p.ok && ::lstat(p.s, &st) == 0 && S_ISLNK(st.st_mode);
}

FolderLock lock_folder() {
  // A descriptor that holds the lock stays open for the rest of the process.
  const int fd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return FolderLock::unavailable;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return FolderLock::held;
  const FolderLock not_held = errno == EWOULDBLOCK ? FolderLock::busy : FolderLock::unavailable;
  ::close(fd);
  return not_held;
}

void openw(std::string_view fil, int32_t lunit) { create_new(fil, lunit); }

void openwu(std::string_view fil, int32_t lunit) { create_new(fil, lunit); }

void openru(std::string_view fil, int32_t lunit) {
  const int32_t e = fexist_or_end(fil, fil);
  if (e == 0) fatal2("File not found: ", fil);
  // Only a regular file: a FIFO without a writer would wait for ever.
  const int fd = open_regular(Path(fil), O_RDONLY);
  FILE* f = fd >= 0 ? ::fdopen(fd, "rb") : nullptr;
  if (f == nullptr) {
    if (fd >= 0) ::close(fd);
    fatal2("Unable to open file ", fil);
  }
  setunit(lunit, f);
  cminp.lunit = lunit;  // its bytes come through the input block
  cminp.f = f;
  cminp.pos = cminp.len = 0;
}

void closu(int32_t lunit, std::string_view fil) {
  if (!close_unit(lunit)) fatal2("Disk error closing file ", fil);
}

bool check_unit(int32_t lunit) {
  FILE* f = unitf(lunit);
  if (f == nullptr || std::fflush(f) != 0 || std::ferror(f)) return false;
  const int fd = ::dup(::fileno(f));
  return fd >= 0 && ::close(fd) == 0;
}

bool open_lines(std::string_view fil, int32_t lunit) {
  const int fd = open_regular(Path(fil), O_RDONLY);
  if (fd < 0) return false;
  FILE* f = ::fdopen(fd, "rb");
  if (f == nullptr) {
    ::close(fd);
    return false;
  }
  close_unit(lunit);
  bind_unit(lunit, f);
  return true;
}

bool create_whole(std::string_view fil, std::string_view bytes) {
  const Path p(fil);
  char tmp[sizeof p.s + TEMP_TAG.size()];
  if (!p.ok) return false;
  std::memcpy(tmp, p.s, fil.size());
  std::memcpy(tmp + fil.size(), TEMP_TAG.data(), TEMP_TAG.size());
  tmp[fil.size() + TEMP_TAG.size()] = '\0';
  const int fd = ::mkstemp(tmp);
  if (fd < 0) return false;
  const mode_t mask = ::umask(0);  // the permissions of an ordinary new file
  ::umask(mask);
  bool ok = ::fchmod(fd, 0666 & ~mask) == 0;
  ok = ok && write_all(fd, bytes.data(), bytes.size());
  ok = ok && ::fsync(fd) == 0;  // the bytes reach the disk before the name
  ok = ::close(fd) == 0 && ok;
  // link, unlike rename, refuses a file of that name that appeared meanwhile.
  // A file system without hard links (a FAT memory stick) gets the rename,
  // after the same test.
  if (ok && ::link(tmp, p.s) != 0) {
    const bool no_links = errno == EPERM || errno == ENOTSUP || errno == EOPNOTSUPP ||
                          errno == ENOSYS;
    struct stat st;
    ok = no_links && ::lstat(p.s, &st) != 0 && errno == ENOENT && ::rename(tmp, p.s) == 0;
  }
  ::unlink(tmp);
  // Not on disk, not there: the caller reports the file as not written.
  if (ok && !sync_folder(p, fil.size())) {
    ::unlink(p.s);
    ok = false;
  }
  return ok;
}

bool append_whole(std::string_view fil, bool existing, std::string_view bytes) {
  if (!existing) return create_whole(fil, bytes);
  const Path p(fil);
  if (!p.ok) return false;
  const int fd = open_regular(p, O_RDWR | O_APPEND | O_NOFOLLOW);
  if (fd < 0) return false;
  const off_t size = ::lseek(fd, 0, SEEK_END);
  char last = '\n';
  bool ok = size >= 0 && (size == 0 || ::pread(fd, &last, 1, size - 1) == 1);
  if (ok && last != '\n') ok = write_all(fd, "\n", 1);
  ok = ok && write_all(fd, bytes.data(), bytes.size());
  ok = ok && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  // Nothing of a torn record may stay for the next run to read.
  if (!ok && size >= 0) (void)::truncate(p.s, size);
  return ok;
}

void remove_temporaries(std::initializer_list<std::string_view> files) {
  DIR* dir = ::opendir(".");
  if (dir == nullptr) return;
  while (const dirent* e = ::readdir(dir)) {
    for (std::string_view fil : files) {
      if (is_temporary_of(e->d_name, fil)) ::unlink(e->d_name);
    }
  }
  ::closedir(dir);
}

// Byte input and output.  The file opened by openru is read through the
// input block by the line readers alone; getchr serves the other units (the
// keyboard, the Class ID file) from their streams.  The program has one
// thread, so the streams need no locking.

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

int32_t put_block(int32_t lunit, const char* b, int32_t n) {
  FILE* f = unitf(lunit);
  if (f == nullptr) return 1;
  const size_t len = n > 0 ? static_cast<size_t>(n) : 0;
  return std::fwrite(b, 1, len, f) == len ? 0 : 1;
}
