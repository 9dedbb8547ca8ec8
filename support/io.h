// Files by unit number, opening, closing and byte I/O.
#pragma once
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string_view>

#include <sys/stat.h>

#include "sizes.h"
#include "units.h"

// Bytes of a Path with its NUL: room for twice a name field, so that no name
// the runs pass is refused for its length.
constexpr int32_t PATHMAX = 2 * FLDMAX + 2;

// A file name as a NUL-terminated path for the system calls; ok is false
// when the name does not fit or holds a NUL byte.
struct Path {
  char s[PATHMAX];
  bool ok;
  explicit Path(std::string_view fil);
};

// Existence test: 1 exists, 0 does not, -1 the test itself failed.
int32_t fexist(std::string_view fil);
// The same test, also giving the file's status (following a symbolic link)
// when the result is 1.
int32_t fexist(std::string_view fil, struct stat& st);
// The same tests where a failing test ends the run: "Disk error looking for
// file " and `shown` (a file named to be opened or created), or "Disk error
// looking for files" when shown is empty (a file looked for by its name).
int32_t fexist_or_end(std::string_view fil, struct stat& st, std::string_view shown = {});
int32_t fexist_or_end(std::string_view fil, std::string_view shown = {});
// True when fil is a symbolic link (whether or not it leads to a file).
bool is_symlink(std::string_view fil);

// One run per folder.  lock_folder, called once at start-up, takes an
// exclusive lock (flock) on the current folder without waiting and keeps it
// until the process ends, however it ends; it leaves no file behind.  busy:
// another process holds it; unavailable: the file system cannot lock it.
enum class FolderLock { held, busy, unavailable };
FolderLock lock_folder();

void openw(std::string_view fil, int32_t lunit);   // new text file for writing
void openwu(std::string_view fil, int32_t lunit);  // new byte file for writing
void openru(std::string_view fil, int32_t lunit);  // existing file, byte reading
void closu(int32_t lunit, std::string_view fil);   // close and keep

// Writes out what the unit holds and checks it as closing would (closing a
// second descriptor of the file), while the unit stays open; false on failure.
bool check_unit(int32_t lunit);

// The routines below end no run: they report failure to the caller, which
// has a message of its own for the file.  Anything but a regular file (a
// FIFO, a device, a folder) is refused without waiting on it.

// Opens an existing regular file for reading lines on the unit.
bool open_lines(std::string_view fil, int32_t lunit);
// Creates fil, which must not exist, holding exactly the bytes: they are
// written under a temporary name in the same folder, fil + ".tmp-" and six
// letters or digits, that takes the name only when complete, so a failure
// leaves no file of that name.  The file and its folder entry are on disk
// (fsync) before it returns true.
bool create_whole(std::string_view fil, std::string_view bytes);
// Appends the bytes to fil (existing: it must exist and is not followed when
// it is a symbolic link; otherwise it must not, and is made as create_whole
// makes a file).  When the file's last byte is not a line feed, one goes
// first.  Whole or not at all: a failed append cuts the file back to its old
// length.  The bytes are on disk (fsync) before it returns true.
bool append_whole(std::string_view fil, bool existing, std::string_view bytes);
// Removes the temporary files of create_whole for the named files of the
// current folder, which a process killed while writing one leaves behind.
// Only a process that holds the folder's lock may call it: another run's
// temporary file may be in use otherwise.
void remove_temporaries(std::initializer_list<std::string_view> files);

// Input block: the file that openru opened is read INBLKMAX bytes at a time
// with read(2), and the line readers (decoder.h) take its bytes from memory.
// One block serves the one file open for byte reading; openru empties it.
constexpr int32_t INBLKMAX = 65536;
struct InputBlock {
  int32_t lunit;  // unit of the file that fills the block (0: none)
  FILE* f;        // its stream, only for its descriptor (stdio never reads it)
  int32_t pos;    // index of the next byte to deliver
  int32_t len;    // bytes held; pos == len: used up
  char buf[INBLKMAX];
};
extern InputBlock cminp;

// Fills the used-up block from the file on lunit: 0 bytes were read, 1 end of
// file (again on every later call), 2 any other failure, also when lunit is
// not the block's unit or its file has been closed since.
int32_t fill_block(int32_t lunit);

// 0 a byte was read, 1 end of file, 2 any other failure.
int32_t getchr(int32_t lunit, char& chr);
// 0 written, 1 failure.
int32_t putchr(int32_t lunit, char chr);
// The n bytes at b (n >= 0) as putchr would write them one by one, in one
// stream write: 0 written, 1 failure.
int32_t put_block(int32_t lunit, const char* b, int32_t n);

