// csvfnd: finds a column of a CSV row by number or contents, or fetches it.
//
// The scan follows the quoting rules that readcv enforces on every row it
// returns; a row that breaks them is an internal error ("Program bug").
#include "csvfnd.h"

#include "fatal.h"
#include "outbuf.h"

bool csv_escape(char& esc) {
  if (cmenc.esc < 0 || cmenc.esc > 255) return false;
  esc = static_cast<char>(cmenc.esc);
  return true;
}

namespace {

// Scans the column that starts after position iend (1-based) of the row
// text bufchr(1..ntext).  On return iend is the position of the separator
// that ends it (ntext+1 for the last column), lcol its raw length and the
// result the number of bytes that are quoting or escaping, not contents.
int32_t scan_column(const char* bufchr, int32_t ntext, char sep, char quot, bool has_esc, char esc,
                    int32_t& iend, int32_t& lcol) {
  lcol = 0;
  int32_t extra = 0;
  int state = 0;  // 0 outside quotes, 1 inside, 2 a quote seen inside
  for (;;) {
    ++iend;
    if (iend > ntext) {
      if (state == 1) fatal("Program bug 1 in csvfnd or readcv");
      return extra;
    }
    const char b = bufchr[iend - 1];
    if (b == sep && state != 1) return extra;
    ++lcol;
    if (state == 2) {
      // Only a doubled quote may follow a quote inside a quoted field.
      if (b != quot) fatal("Program bug 5 in csvfnd or readcv");
      if (has_esc) fatal("Program bug 4 in csvfnd or readcv");
      state = 1;
      ++extra;
    } else if (has_esc && b == esc) {
      ++iend;  // the escaped byte is contents, whatever it is
      if (iend > ntext) fatal("Program bug 2 in csvfnd or readcv");
      ++lcol;
      ++extra;
    } else if (b == quot) {
      if (state == 0) {
        if (lcol != 1) fatal("Program bug 3 in csvfnd or readcv");
        state = 1;
        extra = 2;
      } else {
        state = 2;
      }
    }
  }
}

// Contents byte k (1-based) of the column of raw length lcol ending before
// iend is delivered by successive calls of next(); p walks the raw bytes.
class ContentsWalk {
 public:
  ContentsWalk(const char* bufchr, int32_t iend, int32_t lcol, char quot, bool has_esc, char esc)
      : buf_(bufchr), p_(iend - lcol - 1), last_(iend - 1), quot_(quot), has_esc_(has_esc),
        esc_(esc) {
    if (lcol > 0 && buf_[p_] == quot_) ++p_;  // the opening quote
  }
  // The scan counted the contents bytes, so the walk cannot leave the column.
  char next() {
    ++p_;
    if (has_esc_ ? buf_[p_ - 1] == esc_ : buf_[p_ - 1] == quot_) ++p_;
    if (p_ > last_) fatal("Program error in csvfnd: contents past the column");
    return buf_[p_ - 1];
  }

 private:
  const char* buf_;
  int32_t p_;     // position of the last raw byte used
  int32_t last_;  // position of the column's last raw byte
  char quot_;
  bool has_esc_;
  char esc_;
};

// csvfnd's argument tests; returns the length of the row text.
int32_t checked_text(int32_t bufmax, int32_t nbuf, int32_t term, int32_t icol, int32_t fndlt,
                     int32_t lfnd) {
  const int32_t ntext = nbuf - term;
  // A row text beyond the buffer cannot exist either.
  if (ntext < 0 || ntext > bufmax) fatal("csvfnd: Nonexisting line");
  if (icol < 0) fatal("csvfnd: Bad column to find");
  if (lfnd < 0) fatal("Program error in csvfnd: negative field length");
  if (fndlt >= 0 && fndlt > lfnd) fatal("csvfnd: Bad contents to find");
  if (fndlt < 0 && fndlt != -1 && fndlt != -9) fatal("csvfnd: Bad value for fndlt");
  return ntext;
}

// The search of csvfnd, from the column after column jcol, which ends at
// position iend (0 and 0: from the row start).
void find_from(const char* bufchr, int32_t ntext, char sep, char quot, int32_t icol,
               int32_t& fndlt, char* fnd, int32_t lfnd, int32_t& lcol, int32_t& iend,
               int32_t& jcol) {
  const bool prefix = fndlt >= 1 && fnd[fndlt - 1] == '*';
  char esc = 0;
  const bool has_esc = csv_escape(esc);
  for (;;) {
    if (iend > ntext) {
      lcol = -1;
      iend = -1;
      jcol = 0;
      return;
    }
    const int32_t extra = scan_column(bufchr, ntext, sep, quot, has_esc, esc, iend, lcol);
    ++jcol;
    if (icol > 0 && jcol < icol) continue;
    if (icol == 0 && iend <= ntext) continue;
    if (fndlt == -1) return;
    const int32_t clen = lcol - extra;
    ContentsWalk walk(bufchr, iend, lcol, quot, has_esc, esc);
    if (fndlt == -9) {
      const int32_t n = clen < lfnd ? clen : lfnd;
      for (int32_t k = 0; k < n; ++k) fnd[k] = walk.next();
      fndlt = n;
      return;
    }
    const int32_t want = prefix ? fndlt - 1 : fndlt;
    if (prefix ? clen < want : clen != want) continue;
    bool same = true;
    for (int32_t k = 0; k < want && same; ++k) same = walk.next() == fnd[k];
    if (same) return;
  }
}

}  // namespace

void csvfnd(int32_t bufmax, int32_t nbuf, const char* bufchr, int32_t term, char sep, char quot,
            int32_t icol, int32_t& fndlt, char* fnd, int32_t lfnd, int32_t& lcol, int32_t& iend,
            int32_t& jcol) {
  const int32_t ntext = checked_text(bufmax, nbuf, term, icol, fndlt, lfnd);
  iend = 0;
  jcol = 0;
  find_from(bufchr, ntext, sep, quot, icol, fndlt, fnd, lfnd, lcol, iend, jcol);
}

void csvfnd_from(int32_t ifrom, int32_t bufmax, int32_t nbuf, const char* bufchr, int32_t term,
                 char sep, char quot, int32_t icol, int32_t& fndlt, char* fnd, int32_t lfnd,
                 int32_t& lcol, int32_t& iend, int32_t& jcol) {
  const int32_t ntext = checked_text(bufmax, nbuf, term, icol, fndlt, lfnd);
  if (ifrom < 0 || ifrom > ntext + 1 || (icol <= 1) != (ifrom == 0) ||
      (ifrom > 0 && ifrom <= ntext && bufchr[ifrom - 1] != sep)) {
    fatal("Program error in csvfnd_from");
  }
  iend = ifrom;
  jcol = icol > 0 ? icol - 1 : 0;
  find_from(bufchr, ntext, sep, quot, icol, fndlt, fnd, lfnd, lcol, iend, jcol);
}
