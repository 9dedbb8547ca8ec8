// The table writer shared by the shuffled order, the first still unused
// identifiers and the text table.
#include "id_table.h"

#include <cstring>

#include "console_log.h"
#include "fatal.h"
#include "io.h"
#include "text.h"

namespace {

constexpr int32_t NPERROW = 10;  // entries per row
constexpr int32_t NWIDE = 7;     // columns per entry
constexpr int32_t LABELMAX = 5;  // "NAID:"
constexpr int32_t ROWMAX = LABELMAX + NPERROW * NWIDE;

// Columns before the identifier in an item: the class ID right-justified
// there when it leaves at least one blank in front, else blanks only.
int32_t word_columns(const IdTable& t) { return NWIDE - t.digits; }

bool cid_fits(const IdTable& t, const RunState& r) { return r.lcid < word_columns(t); }

void check(const IdTable& t, const RunState& r) {
  if (t.label.size() > static_cast<size_t>(LABELMAX) || t.digits < 1 || t.digits > 4 ||
      r.lcid < 0 || r.lcid > 3 || r.nid < 0 || r.nid > CANDMAX) {
    fatal("Program error in id_table");
  }
}

// One table row being built: the label and up to ten 7-column items.
struct Row {
  char bytes[ROWMAX];
  int32_t len;
  explicit Row(std::string_view label) : len(static_cast<int32_t>(label.size())) {
    std::memcpy(bytes, label.data(), label.size());
  }
  void number(int32_t v) {
    rjust(v, bytes + len, NWIDE);
    len += NWIDE;
  }
  // The item of candidate `cand`, or blanks for -1.
  void item(const IdTable& t, const RunState& r, int32_t cand) {
    char* at = bytes + len;
    len += NWIDE;
    std::memset(at, ' ', NWIDE);
    if (cand < 0) return;
    if (cand >= r.nid) fatal("Program error in id_table");
    const int32_t w = word_columns(t);
    if (cid_fits(t, r)) std::memcpy(at + w - r.lcid, r.cid, r.lcid);
    std::memcpy(at + w, r.idstr[cand] + 4 - t.digits, t.digits);
  }
  std::string_view text() const { return {bytes, static_cast<size_t>(len)}; }
};

void put(const TableSink& sink, std::string_view line, bool console) {
  if (sink.lunit != 0) {
    if (!wline(sink.lunit, {line})) fatal(sink.write_error);
  } else if (console) {
    conly({line});
  } else {
    lonly({line});
  }
}

// A row pair (numbers, identifiers) after its dash line: on the console and
// then in the log, or in the file.
void put_rows(const IdTable& t, const Row& nums, const Row& ids, const TableSink& sink) {
  if (!t.dashes.empty()) put(sink, t.dashes, false);
  for (const bool console : {true, false}) {
    if (sink.lunit != 0 && console) continue;
    if (t.numbers) put(sink, nums.text(), console);
    put(sink, ids.text(), console);
  }
}

void put_end(const IdTable& t, const TableSink& sink) {
  if (!t.dashes.empty()) put(sink, t.dashes, false);
}

}  // namespace

void id_table_heading(const IdTable& t, const RunState& r, std::string_view text) {
  check(t, r);
  if (cid_fits(t, r)) {
    cline({text, ":"});
  } else {
    cline({text, " (prefix \"", std::string_view(r.cid, r.lcid), "\"):"});
  }
}

void id_table_shuffled(const IdTable& t, const RunState& r, int32_t first, int32_t count,
                       const TableSink& sink) {
  check(t, r);
  if (count < 0 || (count > 0 && (first < 0 || first + count > r.nid))) {
    fatal("Program error in id_table");
  }
  for (int32_t row = 0; row * NPERROW < count; ++row) {
    Row nums("Num:");
    Row ids(t.label);
    for (int32_t c = 0; c < NPERROW && row * NPERROW + c < count; ++c) {
      const int32_t cand = r.idorg[first + row * NPERROW + c];
      if (cand < 0 || cand >= r.nid) fatal("Program error in id_table");
      nums.number(cand + 1);
      ids.item(t, r, cand);
    }
    put_rows(t, nums, ids, sink);
  }
  put_end(t, sink);
}

void id_table_sorted(const IdTable& t, const RunState& r, const TableSink& sink) {
  check(t, r);
  for (int32_t row = 0; row * NPERROW < r.nid; ++row) {
    Row nums("Num:");
    Row ids(t.label);
    for (int32_t c = 0; c < NPERROW && row * NPERROW + c < r.nid; ++c) {
      const int32_t s = row * NPERROW + c;
      nums.number(s + 1);
      ids.item(t, r, r.idrecl[s] > 0 ? s : -1);
    }
    put_rows(t, nums, ids, sink);
  }
  put_end(t, sink);
}
