// The usage text of zembic, line by line, as the program must print it.
#pragma once
#include <string>
#include <vector>

inline const std::vector<std::string> kZembicUsage = {
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
