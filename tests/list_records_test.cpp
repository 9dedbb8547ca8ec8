#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "io.h"
#include "list_records.h"
#include "notes_column.h"
#include "outbuf.h"
#include "phases.h"
#include "run_state.h"
#include "text.h"
#include "unit_helpers.h"
#include "varlon.h"
#include "zembic.h"

namespace {

RunState st;

void set_text(char* field, int32_t& len, const std::string& s) {
  std::memcpy(field, s.data(), s.size());
  len = static_cast<int32_t>(s.size());
}

// A run state with the candidate " B5P" at index 16 (sort number 17).
void reset(const std::string& cid = "") {
  std::memset(&st, 0, sizeof st);
  std::memset(st.argt, ' ', sizeof st.argt);
  set_text(st.argt[0], st.argtl[0], "roster.csv");
  st.argt[4][0] = ',';
  st.argtl[4] = 1;
  st.argt[5][0] = '"';
  st.argtl[5] = 1;
  cmenc.esc = -1;
  set_text(st.cid, st.lcid, cid);
  set_text(st.dom0, st.ldom0, "@");
  st.nid = 232;
  for (int32_t i = 0; i < 232; ++i) std::memcpy(st.idstr[i], " AAA", 4);
  std::memcpy(st.idstr[16], " B5P", 4);
  st.id0 = 16;
  st.csv = 1;
}

// Kept out of line: inlined into callers that pass temporaries, g++ 12 gives a
// false out-of-bounds warning for the copy.
[[gnu::noinline]] void set_row(const std::string& row, int32_t term) {
  std::copy(row.begin(), row.end(), st.bufchr);
  st.nbuf = static_cast<int32_t>(row.size());
  st.term = term;
}

std::string record() { return std::string(st.idrec[16], st.idrecl[16]); }

// True when s decodes as UTF-8 from start to end.
bool utf8(const std::string& s) {
  int32_t i = 0, ucs = 0;
  do rutf8(s.data(), static_cast<int32_t>(s.size()), i, ucs);
  while (ucs >= 0);
  return ucs == -1;
}

// Builds the record of the current row in a scratch folder; returns the
// console text.
Captured build_record(const ProgramDesc& d = zembic_desc) {
  Captured c;
  in_temp_folder([&] {
    c = capture([&] {
      lists_open(st, d);
      list_record(st, d);
    });
    close_unit(LU_NAMES);
    close_unit(LU_IDLIST);
  });
  return c;
}

void canvas(const std::string& name, const std::string& login, const std::string& root) {
  st.canvas = 1;
  st.col_student = 1;
  st.col_login = 2;
  st.col_root = 3;
  set_row("\"" + name + "\"," + login + "," + root + "\r\n", 2);
}

TEST(ListRecord, CanvasRootAccountPicksTheDomain) {
  reset("x");
  canvas("Doe, Jane", "jd12", ROOT_HOST2);
  Captured c = build_record();
  EXPECT_EQ(record(), std::string(" AID=xB5P: Doe, Jane (jd12") + ROOT_DOMAIN2 + ")");
  EXPECT_EQ(c.log, record() + "\n");

  reset();
  canvas("Doe, Jane", "jd12", "Other.Host");  // unknown host: the default domain
  build_record();
  EXPECT_EQ(record(), " AID=B5P: Doe, Jane (jd12@)");
}

TEST(ListRecord, CanvasMissingLoginAndRootGoToTheConsoleOnly) {
  reset();
  canvas("Doe, Jane", "", "");
  Captured c = build_record();
  EXPECT_EQ(record(), " AID=B5P: Doe, Jane (@)");
  EXPECT_EQ(c.console, " ** Missing Login ID!\n ** Missing Root Account!\n" + record() + "\n");
  EXPECT_EQ(c.log, record() + "\n");
}

TEST(ListRecord, BlackboardNameAndMissingFields) {
  reset("x");
  st.bb = 1;
  st.col_last_name = 1;
  st.col_first_name = 2;
  st.col_username = 3;
  set_text(st.dom0, st.ldom0, "@uni.example.edu");
  set_row("Doe\tJane\tjd12\r\n", 2);
  st.argt[4][0] = '\t';
  build_record();
  EXPECT_EQ(record(), " AID=xB5P: Doe, Jane (jd12@uni.example.edu)");

  set_row("Doe\t \tjd12\r\n", 2);
  Captured c = build_record();
  EXPECT_TRUE(c.fataled);
  EXPECT_EQ(c.log, "*** Missing student first name in roster.csv!\n");

  // A cell's first 256 bytes end before a character that they would split.
  set_row(std::string(255, ' ') + "\xC3\xA9mile\tAnn\tjd12\r\n", 2);
  c = build_record();
  EXPECT_EQ(c.log, "*** Missing student last name in roster.csv!\n");
  set_row(std::string(255, ' ') + "\xE9\xA0mile\tAnn\tjd12\r\n", 2);  // 8-bit text
  build_record();
  EXPECT_EQ(record(), " AID=xB5P: \xE9, Ann (jd12@uni.example.edu)");
}

TEST(ListRecord, FittingRules) {
  struct Case {
    std::string cid;
    int name, login;
    std::string dom;
    int want_name, want_login, want_len;
  };
  const Case cases[] = {
      {"", 70, 5, "@", 60, 5, 79},        // the name gives up the excess
      {"abc", 60, 8, "@1234567890", 50, 8, 85},  // name to 50, record above 79
      {"", 20, 200, "@", 20, 121, 155},   // the login is cut last
      {"", 30, 10, "@", 30, 10, 54},      // short records stay as they are
  };
  for (const Case& k : cases) {
    reset(k.cid);
    set_text(st.dom0, st.ldom0, k.dom);
    canvas(std::string(k.name, 'n'), std::string(k.login, 'l'), "");
    st.col_root = 0;
    build_record();
    std::string want_name = std::string(k.want_name, 'n');
    if (k.want_name < k.name) want_name.replace(k.want_name - 3, 3, "...");
    std::string want_login = std::string(k.want_login, 'l');
    if (k.want_login < k.login) want_login.replace(k.want_login - 3, 3, "...");
    EXPECT_EQ(record(), " AID=" + k.cid + "B5P: " + want_name + " (" + want_login + k.dom + ")");
    EXPECT_EQ(st.idrecl[16], k.want_len);
  }
}

TEST(ListRecord, CutsNeverSplitACharacter) {
  for (const ProgramDesc* d : {&zembic_desc, &varlon_desc}) {
    const int p = d == &zembic_desc ? 10 : 12;  // prefix without a class ID
    for (const std::string ch : {"\xC3\xAD", "\xE2\x82\xAC", "\xF0\x9F\x98\x80"}) {
      for (int o = 1; o < static_cast<int>(ch.size()); ++o) {  // bytes of ch before the cut
        const auto across = [&](int n, char f, int at) {
          return std::string(n, f).replace(at - o, ch.size(), ch);
        };
        // A field and what the record keeps of it: kept bytes of ch become dots too.
        const auto field = [&](int n, char f, int keep) {
          if (n == keep) return std::pair{std::string(n, f), std::string(n, f)};
          const std::string dots(o + 3, '.');
          return std::pair{across(n, f, keep - 3), std::string(keep - 3 - o, f) + dots};
        };
        // Class ID length, name and login bytes, and the bytes fitting keeps of them.
        const int fits[][5] = {
            {0, 70, 5, 70 - p, 5}, {3, 80, 20, 50, 20}, {0, 20, 200, 20, 131 - p}};
        for (const auto& k : fits) {
          reset(std::string("abc", k[0]));
          const auto [name, want_name] = field(k[1], 'n', k[3]);
          const auto [login, want_login] = field(k[2], 'l', k[4]);
          canvas(name, login, "");
          st.col_root = 0;
          const Captured c = build_record(*d);
          EXPECT_EQ(record().substr(p + k[0]), want_name + " (" + want_login + "@)");
          EXPECT_TRUE(utf8(c.log));
        }
        // A row cut at 155 bytes and shown up to 79 ends before the character.
        reset();
        std::string row = across(300, 'r', 155 - p);
        row.replace(79 - p - o, ch.size(), ch);
        set_row(row + "\n", 1);
        const Captured c = build_record(*d);
        EXPECT_EQ(record().substr(p), row.substr(0, 155 - p - o));
        EXPECT_EQ(c.log, record().substr(0, 79 - o) + "\n");
      }
    }
    // The first 256 bytes of a name or login cell.
    reset();
    canvas(std::string(250, ' ') + "Ann L\xC3\xA9" "e", std::string(253, ' ') + "ab\xE2\x82\xAC",
           "");
    st.col_root = 0;
    build_record(*d);
    EXPECT_EQ(record().substr(p), "Ann L (ab@)");
    // Windows-1252 "\xE9" and a no-break space: the name keeps its bytes.
    reset();
    canvas(std::string(69 - p, 'n') + "\xE9\xA0" + std::string(20, 'n'), "ab", "");
    st.col_root = 0;
    build_record(*d);
    EXPECT_EQ(record().substr(p), std::string(69 - p, 'n') + "\xE9... (ab@)");
    reset();  // Latin-1 text is cut at 155 bytes
    set_row(std::string(300, '\xFC') + "\n", 1);
    build_record(*d);
    EXPECT_EQ(record().substr(p), std::string(155 - p, '\xFC'));
  }
}

TEST(ListRecord, RandomNamesAndLoginsStayUtf8AndGetTheFittedLength) {
  std::mt19937 gen(20261209);
  const std::string pieces[] = {"a", "Z", "\xC3\xA9", "\xC4\x9F", "\xE2\x82\xAC", "\xE1\xBB\x87",
                                "\xF0\x9F\x98\x80", "\xF0\x9D\x84\x9E"};
  const auto text = [&](size_t max) {
    std::string t;
    for (const size_t n = gen() % max; t.size() < n;) t += pieces[gen() % 8];
    return t;
  };
  for (const ProgramDesc* d : {&zembic_desc, &varlon_desc}) {
    for (int lcid = 0; lcid <= 3; ++lcid) {
      reset(std::string("xyz", lcid));
      const int p = (d == &zembic_desc ? 10 : 12) + lcid;
      set_text(st.dom0, st.ldom0, "@" + std::string(gen() % 20, 'd'));
      int want[232];
      std::string names;
      Captured c;
      in_temp_folder([&] {
        c = capture([&] {
          lists_open(st, *d);
          for (st.id0 = 0; st.id0 < 232; ++st.id0) {
            const std::string name = "N" + text(150), login = text(200);
            canvas(name, login, "");
            st.col_root = 0;
            const int n = static_cast<int>(name.size());
            const int tot = p + n + static_cast<int>(login.size()) + st.ldom0 + 3;
            want[st.id0] = tot <= 79         ? tot
                           : n - 50 >= tot - 79 ? 79
                                                : std::min(tot - std::max(n - 50, 0), 155);
            list_record(st, *d);
          }
          lists_close(st, *d);
        });
        names = get_file(std::string(d->namfile));
      });
      EXPECT_TRUE(utf8(names) && utf8(c.console) && utf8(c.log));
      for (int s = 0; s < 232; ++s) EXPECT_EQ(st.idrecl[s], want[s]) << s;
    }
  }
}

TEST(ListRecord, LoginThatCannotGiveUpTheExcessEndsTheRun) {
  reset();
  set_text(st.dom0, st.ldom0, "@" + std::string(150, 'd'));
  canvas("Doe, Jane", "jd12", "");
  st.col_root = 0;
  Captured c = build_record();
  EXPECT_TRUE(c.fataled);
  EXPECT_EQ(c.log, "*** Program error 2330A!\n");
  EXPECT_LE(st.idrecl[16], RECMAX);
}

TEST(ListRecord, OtherRowsAreCutAndControlBytesShown) {
  reset("ab");
  set_row(std::string(300, 'r') + "\n", 1);
  build_record();
  EXPECT_EQ(record(), " AID=abB5P: " + std::string(143, 'r'));

  reset();
  set_row("\x1f" "a\tb\x7f\n", 1);
  build_record();
  EXPECT_EQ(record(), " AID=B5P: ?a?b?");

  reset();
  st.csv = 0;  // a plain text line keeps the byte 127
  set_row("\x1f" "a\tb\x7f\n", 1);
  build_record();
  EXPECT_EQ(record(), " AID=B5P: ?a?b\x7f");
}

TEST(ListFiles, IdentifierListInSortOrderWithSortNumber) {
  reset("x");
  st.canvas = 1;
  std::string names, ids;
  in_temp_folder([&] {
    Captured c = capture([] {
      lists_open(st, zembic_desc);
      std::memcpy(st.idstr[3], " A6S", 4);
      for (int32_t id : {16, 3}) {
        st.id0 = id;
        st.col_student = 1;
        set_row(id == 16 ? "Zed\n" : "Amy\n", 1);
        list_record(st, zembic_desc);
      }
      lists_close(st, zembic_desc);
    });
    EXPECT_FALSE(c.fataled) << c.console;
    names = get_file("zembic.nam.txt");
    ids = get_file("zembic.aid.txt");
  });
  EXPECT_EQ(names, " AID=xA00: Ideal Student (instructor email)\n"
                   " AID=xB5P: Zed (@)\n"
                   " AID=xA6S: Amy (@)\n");
  EXPECT_EQ(ids, " AID=xA00:   0 Ideal Student (instructor email)\n"
                 " AID=xA6S:   4 Amy (@)\n"
                 " AID=xB5P:  17 Zed (@)\n");
}

TEST(NotesColumn, ResizePrefillAndFill) {
  reset();
  st.colnot = 2;
  st.ncolf = 4;
  set_row("a,,c\n", 1);
  st.ipos = 4;
  capture([] { notes_prefill(st, zembic_desc); });
  EXPECT_EQ(std::string(st.bufchr, st.nbuf), "a,A00 000,c\n");
  EXPECT_EQ(st.ipos, 11);
  notes_fill(st, zembic_desc);
  EXPECT_EQ(std::string(st.bufchr, st.nbuf), "a,B5P 017,c\n");

  // A longer quoted cell shrinks; with forced quoting the text is quoted.
  reset();
  st.colnot = 2;
  st.ncolf = 1;
  st.doquot = 1;
  set_row("a,\"a long note\",c\r\n", 2);
  st.ipos = 0;
  st.id0 = 231;
  std::memcpy(st.idstr[231], " YZS", 4);
  capture([] { notes_prefill(st, zembic_desc); });
  notes_fill(st, zembic_desc);
  EXPECT_EQ(std::string(st.bufchr, st.nbuf), "a,\"YZS 232\",c\r\n");
  EXPECT_EQ(st.ipos, 0);
}

TEST(NotesColumn, LostColumnAndOverflow) {
  reset();
  st.colnot = 4;
  set_row("a,b\n", 1);
  Captured c = capture([] { notes_prefill(st, zembic_desc); });
  EXPECT_EQ(c.log, "*** Lost Notes column in roster.csv!\n");

  reset();
  st.colnot = 1;
  set_row(std::string(BUFMAX - 3, 'x') + "\n", 1);
  st.bufchr[0] = ',';
  c = capture([] { notes_prefill(st, zembic_desc); });
  EXPECT_EQ(c.log, "*** Out of record storage!\n");
}

void closing_state() {
  reset();
  std::memcpy(st.stamp, "20261207 030508.123 +0100", 25);
  for (int32_t i = 0; i < 232; ++i) st.idorg[i] = i;
  st.idlim = 232;
  st.idused = 0;
  st.idpos = 2;
  st.idnew = 3;
  st.nrec = 4;
  st.nhead = 1;
  st.seed = 5;
  st.new_ = 1;
}

TEST(Closing, RecordGoesOnALineOfItsOwn) {
  closing_state();
  std::string lcs;
  in_temp_folder([&] {
    put_file("zembic.lcs", "New: 232, 0, 5");  // hand-written, no line end
    st.lcsex = 1;
    Captured c = capture([] { phase_closing(st, zembic_desc); });
    EXPECT_FALSE(c.fataled);
    lcs = get_file("zembic.lcs");
  });
  EXPECT_EQ(lcs, "New: 232, 0, 5\n20261207 030508 Limit, Used, and Seed: 232, 3, 5\n");
}

TEST(Closing, FailedAppendIsReported) {
  closing_state();
  in_temp_folder([&] {
    std::filesystem::create_directory("zembic.lcs");  // appeared after it was looked for
    st.lcsex = 0;
    Captured c = capture([] { phase_closing(st, zembic_desc); });
    EXPECT_TRUE(c.fataled);
    EXPECT_EQ(c.log.substr(c.log.rfind("***")),
              "*** Error writing to last count and seed file zembic.lcs!\n");
  });
}

TEST(WebPage, FolderInPlaceOfThePage) {
  closing_state();
  in_temp_folder([&] {
    std::filesystem::create_directory("zembic.htm");
    Captured c = capture([] { phase_webpage(st, zembic_desc); });
    EXPECT_TRUE(c.fataled);
    EXPECT_EQ(c.log, "*** Unable to replace old file zembic.htm!\n");
  });
}

}  // namespace
