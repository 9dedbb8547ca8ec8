// Keyboard answers and line-head reads.
#include "keyboard.h"

#include <cstring>

#include "console_log.h"
#include "fatal.h"
#include "io.h"
#include "sizes.h"

namespace {

// Ends the console line of the prompt, then the run.
[[noreturn]] void keyboard_ended() {
  conly({});
  fatal(KEYBOARD_ENDED);
}

// Blanks between free-form items.
bool is_item_blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// The first bytes of an item, blank-padded.
struct Item {
  char text[ANSLEN];
  int32_t n = 0;
  Item() { std::memset(text, ' ', sizeof text); }
  void add(char c) {
    if (n < ANSLEN) text[n] = c;
    ++n;
  }
};

// Drops the rest of the current keyboard line.
void drop_line() {
  char c = 0;
  while (getchr(LU_KEYB, c) == 0 && c != '\n') {
  }
}

// A quoted item after its opening quote q.  Returns true when the line end
// (or the end of the input) has been read.
bool read_quoted(char q, Item& item) {
  char c = 0;
  for (;;) {
    if (getchr(LU_KEYB, c) != 0) return true;
    if (c == '\n') return true;
    if (c == q) {
      if (getchr(LU_KEYB, c) != 0) return true;
      if (c == '\n') return true;
      if (c != q) return false;  // closed; c is whatever follows
    }
    item.add(c);
  }
}

// The value of an item that begins with c (not a blank): sets item and
// given (false for an empty item).  Returns true when the line end (or the end
// of the input) has been read.
bool read_value(char c, Item& item, bool& given, bool repeat_allowed) {
  given = false;
  if (c == ',' || c == '/' || c == '\n') return c == '\n';
  if (c == '\'' || c == '"') {
    given = true;
    return read_quoted(c, item);
  }
  bool digits_only = true;  // so far
  bool nonzero = false;
  for (;;) {
    if (repeat_allowed && c == '*' && digits_only && nonzero) {
      // r*v: the value follows the star directly.
      item = Item();
      given = false;
      if (getchr(LU_KEYB, c) != 0) return true;
      if (is_item_blank(c)) return false;  // r* alone: empty items
      return read_value(c, item, given, false);
    }
    given = true;
    item.add(c);
    if (c < '0' || c > '9') digits_only = false;
    if (c > '0' && c <= '9') nonzero = true;
    if (getchr(LU_KEYB, c) != 0) return true;
    if (c == '\n') return true;
    if (is_item_blank(c) || c == ',' || c == '/') return false;
  }
}

}  // namespace

int32_t read_line_head(int32_t lunit, char* buf, int32_t n) {
  if (n > 0) std::memset(buf, ' ', n);
  int32_t k = 0;
  bool any = false;
  bool cr = false;  // a carriage return waits: it counts unless a line feed follows
  auto put = [&](char c) {
    if (k < n) buf[k] = c;
    if (k < n) ++k;
  };
  for (;;) {
    char c = 0;
    const int32_t st = getchr(lunit, c);
    if (st == 2) return LINE_FAILED;
    if (st == 1) {
      if (cr) put('\r');
      return any ? LINE_LAST : LINE_NONE;
    }
    any = true;
    if (c == '\n') return LINE_LF;
    if (cr) put('\r');
    cr = c == '\r';
    if (!cr) put(c);
  }
}

void read_answer_line(char ans[ANSLEN]) {
  const int32_t st = read_line_head(LU_KEYB, ans, ANSLEN);
  if (st == LINE_NONE || st == LINE_FAILED) keyboard_ended();
}

void read_answer_word(char ans[ANSLEN]) {
  char c = 0;
  for (;;) {  // one line per turn, until a line holds more than blanks
    int32_t st = 0;
    do {
      st = getchr(LU_KEYB, c);
    } while (st == 0 && is_item_blank(c));
    if (st != 0) keyboard_ended();
    if (c != '\n') break;
  }
  Item item;
  bool given = false;
  const bool line_read = read_value(c, item, given, true);
  if (!line_read) drop_line();
  if (given) std::memcpy(ans, item.text, ANSLEN);
}

void ask_line(std::string_view prompt, char ans[ANSLEN]) {
  cprompt(prompt);
  read_answer_line(ans);
}

void ask_word(std::string_view prompt, char ans[ANSLEN]) {
  cprompt(prompt);
  read_answer_word(ans);
}

bool answer_is(const char ans[ANSLEN], char c) {
  const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  if (ans[0] != lower && ans[0] != upper) return false;
  for (int32_t i = 1; i < ANSLEN; ++i) {
    if (ans[i] != ' ') return false;
  }
  return true;
}
