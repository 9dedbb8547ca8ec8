// The names and texts of zembic.
#include "phases.h"
#include "run_state.h"
#include "zembic.h"

namespace {

const std::string_view usage[] = {
    "Usage: zembic INFILE OUTFILE POS HEADER SEP QUOT SEED",
    "       INFILE: input file (CSV file names should end in .csv or .xls)",
    "               default (or -): zembic[_?sv].{csv|xls} or zembic.txt",
    "       OUTFILE: output file (may not be the same as the input file)",
    "                default (or -): new_INFILE if INFILE has no path",
    "       POS: if CSV: column number in which to put the AID or B or C",
    "                    column number 1 puts the AID at the start",
    "                    column number 0 puts the AID at the end",
    "                    end POS with K to kill remaining columns",
    "                    default (or -): if .xls file: B: Blackboard mode",
    "                                    if .csv file: CK: Canvas mode",
    "            if not: S: puts the AID at the start of each line",
    "                    E: puts the AID at the  end  of each line",
    "                    default (or -): S",
    "       HEADER: number of header lines (0-9) followed by field content",
    "               default (or -): if CSV: 1AID* or 2AIDsort*,0.00 Canvas",
    "                                       (AIDsort puts in sort numbers)",
    "                               if not: 0",
    "       SEP: if CSV: single byte separating CSV fields (like comma)",
    "                    default (or -): if .xls file: Tab, else: comma",
    "                                    [but { ,:;Tab|} if ?={_CDSTV}]",
    "            if not: string between the AID and the rest of the line",
    "                    default (or -): \": \"",
    "            aliases: _=Space  C=,  D=:  S=;  T=Tab  V=|  H=-  N=NIL",
    "       QUOT: if CSV: single byte used to quote CSV fields",
    "                     follow QUOT with F to force quoting added fields",
    "                     default (or -): double-quote",
    "             if not: must be omitted or set to -",
    "             aliases: D=\"  S='  H=-  N=NUL",
    "       SEED: seed to use for the random number generator (if not 1)",
    "             default: 1; creates an unpredictable set of AID strings",
};

// Abort block A: the lines after the input file's name, each written after 4 blanks.
const std::string_view abort_a[] = {
    "To create a completely new set of AID strings, you must",
    "delete this column.  Then move the input file into a new",
    "folder and run zembic again.",
    "To add instead missing AID strings to the current ones,",
    "it is *essential* to have a valid file zembic.lcs that",
    "was created when the current AID strings were created",
    "without program errors.",
};

// Abort block B: the lines after the input file's name, each written after 4 blanks.
const std::string_view abort_b[] = {
    "You cannot add more AID strings without an existing",
    "AID column.  Check that you are using the latest",
    "version of the input file.",
    "Otherwise you may need to create new AID strings from",
    "scratch.  Make sure to create a new folder for that.",
};

}  // namespace

const ProgramDesc zembic_desc = {
    .name = "zembic",
    .logfile = "zembic.log",
    .logerr = "Error writing to log file zembic.log",
    .usage = usage,
    .nofile = "*** No zembic... input file found!",
    .hdr_bb = "1AID*",
    .hdr_canvas = "2AIDsort*,0.00",
    .hdr_csv = "1AID*",
    .sort =
        {
            .header = "AIDsort",
            .not_csv = "Currently AID sort numbers are only implemented for CSV files",
            .bad = "Bad AID sort number \"",
            .unused = "AID sort number \"",
            .lost = "Program error 2300A",
        },
    .class_rules = &zembic_class_rules,
    .lcsfile = "zembic.lcs",
    .lcs_reading = "Reading file zembic.lcs",
    .lcs_readerr = "Error reading limit, count, and seed file zembic.lcs",
    .lcs_utf16 = "Error: File zembic.lcs is illegal: UTF-16 (\"Unicode\")",
    .rerun_1 = " ** Program zembic has already run before in this folder,",
    .rerun_2 = "    based on limit-count-seed file zembic.lcs.",
    .rerun_add = "Zembic will merely add AID data where still missing.",
    .rerun_ident = " AID",
    .rerun_column = "strings in the appropriate column.  Enter the letter \"C\" to",
    .abort_a = abort_a,
    .abort_b = abort_b,
    .accepted = " ** User accepted AID column number ",
    .feedback_notes = true,
    .canvas_notes_always = false,
    .candidates = phase_candidates,
    .namfile = "zembic.nam.txt",
    .idfile = "zembic.aid.txt",
    .namerr = "Error writing to names list file zembic.nam.txt",
    .iderr = "Error writing to AID list file zembic.aid.txt",
    .webpage = phase_webpage,
    .htmfile = "zembic.htm",
    .srtfile = "zembic.srt.txt",
    .htmerr = "Error writing to web page zembic.htm",
    .srterr = "Error writing to text file zembic.srt.txt",
    .lcs_writerr = "Error writing to last count and seed file zembic.lcs",
    .id =
        {
            .offset = 1,
            .length = 3,
            .sort_numbers = true,
            .notes_pattern = "A00 000",
            .label = " AID=",
            // A00 holds the digit 0, which no AID uses.
            .ideal_names = "A00: Ideal Student (instructor email)",
            .ideal_ids = "A00:   0 Ideal Student (instructor email)",
            .bad = "Bad AID \"",
            .not_found = "AID \"",
            .duplicate = "Duplicate AID \"",
            .lost_id = "Program error 2310A",
            .clean = nullptr,
            .shuffled_table = &AID_TABLE,
            .shuffled_heading = "Randomly resorted AID strings preceded by sort numbers",
            .unused_table = &AID_UNUSED_TABLE,
            .unused_heading = "First few still unused AID strings preceded by sort numbers",
            .assigned = "Number of AID strings assigned:",
            .none_new = " ** WARNING: no new AID strings assigned!",
            .previous = "Previous AID strings assigned:",
            .added = "     New AID strings assigned:",
            .total = "Total student records written:",
            .none_prev = " ** WARNING: no previous AID strings found!",
        },
};
