// Phase 15: the web page zembic.htm and the text table zembic.srt.txt, where
// students find their AID string from the sort number in the grade book.
#include <cstring>
#include <string_view>

#include "fatal.h"
#include "io.h"
#include "phases.h"
#include "zembic.h"
#include "text.h"

namespace {

void html(std::initializer_list<std::string_view> pieces) {
  if (!wline(LU_HTML, pieces)) fatal("Error writing to web page zembic.htm");
}
void htmlpart(std::initializer_list<std::string_view> pieces) {
  if (!wtext(LU_HTML, pieces)) fatal("Error writing to web page zembic.htm");
}
void table(std::initializer_list<std::string_view> pieces) {
  if (!wline(LU_TABLE, pieces)) fatal("Error writing to text file zembic.srt.txt");
}
void tablepart(std::initializer_list<std::string_view> pieces) {
  if (!wtext(LU_TABLE, pieces)) fatal("Error writing to text file zembic.srt.txt");
}

// v right-aligned in `width` columns of buf.
std::string_view columns(int32_t v, int32_t width, char* buf) {
  rjust(v, buf, width);
  return {buf, static_cast<size_t>(width)};
}

constexpr std::string_view dashes74 =
    "--------------------------------------------------------------------------";

}  // namespace

void phase_webpage(RunState& r, const ProgramDesc&) {
  const int32_t rows = (r.nid + 9) / 10;
  const std::string_view cid(r.cid, r.lcid);
  char word[4];
  std::memset(word, ' ', 4);
  std::memcpy(word + 4 - r.lcid, r.cid, r.lcid);

  openw("zembic.htm", LU_HTML);
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
      char buf[3];
      htmlpart({"<td>", s < r.nid ? columns(s + 1, 3, buf) : std::string_view("   "), "</td>"});
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
  if (!close_unit(LU_HTML)) fatal("Error writing to web page zembic.htm");

  openw("zembic.srt.txt", LU_TABLE);
  table({"Please first find your \"AIDsort\" number under your grades."});
  table({"From that find your actual AID string in the table below."});
  table({"Write that AID string *instead of your name* on all your"});
  table({"assignments and homeworks.   Keep it secret."});
  table({" "});
  table({"                           Table of AID Strings:"});
  for (int32_t row = 0; row < rows; ++row) {
    const int32_t n = r.nid - 10 * row < 10 ? r.nid - 10 * row : 10;
    table({dashes74});
    tablepart({"Num:"});
    for (int32_t c = 0; c < n; ++c) {
      char buf[7];
      tablepart({columns(10 * row + c + 1, 7, buf)});
    }
    table({});
    tablepart({"AID:"});
    for (int32_t c = 0; c < n; ++c) {
      const int32_t s = 10 * row + c;
      if (r.idrecl[s] > 0) {
        tablepart({std::string_view(word, 4), std::string_view(r.idstr[s] + 1, 3)});
      } else {
        tablepart({"       "});
      }
    }
    table({});
  }
  table({dashes74});
  table({});
  if (!close_unit(LU_TABLE)) fatal("Error writing to text file zembic.srt.txt");
}
