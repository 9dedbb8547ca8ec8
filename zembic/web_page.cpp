// Phase 15: the web page zembic.htm and the text table zembic.srt.txt, where
// students find their AID string from the sort number in the grade book.
#include <initializer_list>
#include <string_view>

#include "fatal.h"
#include "id_table.h"
#include "io.h"
#include "phases.h"
#include "text.h"
#include "zembic.h"

namespace {

// The class ID as page text: "&", "<" and ">" become entities, so that a
// browser shows them instead of reading them as markup. Each byte gives at
// most five.
constexpr size_t kPageCid = 5 * sizeof(RunState::cid);
std::string_view page_text(std::string_view cid, char (&buf)[kPageCid]) {
  size_t n = 0;
  for (const char c : cid) {
    const std::string_view e = c == '&'   ? "&amp;"
                               : c == '<' ? "&lt;"
                               : c == '>' ? "&gt;"
                                          : std::string_view(&c, 1);
    e.copy(buf + n, e.size());
    n += e.size();
  }
  return {buf, n};
}

// The web page: a row of sort numbers and a row of AID strings (underscores
// for one not met in this input file) for every ten candidates.
void web_page(const RunState& r, const ProgramDesc& d) {
  auto html = [&](std::initializer_list<std::string_view> pieces) {
    if (!wline(LU_HTML, pieces)) fatal(d.htmerr);
  };
  auto htmlpart = [&](std::initializer_list<std::string_view> pieces) {
    if (!wtext(LU_HTML, pieces)) fatal(d.htmerr);
  };
  const int32_t rows = (r.nid + 9) / 10;
  char cidbuf[kPageCid];
  const std::string_view cid = page_text(std::string_view(r.cid, r.lcid), cidbuf);
  openw(d.htmfile, LU_HTML);
  html({"<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">"});
  html({"<html>"});
  html({"<head><title>Find Your AID String from its Sort Number</title></head>"});
  html({"<body>"});
  html({"<h1 align=\"center\">Find Your AID String from its Sort Number</h1>"});
  html({"<table width=\"100%\" border=0 cellpadding=0 cellspacing=0>"});
  html({"<tbody align=center>"});
  const std::string_view unders("______", r.lcid + 3);
  const std::string_view blanks("      ", r.lcid + 3);
  for (int32_t row = 0; row < rows; ++row) {
    if (row > 0) html({"<tr><td colspan=10><hr></td></tr>"});
    htmlpart({"<tr>"});
    for (int32_t c = 0; c < 10; ++c) {
      const int32_t s = 10 * row + c;
      char buf[12];
      htmlpart({"<td>", s < r.nid ? num_text(s + 1, buf, 3) : std::string_view("   "), "</td>"});
    }
    html({"</tr>"});
    htmlpart({"<tr>"});
    for (int32_t c = 0; c < 10; ++c) {
      const int32_t s = 10 * row + c;
      if (s >= r.nid) {
        htmlpart({"<td>", blanks, "</td>"});
      } else if (r.idrecl[s] > 0) {
        htmlpart({"<td>", cid, std::string_view(r.idstr[s] + 1, 3), "</td>"});
      } else {
        htmlpart({"<td>", unders, "</td>"});
      }
    }
    html({"</tr>"});
  }
  html({"</tbody>"});
  html({"</table>"});
  html({"</body>"});
  html({"</html>"});
  if (!close_unit(LU_HTML)) fatal(d.htmerr);
}

// The text table: instructions, then the sort numbers and AID strings ten a
// row between dash lines.
void text_table(const RunState& r, const ProgramDesc& d) {
  auto table = [&](std::initializer_list<std::string_view> pieces) {
    if (!wline(LU_TABLE, pieces)) fatal(d.srterr);
  };
  openw(d.srtfile, LU_TABLE);
  table({"Please first find your \"AIDsort\" number under your grades."});
  table({"From that find your actual AID string in the table below."});
  table({"Write that AID string *instead of your name* on all your"});
  table({"assignments and homeworks.   Keep it secret."});
  table({" "});
  table({"                           Table of AID Strings:"});
  id_table_sorted(AID_TABLE, r, {LU_TABLE, d.srterr});
  table({});
  if (!close_unit(LU_TABLE)) fatal(d.srterr);
}

}  // namespace

void phase_webpage(RunState& r, const ProgramDesc& d) {
  web_page(r, d);
  text_table(r, d);
}
