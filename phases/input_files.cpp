// Phase 3: the input file (found in the folder or given as INFILE) and the
// output file's name (given as OUTFILE or "new_" and the input's name).
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string_view>

#include "arg_slots.h"
#include "args1.h"
#include "class_id.h"
#include "console_log.h"
#include "fatal.h"
#include "io.h"
#include "phases.h"
#include "run_state.h"
#include "text.h"

namespace {

// The letters tried after the underscore of the discovery names; each also
// names the CSV separator that phase 7 derives from the input's name.
constexpr std::string_view aseps = "_cdpstv";

// Existence test of a name; a failing test ends the run.
bool exists(std::string_view fil) { return fexist_or_end(fil) == 1; }

// Discovery: exactly one of the program's 17 fixed names must exist in the
// folder: <name>.csv, <name>.xls, <name>_?sv.csv and <name>_?sv.xls for each
// letter of aseps, then <name>.txt.
void discover(RunState& r, const ProgramDesc& d) {
  char* fin = slot_bytes(r, FIN);
  int32_t& lfin = slot_len(r, FIN);
  lfin = 0;

  char fnd[FLDMAX];
  // Room for the longest suffix, "_?sv.ext".
  const size_t lname = d.name.size() < FLDMAX - 8 ? d.name.size() : FLDMAX - 8;
  const int32_t lstem = static_cast<int32_t>(lname);
  std::memcpy(fnd, d.name.data(), lname);
  constexpr int32_t ntry = 2 + 2 * static_cast<int32_t>(aseps.size()) + 1;

  for (int32_t t = 0; t < ntry; ++t) {
    int32_t l = lstem;
    const char* ext;
    if (t < 2) {
      ext = t == 0 ? ".csv" : ".xls";
    } else if (t < ntry - 1) {
      fnd[l++] = '_';
      fnd[l++] = aseps[(t - 2) / 2];
      fnd[l++] = 's';
      fnd[l++] = 'v';
      ext = (t - 2) % 2 == 0 ? ".csv" : ".xls";
    } else {
      ext = ".txt";
    }
    std::memcpy(fnd + l, ext, 4);
    l += 4;
    const std::string_view name(fnd, static_cast<size_t>(l));
    if (!exists(name)) continue;
    if (lfin == 0) {
      std::memset(fin, ' ', FLDMAX);
      std::memcpy(fin, fnd, static_cast<size_t>(l));
      lfin = l;
    } else {
      conly({"Potential input file 1: ", std::string_view(fin, static_cast<size_t>(lfin))});
      conly({"Potential input file 2: ", name});
      fatal("Remove/rename all but the correct file");
    }
  }
  if (lfin == 0) usage_exit(d, {d.nofile});
}

// INFILE given: it must name an existing file.
void check_given(RunState& r, const ProgramDesc& d) {
  const char* fin = slot_bytes(r, FIN);
  const int32_t lfin = slot_len(r, FIN);
  bool blank = true;
  for (int32_t i = 0; i < lfin; ++i) {
    if (!isblank_byte(fin[i])) blank = false;
  }
  if (blank) usage_exit(d, {"*** ERROR: Missing input file name!"});
  const std::string_view name = slot_text(r, FIN);
  if (exists(name)) return;
  // A lone "-h", "--help" or "/?" asks for the usage text.
  if (r.narg == 1 && lfin >= 2 && (fin[0] == '/' || fin[0] == '-')) usage_exit(d, {});
  char line[FLDMAX + 32];
  usage_exit(d, {join_line(line, sizeof line, {"*** Input file not found: \"", name, "\""})});
}

// True when both names lead to one and the same existing file (a path such
// as "./a.csv", a hard link or a symbolic link to the input): writing the
// output would then destroy the roster being read.  A name whose status
// cannot be read ends the run, since it cannot be compared: a is shown in
// the message as `shown` tells (see fexist_or_end), b is looked for by name.
bool same_file(std::string_view a, std::string_view b, std::string_view shown) {
  struct stat sa;
  struct stat sb;
  const int32_t ea = fexist_or_end(a, sa, shown);
  const int32_t eb = fexist_or_end(b, sb);
  return ea == 1 && eb == 1 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// True when the name leads to a file `own` of the current folder: the same
// file when both exist, otherwise the same last name in this very folder (a
// state file may not exist yet).
bool names_own_file(std::string_view name, std::string_view own, std::string_view shown) {
  if (name == own || same_file(name, own, shown)) return true;
  const size_t slash = name.rfind('/');
  if (slash == std::string_view::npos || view_part(name, slash + 1) != own) return false;
  return same_file(slash == 0 ? "/" : view_part(name, 0, slash), ".", shown);
}

constexpr std::string_view in_own = "Input file may not be one of the program's own files: ";
constexpr std::string_view out_own = "Output file may not be one of the program's own files: ";

// Ends the run when INFILE (pos FIN) or OUTFILE (pos FOUT) leads to a file
// that the run itself reads or writes: owns lists them.
void refuse_own_files(int32_t pos, std::string_view name,
                      std::initializer_list<std::string_view> owns) {
  const std::string_view shown = pos == FOUT ? name : std::string_view();
  for (std::string_view own : owns) {
    if (!own.empty() && names_own_file(name, own, shown)) {
      fatal2(pos == FIN ? in_own : out_own, name);
    }
  }
}

// Its log, Class ID, limit-count-seed and list files, the e-mail domain
// file, and its web page and text table when it makes them.
void refuse_own_files(const ProgramDesc& d, int32_t pos, std::string_view name) {
  refuse_own_files(pos, name, {d.logfile, d.class_rules->cidfile, d.lcsfile, d.namfile, d.idfile,
                               EMAIL_FILE, d.htmfile, d.srtfile});
}

}  // namespace

void refuse_log_names(const ProgramDesc& d, int argc, char** argv) {
  for (int32_t pos = FIN; pos <= FOUT && pos < argc; ++pos) {
    // The name as phase 2 will hold it in its slot.  A name too long for the
    // slot, a blank one and "-" are left to phases 2 and 3.
    char slot[FLDMAX];
    const int32_t l = arg_slot(argv[pos], slot);
    const std::string_view name(slot, static_cast<size_t>(l));
    if (l == 0 || (l == 1 && isblank_byte(slot[0])) || name == "-") continue;
    refuse_own_files(pos, name, {d.logfile});
  }
}

void phase_files(RunState& r, const ProgramDesc& d) {
  if (!arg_given(r, FIN)) {
    discover(r, d);
  } else {
    check_given(r, d);
  }

  const std::string_view fin = slot_text(r, FIN);
  if (!arg_given(r, FOUT)) {
    if (fin.find_first_of(":/\\") != std::string_view::npos) {
      usage_exit(d, {"*** ERROR: output file name must be specified if the",
                     "    input file name contains :, /, or \\!"});
    }
    // The input's name is at most 252 bytes, so "new_" and it fit the slot.
    char* fout = slot_bytes(r, FOUT);
    std::memset(fout, ' ', FLDMAX);
    std::memcpy(fout, "new_", 4);
    std::memcpy(fout + 4, fin.data(), fin.size());
    slot_len(r, FOUT) = slot_len(r, FIN) + 4;
  }

  const std::string_view fout = slot_text(r, FOUT);
  for (char c : fout) {
    if (isblank_byte(c)) {
      usage_exit(d, {"*** ERROR: Spaces in the output file name are not allowed!"});
    }
  }
  if (fout == fin || same_file(fout, fin, fout)) fatal("Output file may not equal the input one");
  refuse_own_files(d, FIN, fin);
  refuse_own_files(d, FOUT, fout);
}
