// The usage text of varlon, line by line, as the program must print it.
#pragma once
#include <string>
#include <vector>

inline const std::vector<std::string> kVarlonUsage = {
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
