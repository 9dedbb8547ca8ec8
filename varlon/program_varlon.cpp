// The names and texts of varlon.
#include "phases.h"
#include "run_state.h"
#include "varlon.h"

namespace {

const std::string_view usage[] = {
    "Usage: varlon INFILE OUTFILE POS HEADER SEP QUOT SEED",
    "       INFILE: input file (CSV file names should end in .csv or .xls)",
    "               default (or -): varlon[_?sv].{csv|xls} or varlon.txt",
    "       OUTFILE: output file (may not be the same as the input file)",
    "                default (or -): new_INFILE if INFILE has no path",
    "       POS: if CSV: column number in which to put the NAID or B or C",
    "                    column number 1 puts the NAID at the start",
    "                    column number 0 puts the NAID at the end",
    "                    end POS with K to kill remaining columns",
    "                    default (or -): if .xls file: B: Blackboard mode",
    "                                    if .csv file: CK: Canvas mode",
    "            if not: S: puts the NAID at the start of each line",
    "                    E: puts the NAID at the  end  of each line",
    "                    default (or -): S",
    "       HEADER: number of header lines (0-9) followed by field content",
    "               default (or -): if CSV: 1NAID* or 2NAID*,0.00 Canvas",
    "                               if not: 0",
    "       SEP: if CSV: single byte separating CSV fields (like comma)",
    "                    default (or -): if .xls file: Tab, else: comma",
    "                                    [but { ,:;Tab|} if ?={_CDSTV}]",
    "            if not: string between the NAID and the rest of the line",
    "                    default (or -): \": \"",
    "            aliases: _=Space  C=,  D=:  S=;  T=Tab  V=|  H=-  N=NIL",
    "       QUOT: if CSV: single byte used to quote CSV fields",
    "                     follow QUOT with F to force quoting added fields",
    "                     default (or -): double-quote",
    "             if not: must be omitted or set to -",
    "             aliases: D=\"  S='  H=-  N=NUL",
    "       SEED: seed to use for the random number generator (if not 1)",
    "             default: 1; creates an unpredictable set of NAID values",
};

// Abort block A: the lines after the input file's name, each written after 4 blanks.
const std::string_view abort_a[] = {
    "To create a completely new set of NAID numbers, you must",
    "delete this column.  Then move the input file into a new",
    "folder and run varlon again.",
    "To add instead missing NAID numbers to the current ones,",
    "it is *essential* to have a valid file varlon.lcs that",
    "was created when the current NAID numbers were created",
    "without program errors.",
};

// Abort block B: the lines after the input file's name, each written after 4 blanks.
const std::string_view abort_b[] = {
    "You cannot add more NAID numbers without an existing",
    "NAID column.  Check that you are using the latest",
    "version of the input file.",
    "Otherwise you may need to create new NAID numbers from",
    "scratch.  Make sure to create a new folder for that.",
};

}  // namespace

const ProgramDesc varlon_desc = {
    .name = "varlon",
    .logfile = "varlon.log",
    .logerr = "Error writing to log file varlon.log",
    .usage = usage,
    .nofile = "*** No varlon... input file found!",
    .hdr_bb = "1NAID*",
    .hdr_canvas = "2NAID*,0.00",
    .hdr_csv = "1NAID*",
    .sort = {},  // no sort numbers: "AIDsort" is an ordinary column name
    .class_rules = &varlon_class_rules,
    .lcsfile = "varlon.lcs",
    .lcs_reading = "Reading file varlon.lcs",
    .lcs_readerr = "Error reading limit, count, and seed file varlon.lcs",
    .lcs_utf16 = "Error: File varlon.lcs is illegal: UTF-16 (\"Unicode\")",
    .rerun_1 = " ** Program varlon has already run before in this folder,",
    .rerun_2 = "    based on limit-count-seed file varlon.lcs.",
    .rerun_add = "Varlon will merely add NAID values where still missing.",
    .rerun_ident = " NAID",
    .rerun_column = "values in the appropriate column.  Enter the letter \"C\" to",
    .abort_a = abort_a,
    .abort_b = abort_b,
    .accepted = " ** User accepted NAID column number ",
    .feedback_notes = false,      // "Feedback to User" is an ordinary column
    .canvas_notes_always = true,  // the Canvas Notes column is filled in every run
    .candidates = phase_naid_candidates,
    .namfile = "varlon.nam.txt",
    .idfile = "varlon.aid.txt",
    .namerr = "Error writing to names list file varlon.nam.txt",
    .iderr = "Error writing to NAID list file varlon.aid.txt",
    .webpage = nullptr,  // no web page and no text table
    .htmfile = "",
    .srtfile = "",
    .htmerr = "",
    .srterr = "",
    .lcs_writerr = "Error writing to last count and seed file varlon.lcs",
    .id =
        {
            .offset = 0,
            .length = 4,
            .sort_numbers = false,
            .notes_pattern = "    ",
            .label = " NAID=",
            // 1000 repeats a digit, so it is never a NAID; both list files
            // begin with the same line.
            .ideal_names = "1000: Ideal Student (instructor email)",
            .ideal_ids = "1000: Ideal Student (instructor email)",
            .bad = "Bad NAID \"",
            .not_found = "NAID \"",
            .duplicate = "Duplicate NAID \"",
            .lost_id = "Program error 2300A",
            .clean = naid_clean,
            .shuffled_table = &NAID_TABLE,
            .shuffled_heading = "Randomly resorted NAID values",
            .unused_table = &NAID_TABLE,
            .unused_heading = "First few still unused NAID numbers",
            .assigned = "Number of NAID numbers assigned:",
            .none_new = " ** WARNING: no new NAID numbers assigned!",
            .previous = "Previous NAID numbers assigned:",
            .added = "     New NAID numbers assigned:",
            // The blank keeps the count in the columns of the two above.
            .total = "Total student records written: ",
            .none_prev = " ** WARNING: no previous NAID numbers found!",
        },
};
