// CSV column finder.
#pragma once
#include <cstdint>

// Finds a column of the row bufchr(1..nbuf-term): by contents (fndlt >= 0,
// a trailing "*" in fnd(1..fndlt) makes a prefix match), locate (fndlt -1)
// or fetch into fnd(1..lfnd) (fndlt -9, which returns the length fetched).
// lfnd is the declared length of fnd.
void csvfnd(int32_t bufmax, int32_t nbuf, const char* bufchr, int32_t term, char sep, char quot,
            int32_t icol, int32_t& fndlt, char* fnd, int32_t lfnd, int32_t& lcol, int32_t& iend,
            int32_t& jcol);

// csvfnd for column icol of a row whose column starts the caller knows: the
// separator before the column is at position ifrom (0 for column 1), as
// readcv's insertion point tells.  The results are csvfnd's; the columns
// before icol are not scanned again.  Column 0 (the last column) has no
// known start: ifrom is 0 and the whole row is scanned, as by csvfnd.
void csvfnd_from(int32_t ifrom, int32_t bufmax, int32_t nbuf, const char* bufchr, int32_t term,
                 char sep, char quot, int32_t icol, int32_t& fndlt, char* fnd, int32_t lfnd,
                 int32_t& lcol, int32_t& iend, int32_t& jcol);

// The CSV escape byte in force (cmenc.esc from 0 to 255): true and the byte
// in esc; false when there is none.  The row reader and the column finder
// both ask here, so they always agree.
bool csv_escape(char& esc);
