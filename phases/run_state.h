// The run state that the phases of the main procedure leave for each other,
// and the description of a program (zembic or varlon): its names and texts.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "sizes.h"

constexpr int32_t NARGS = 7;      // argument slots
constexpr int32_t NHEADMAX = 9;   // header lines
constexpr int32_t CANDMAX = 323;  // candidate entries (zembic builds 256, varlon up to 323)

struct RunState;
struct ProgramDesc;
struct ClassRules;
struct IdTable;
using PhaseFn = void (*)(RunState&, const ProgramDesc&);

// Everything here lives in static storage for the whole run.
struct RunState {
  // Phase 1: start-up.
  char stamp[25];  // "ccyymmdd hhmmss.sss Shhmm"

  // Phase 2: arguments.  Slot 1 fin, 2 fout, 3 POS, 4 HEADER, 5 SEP, 6 QUOT, 7 SEED.
  char argt[NARGS][FLDMAX];
  int32_t argtl[NARGS];
  int32_t narg;

  // Phases 5 to 7: modes and options.
  int32_t ftype;   // 0 other, 1 ".xls", 2 ".csv"
  int32_t ncolf;   // new-column position code
  int32_t csv, bb, canvas, kill, dosort, doquot, star;
  int32_t nhead;
  int32_t hnamof[NHEADMAX];  // offset in HEADER before header text i
  int32_t hnamlt[NHEADMAX];  // length of header text i
  int32_t seed;

  // Phase 8: e-mail domain.
  char dom0[FLDMAX];
  int32_t ldom0;

  // Phase 9: class distinction number and class ID.
  int32_t cls;
  char cid[4];
  int32_t lcid;

  // Phase 10: limit-count-seed file.
  int32_t lcsex;
  int32_t new_;  // 1 fresh assignment, 0 re-run
  int32_t idlim, idused, idnew;

  // Phase 11: roster header.
  int32_t ipos, lpos;
  int32_t oldcol;   // existing identifier column (CSV number; text 1 start, 2 end; 0 none)
  int32_t iendid;   // on a re-run: iend of the identifier column in header line 1
  int32_t colnot;   // Notes column, 0 none
  int32_t bufnot;   // index before the Notes text of the current row
  int32_t col_last_name, col_first_name, col_username;    // Blackboard list columns
  int32_t col_student, col_login, col_root;               // Canvas list columns

  // The current input line or row.
  char bufchr[BUFMAX];
  int32_t nbuf, term;
  int32_t held;  // 1: phase 11 read the first student row; it waits in bufchr

  // Phases 12 and 13: candidates and shuffled order.
  char idstr[CANDMAX][4];  // zembic: flag byte (blank or "*") and 3 characters; varlon: 4 digits
  int32_t nid;
  int32_t idorg[CANDMAX];  // shuffled position -> candidate index
  int32_t orgid[CANDMAX];  // candidate index -> shuffled position

  // Phase 14: student pass and list records.
  int32_t id0;
  int32_t idpos;
  int32_t nrec;
  char idrec[CANDMAX][RECMAX];
  int32_t idrecl[CANDMAX];
};

// The identifier a program hands out: where it stands in a candidate entry,
// how it is written into a row, a list record and a table, and the texts
// that name it.
struct IdentDesc {
  int32_t offset;  // first identifier byte in idstr(k): 1 (after the flag byte) or 0
  int32_t length;  // identifier characters: 3 or 4
  bool sort_numbers;  // sort numbers exist: in the Notes text and the identifier list file

  // The Notes cell's prefill; its length is the Notes text's.  The fill
  // writes the identifier over its first bytes and, with sort numbers, the
  // sort number so that it ends the text.
  std::string_view notes_pattern;  // "A00 000"

  // List records: label before the class ID, and the Ideal Student record's
  // text after the class ID in the names list file and in the identifier list
  // file.
  std::string_view label;        // " AID="
  std::string_view ideal_names;  // "A00: Ideal Student (instructor email)"
  std::string_view ideal_ids;    // "A00:   0 Ideal Student (instructor email)"

  // Messages of the student pass, each followed by a text, "\" in " or
  // "\" not found in ", and the input file's name.
  std::string_view bad;        // "Bad AID \""
  std::string_view not_found;  // "AID \""
  std::string_view duplicate;  // "Duplicate AID \""
  std::string_view lost_id;    // identifier column missing on a re-run: "Program error 2310A"

  // The clean-up of a re-run's trimmed identifier cell s(1..l) before it is
  // checked (lcid: the class ID's length); an empty result gets a new
  // identifier.  nullptr: the cell is checked as it is.
  void (*clean)(char* s, int32_t& l, int32_t lcid);

  // The table of the shuffled order and that of the first still unused
  // identifiers: their layout and headings (before the " (prefix ...)" part
  // and the colon).
  const IdTable* shuffled_table;
  std::string_view shuffled_heading;  // "Randomly resorted AID strings preceded by sort numbers"
  const IdTable* unused_table;
  std::string_view unused_heading;    // "First few still unused AID strings ..."

  // Summary lines: labels before a count right-aligned in 4 columns, and the
  // warnings.
  std::string_view assigned;   // "Number of AID strings assigned:"
  std::string_view none_new;   // " ** WARNING: no new AID strings assigned!"
  std::string_view previous;   // "Previous AID strings assigned:"
  std::string_view added;      // "     New AID strings assigned:"
  std::string_view total;      // "Total student records written:"
  std::string_view none_prev;  // " ** WARNING: no previous AID strings found!"
};

// Sort numbers: in a CSV roster whose header text 1 is `header` exactly, the
// identifier column holds each student's sort number (candidate index + 1)
// instead of the identifier.  The texts that name them.
struct SortDesc {
  std::string_view header;   // "AIDsort"
  std::string_view not_csv;  // "Currently AID sort numbers are only implemented for CSV files"

  // Messages of the student pass about an existing cell, each followed by
  // the cell's text, a tail and the input file's name.
  std::string_view bad;     // "Bad AID sort number \"" (tail "\" in ")
  std::string_view unused;  // "AID sort number \"" (tail "\" should be unused in ")
  std::string_view lost;    // identifier column missing on a re-run: "Program error 2300A"
};

// The names and texts in which zembic and varlon differ.
struct ProgramDesc {
  std::string_view name;      // "zembic"
  std::string_view logfile;   // "zembic.log"
  std::string_view logerr;    // "Error writing to log file zembic.log"
  std::span<const std::string_view> usage;  // the lines of the usage text

  // Phase 3.
  std::string_view nofile;    // "*** No zembic... input file found!"

  // Phase 6.
  std::string_view hdr_bb, hdr_canvas, hdr_csv;  // HEADER defaults
  SortDesc sort;              // sort numbers and their texts; all empty: none (varlon)

  // Phase 9: the class dialogs and the Class ID file.
  const ClassRules* class_rules;

  // Phase 10.
  std::string_view lcsfile;       // "zembic.lcs"
  std::string_view lcs_reading;   // "Reading file zembic.lcs"
  std::string_view lcs_readerr;   // "Error reading limit, count, and seed file zembic.lcs"
  std::string_view lcs_utf16;     // "Error: File zembic.lcs is illegal: UTF-16 (\"Unicode\")"
  std::string_view rerun_1;       // " ** Program zembic has already run before in this folder,"
  std::string_view rerun_2;       // "    based on limit-count-seed file zembic.lcs."
  std::string_view rerun_add;     // "Zembic will merely add AID data where still missing."
  std::string_view rerun_ident;   // " AID"
  std::string_view rerun_column;  // "strings in the appropriate column.  Enter the letter \"C\" to"

  // Phase 11.
  // The fixed lines of the abort blocks after the file name: A (zembic: 7
  // lines) when a fresh assignment finds the identifier column, B (5 lines)
  // when a re-run misses it.
  std::span<const std::string_view> abort_a;
  std::span<const std::string_view> abort_b;
  std::string_view accepted;        // " ** User accepted AID column number "
  bool feedback_notes;              // Blackboard sort-number mode uses "Feedback to User"
  bool canvas_notes_always;         // Canvas keeps the Notes column in every mode

  // Phase 12.
  PhaseFn candidates;

  // Phase 14.
  std::string_view namfile;   // "zembic.nam.txt"
  std::string_view idfile;    // "zembic.aid.txt"
  std::string_view namerr;    // "Error writing to names list file zembic.nam.txt"
  std::string_view iderr;     // "Error writing to AID list file zembic.aid.txt"

  // Phase 15 (zembic only; nullptr for none).
  PhaseFn webpage;
  std::string_view htmfile, srtfile;  // "zembic.htm", "zembic.srt.txt"
  std::string_view htmerr;            // "Error writing to web page zembic.htm"
  std::string_view srterr;            // "Error writing to text file zembic.srt.txt"

  // Phase 16.
  std::string_view lcs_writerr;  // "Error writing to last count and seed file zembic.lcs"

  // Phases 13 to 16: the identifier.
  IdentDesc id;
};
