// Whole runs of varlon from end to end: the NAID shuffle table, the student
// pass with its Notes cells and re-run cells, both list files, the first
// still unused NAIDs, the summary and the limit-count-seed record (run stamp
// masked, fixed seed).
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "e2e_harness.h"
#include "varlon_expect.h"

namespace {

using namespace vexpect;

std::string pad79(const std::string& s) { return s + std::string(79 - s.size(), ' '); }

Expect started() {
  Expect e;
  expect::start(e);
  return e;
}

// The front of a re-run up to the candidate phase; lcs is the file's last
// record as written.
void rerun_front(Expect& e, const Plan& p, const std::string& fin, const std::string& lcs) {
  readback(e, p.cls, p.cid);
  e.both("Reading file varlon.lcs");
  e.both(mask_stamp(pad79(lcs.substr(0, lcs.size() - 1))));
  rerun_dialog(e, fin, p.idused);
  e.both("Reading file " + fin);
  e.both("");
}

std::string lcs_line(int lim, int used, int32_t seed) {
  return "ccyymmdd hhmmss Limit, Used, and Seed: " + std::to_string(lim) + ", " +
         std::to_string(used) + ", " + std::to_string(seed) + "\n";
}

void expect_run(const RunResult& r, const Expect& e, int status = 0) {
  EXPECT_EQ(r.status, status) << r.console;
  EXPECT_EQ(mask_stamp(r.console), e.console);
  EXPECT_EQ(mask_stamp(r.file("varlon.log")), e.log);
}

// --- Canvas, Notes right of Section, class ID 12 -----------------------------

const std::string kCanvasHead =
    "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,Quiz 1,Notes,Quiz 2\r\n"
    "    Points Possible,,,,,,10.00,,10.00\r\n";

struct CanvasStudent {
  std::string name, login, root, before_notes, notes;  // notes: the raw cell
  std::string domain;                                  // the list record's domain
};

std::string canvas_row(const CanvasStudent& s, const std::string& notes, const std::string& tail) {
  return "\"" + s.name + "\",1" + std::to_string(s.name.size()) + ",S" + s.login + "," + s.login +
         "," + s.root + ",BIO 101," + s.before_notes + "," + notes + "," + tail + "\r\n";
}

const std::vector<CanvasStudent> kCanvasClass = {
    {"Abara, Chinedu", "cabara", ROOT_HOST1, "8.00", "", ROOT_DOMAIN1},
    {"Berg, Lina", "lberg", ROOT_HOST2, "7.00", "\"late, excused\"", ROOT_DOMAIN2},
    {"Costa, Rui", "rcosta", "other.example.org", "", "a longer note than four", "@"},
    {"Dahl, Ines", "", ROOT_HOST1, "5.00", "x", ROOT_DOMAIN1},
};
const std::vector<CanvasStudent> kJoiners = {
    {"Eze, Ada", "aeze", ROOT_HOST1, "", "", ROOT_DOMAIN1},
    {"Fox, Bo", "bfox", ROOT_HOST1, "", "", ROOT_DOMAIN1},
    {"Gil, Cy", "cgil", ROOT_HOST2, "", "", ROOT_DOMAIN2},
};

std::string canvas_record(const Plan& p, int k, const CanvasStudent& s) {
  return record(p, k, s.name + " (" + s.login + s.domain + ")");
}

// Each student's record during the pass (a missing login noted on the console
// alone), kept by NAID for the lists.
void pass_record(Expect& e, std::map<std::string, std::string>& recs, std::string& names,
                 const Plan& p, int k, const CanvasStudent& s) {
  if (s.login.empty()) e.con(" ** Missing Login ID!");
  const std::string rec = canvas_record(p, k, s);
  e.both(rec.substr(0, 79));
  names += rec + "\n";
  recs[p.at(k)] = rec;
}

TEST(VarlonPass, CanvasFirstRunAndRerunWithCellsInOtherForms) {
  Plan p = plan(3, "12", 4242);
  std::string in = kCanvasHead;
  for (const auto& s : kCanvasClass) in += canvas_row(s, s.notes, "9.00");
  RunResult r1 = run_in_folder(VARLON_BIN, {.args = {"-", "-", "-", "-", "-", "-", "4242"},
                                            .files = {{"varlon.csv", in}},
                                            .keyboard = "3\n12\n"});
  Expect e = started();
  expect::canvas_options(e);
  digit_dialog(e, 0);
  class_id_intro(e);
  e.prompt(kNaidClassIdPrompt);
  readback(e, 3, "12");
  e.both("Reading file varlon.csv");
  e.both("");
  naid_report(e, 3);
  shuffle_table(e, p);
  // The Notes cell holds the bare NAID, the new column after it the class ID
  // and the NAID; Quiz 2 goes (Canvas kill).
  std::string out =
      "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,Quiz 1,Notes,NAID\r\n"
      "    Points Possible,,,,,,10.00,,0.00\r\n";
  std::string names = " NAID=121000: Ideal Student (instructor email)\n";
  std::map<std::string, std::string> recs;
  for (int k = 0; k < 4; ++k) {
    out += canvas_row(kCanvasClass[k], p.at(k), "12" + p.at(k));
    pass_record(e, recs, names, p, k, kCanvasClass[k]);
  }
  const std::string ids = lists(e, p, recs, true);
  closing(e, p, 3, 4);
  expect_finished(r1, e, "new_varlon.csv", out, names, ids);
  EXPECT_EQ(mask_stamp(r1.file("varlon.lcs")), lcs_line(313, 4, 4242));
  EXPECT_EQ(r1.file("varlon.cid"), "3\n12  \n");

  // Re-run after three students joined (one of them in the middle); the
  // grade book has rewritten three NAID cells in other forms, and a note
  // was typed over a Notes cell.
  p.idused = 4;
  const std::string n0 = "0012" + p.at(0);
  const std::string n1 = "12" + p.at(1) + ".00";
  const std::string n2 = "\"12" + p.at(2).substr(0, 1) + "," + p.at(2).substr(1) + "\"";
  std::string in2 =
      "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,Quiz 1,Notes,NAID\r\n"
        "    Points Possible,,,,,,10.00,,0.00\r\n";
  const std::vector<std::pair<const CanvasStudent*, std::string>> roster2 = {
      {&kCanvasClass[0], n0}, {&kJoiners[0], ""},           {&kCanvasClass[1], n1},
      {&kCanvasClass[2], n2}, {&kCanvasClass[3], "12" + p.at(3)}, {&kJoiners[1], ""},
      {&kJoiners[2], ""}};
  std::string out2 = in2;
  for (size_t i = 0; i < roster2.size(); ++i) {
    const CanvasStudent& s = *roster2[i].first;
    in2 += canvas_row(s, i == 0 ? "abc" : "", roster2[i].second);
  }
  RunResult r2 = run_in_folder(VARLON_BIN, {.files = {{"varlon.csv", in2},
                                                      {"varlon.cid", r1.file("varlon.cid")},
                                                      {"varlon.lcs", r1.file("varlon.lcs")}},
                                            .keyboard = "C\n"});
  Expect e2 = started();
  expect::canvas_options(e2);
  rerun_front(e2, p, "varlon.csv", r1.file("varlon.lcs"));
  naid_report(e2, 3);
  shuffle_table(e2, p);
  std::string names2 = " NAID=121000: Ideal Student (instructor email)\n";
  std::map<std::string, std::string> recs2;
  int joined = 0;
  for (const auto& [s, cell] : roster2) {
    const bool joiner = cell.empty();
    int k = 0;
    if (joiner) {
      k = 4 + joined++;
    } else {
      while (&kCanvasClass[k] != s) ++k;
    }
    // Kept cells stay as written; the Notes cell is refreshed.
    out2 += canvas_row(*s, p.at(k), joiner ? "12" + p.at(k) : cell);
    pass_record(e2, recs2, names2, p, k, *s);
  }
  const std::string ids2 = lists(e2, p, recs2, true);
  closing(e2, p, 6, 7);
  expect_finished(r2, e2, "new_varlon.csv", out2, names2, ids2);
  EXPECT_EQ(mask_stamp(r2.file("varlon.lcs")), lcs_line(313, 4, 4242) + lcs_line(313, 7, 4242));
}

// --- Blackboard, UTF-16LE, 3-character class ID --------------------------------

// UTF-16LE with its byte-order mark, from UTF-8 text of the Basic
// Multilingual Plane.
std::string utf16le(const std::string& u8) {
  std::string out = "\xFF\xFE";
  for (size_t i = 0; i < u8.size();) {
    const unsigned char c = static_cast<unsigned char>(u8[i]);
    unsigned cp = c;
    int n = 1;
    if (c >= 0xE0) {
      cp = c & 0x0F;
      n = 3;
    } else if (c >= 0xC0) {
      cp = c & 0x1F;
      n = 2;
    }
    for (int k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<unsigned char>(u8[i + k]) & 0x3F);
    i += n;
    out += static_cast<char>(cp & 0xFF);
    out += static_cast<char>(cp >> 8);
  }
  return out;
}

struct BbStudent {
  std::string last, first, user;
};

std::string bb_row(const BbStudent& s, const std::string& naid) {
  return s.last + "\t" + s.first + "\t" + s.user + "\t9" + std::to_string(s.user.size()) +
         "\t2026-11-30\tAvailable\t" + naid + "8\r\n";
}

TEST(VarlonPass, BlackboardUtf16FirstRunAndRerunWithAThreeCharacterClassId) {
  Plan p = plan(5, "12.", -77);
  const std::vector<BbStudent> cls = {
      {"Lee", "Ann", "alee"}, {"Müller", "Jürgen", "jmuller"}, {"Ngo", "Bao", "bngo"}};
  const std::string head1 =
      "Last Name\tFirst Name\tUsername\tStudent ID\tLast Access\tAvailability\t";
  std::string in = head1 + "Quiz 1\r\n";
  for (const auto& s : cls) in += bb_row(s, "");
  const std::map<std::string, std::string> folder = {
      {"varlon.cid", "5\n12.\n"}, {"email.txt", "@uni.example.edu\n"}};
  std::map<std::string, std::string> files1 = folder;
  files1["varlon.xls"] = utf16le(in);
  RunResult r1 =
      run_in_folder(VARLON_BIN, {.args = {"-", "-", "-", "-", "-", "-", "-77"}, .files = files1});

  auto front = [&](Expect& e) {
    e.both(" ** WARNING: Expecting a Blackboard XLS file as this program knows it.");
    e.both("");
    e.both("Default e-mail domain from file email.txt: ");
    e.both("@uni.example.edu");
    e.both("");
  };
  auto opened = [&](Expect& e) {
    e.both(" ** Warning: UTF-16LE file: varlon.xls");
    e.both("");
    naid_report(e, 5);
    shuffle_table(e, p);
  };
  const std::string ideal = " NAID=12.1000: Ideal Student (instructor email)\n";
  Expect e = started();
  front(e);
  readback(e, 5, "12.");
  e.both("Reading file varlon.xls");
  e.both("");
  opened(e);
  // The identifier column follows Availability, its cells quoted (the
  // default in Blackboard mode); Quiz 1 stays.
  std::string out = head1 + "\"NAID\"\tQuiz 1\r\n";
  std::string names = ideal;
  std::map<std::string, std::string> recs;
  for (int k = 0; k < 3; ++k) {
    const BbStudent& s = cls[k];
    out += bb_row(s, "\"12." + p.at(k) + "\"\t");
    const std::string rec =
        record(p, k, s.last + ", " + s.first + " (" + s.user + "@uni.example.edu)");
    e.both(rec);
    names += rec + "\n";
    recs[p.at(k)] = rec;
  }
  const std::string ids = ideal + lists(e, p, recs, false);
  closing(e, p, 2, 3);
  expect_finished(r1, e, "new_varlon.xls", utf16le(out), names, ids);
  EXPECT_EQ(mask_stamp(r1.file("varlon.lcs")), lcs_line(296, 3, -77));

  // Re-run with one more student, from the output of the first run.
  p.idused = 3;
  const BbStudent joiner = {"Abe", "Kai", "kabe"};
  std::map<std::string, std::string> files2 = folder;
  files2["varlon.xls"] = utf16le(out + bb_row(joiner, "\t"));
  files2["varlon.lcs"] = r1.file("varlon.lcs");
  RunResult r2 = run_in_folder(VARLON_BIN, {.files = files2, .keyboard = "c\n"});
  Expect e2 = started();
  front(e2);
  rerun_front(e2, p, "varlon.xls", r1.file("varlon.lcs"));
  opened(e2);
  for (int k = 0; k < 3; ++k) e2.both(recs[p.at(k)]);
  const std::string rec = record(p, 3, "Abe, Kai (kabe@uni.example.edu)");
  e2.both(rec);
  recs[p.at(3)] = rec;
  const std::string ids2 = ideal + lists(e2, p, recs, false);
  closing(e2, p, 3, 4);
  expect_finished(r2, e2, "new_varlon.xls",
                  utf16le(out + bb_row(joiner, "\"12." + p.at(3) + "\"\t")), names + rec + "\n",
                  ids2);
}

// --- Plain text ------------------------------------------------------------------

// A first run gives every line (the empty one too) the class ID and a NAID in
// front; the re-run keeps them, and a line whose NAID no run handed out gets
// a new one in front of it.  The records hold the lines as read: a Tab shows
// as "?", a DEL byte stays.
TEST(VarlonPass, PlainTextFirstRunAndRerun) {
  Plan p = plan(9, "7", 99);
  const std::vector<std::string> roster = {"Ann Lee", "Bo\tKim", "Cy\x7f Day", ""};
  std::string in, out;
  for (const auto& l : roster) in += l + "\n";
  RunResult r1 = run_in_folder(
      VARLON_BIN, {.args = {"-", "-", "-", "-", "-", "-", "99"},
                   .files = {{"varlon.txt", in}, {"varlon.cid", "9\n7\n"}}});
  auto front = [&](Expect& e) {
    naid_report(e, 9);
    shuffle_table(e, p);
  };
  Expect e = started();
  e.both("");
  readback(e, 9, "7");
  e.both("Reading file varlon.txt");
  e.both("");
  front(e);
  std::string names;
  std::map<std::string, std::string> recs;
  auto pass = [&](Expect& ex, int k, const std::string& line) {
    std::string body = line;
    for (char& c : body) c = c == '\t' ? '?' : c;
    const std::string rec = record(p, k, body);
    ex.both(rec);
    names += rec + "\n";
    recs[p.at(k)] = rec;
  };
  for (int k = 0; k < 4; ++k) {
    out += "7" + p.at(k) + ": " + roster[k] + "\n";
    pass(e, k, roster[k]);
  }
  const std::string ids = lists(e, p, recs, false);
  closing(e, p, 3, 4);
  expect_finished(r1, e, "new_varlon.txt", out, names, ids);

  p.idused = 4;
  const std::string stranger = "7" + p.at(5) + ": Zed";  // position 5 was never handed out
  const std::string in2 = out + stranger + "\nEve";        // the last line has no line end
  RunResult r2 = run_in_folder(VARLON_BIN, {.files = {{"varlon.txt", in2},
                                                      {"varlon.cid", "9\n7\n"},
                                                      {"varlon.lcs", r1.file("varlon.lcs")}},
                                            .keyboard = "C\n"});
  Expect e2 = started();
  e2.both("");
  rerun_front(e2, p, "varlon.txt", r1.file("varlon.lcs"));
  front(e2);
  names.clear();
  recs.clear();
  for (int k = 0; k < 4; ++k) pass(e2, k, "7" + p.at(k) + ": " + roster[k]);
  pass(e2, 4, stranger);
  pass(e2, 5, "Eve");
  const std::string ids2 = lists(e2, p, recs, false);
  closing(e2, p, 5, 6);
  expect_run(r2, e2);
  EXPECT_EQ(r2.file("new_varlon.txt"),
            out + "7" + p.at(4) + ": " + stranger + "\n7" + p.at(5) + ": Eve");
  EXPECT_EQ(r2.file("varlon.nam.txt"), names);
  EXPECT_EQ(r2.file("varlon.aid.txt"), ids2);
  EXPECT_EQ(mask_stamp(r2.file("varlon.lcs")), lcs_line(313, 4, 99) + lcs_line(313, 6, 99));
}

// --- Existing NAIDs that end the run ------------------------------------------

// Each bad cell ends the re-run at its row: the rows before it are in the
// output file and the names list, nothing after it.
TEST(VarlonPass, BadExistingNaidsEndTheRunAtTheirRow) {
  Plan p = plan(0, "", 777, 2);
  const std::string lcs = "20261201 101010 Limit, Used, and Seed: 316, 2, 777\n";
  const std::string head =
      "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,NAID\r\n"
      "    Points Possible,,,,,,0.00\r\n";
  auto row = [](const std::string& name, const std::string& cell) {
    return "\"" + name + "\",1,S1,x" + name.substr(0, 1) + "," ROOT_HOST1 ",BIO 101," + cell +
           "\r\n";
  };
  const std::string first = row("Ann", p.at(0));
  const std::string rec = record(p, 0, "Ann (xA" ROOT_DOMAIN1 ")");
  const std::pair<std::string, std::string> cases[] = {
      {"\"12,34\"", "Bad NAID \"12,34\" in varlon.csv"},
      {"00" + p.at(2) + ".000", "NAID \"" + p.at(2) + "\" not found in varlon.csv"},
      {std::string(252, '0') + "123\xE2\x82\xAC", "NAID \"123\" not found in varlon.csv"},
      {std::string(252, '0') + "123\xE9\xA0", "NAID \"123\xE9\" not found in varlon.csv"},
      {p.at(0), "Duplicate NAID \"" + p.at(0) + "\" in varlon.csv"},
  };
  for (const auto& [cell, message] : cases) {
    const std::string in = head + first + row("Bob", cell) + row("Cy", p.at(1));
    RunResult r = run_in_folder(
        VARLON_BIN,
        {.files = {{"varlon.csv", in}, {"varlon.cid", "0\n\n"}, {"varlon.lcs", lcs}},
         .keyboard = "C\n"});
    Expect e = started();
    expect::canvas_options(e);
    rerun_front(e, p, "varlon.csv", lcs);
    naid_report(e, 0);
    shuffle_table(e, p);
    e.both(rec);
    fatal(e, message);
    expect_run(r, e, 1);
    EXPECT_EQ(r.file("new_varlon.csv"), head + first) << cell;
    EXPECT_EQ(r.file("varlon.nam.txt"),
              " NAID=1000: Ideal Student (instructor email)\n" + rec + "\n") << cell;
    EXPECT_EQ(r.file("varlon.lcs"), lcs) << cell;
  }
}

// --- A class ID that holds the separator ---------------------------------------

// The class ID "12," with the separator ",": every identifier cell comes out
// quoted, and the re-run reads the quoted cells back.
TEST(VarlonPass, ClassIdEndingInTheSeparatorIsQuotedAndReadBack) {
  Plan p = plan(7, "12,", 5);
  const std::string head =
      "Student,ID,SIS User ID,SIS Login ID,Root Account,Section\r\n"
      "    Points Possible,,,,,\r\n";
  auto row = [](const std::string& name) {
    return "\"" + name + "\",1,S1,x," ROOT_HOST1 ",BIO 101";
  };
  RunResult r1 = run_in_folder(VARLON_BIN, {.args = {"-", "-", "-", "-", "-", "-", "5"},
                                            .files = {{"varlon.csv", head + row("Ann") + "\r\n"},
                                                      {"varlon.cid", "7\n12,\n"}}});
  const std::string out1 = "Student,ID,SIS User ID,SIS Login ID,Root Account,Section,NAID\r\n"
                           "    Points Possible,,,,,,0.00\r\n" +
                           row("Ann") + ",\"12," + p.at(0) + "\"\r\n";
  ASSERT_EQ(r1.status, 0) << r1.console;
  EXPECT_EQ(r1.file("new_varlon.csv"), out1);
  EXPECT_EQ(r1.file("varlon.aid.txt"), " NAID=12,1000: Ideal Student (instructor email)\n" +
                                           record(p, 0, "Ann (x" ROOT_DOMAIN1 ")") + "\n");

  RunResult r2 = run_in_folder(VARLON_BIN, {.files = {{"varlon.csv", out1 + row("Bo") + ",\r\n"},
                                                      {"varlon.cid", "7\n12,\n"},
                                                      {"varlon.lcs", r1.file("varlon.lcs")}},
                                            .keyboard = "C\n"});
  ASSERT_EQ(r2.status, 0) << r2.console;
  EXPECT_EQ(r2.file("new_varlon.csv"), out1 + row("Bo") + ",\"12," + p.at(1) + "\"\r\n");
  EXPECT_EQ(mask_stamp(r2.file("varlon.lcs")), lcs_line(313, 1, 5) + lcs_line(313, 2, 5));
}

}  // namespace
