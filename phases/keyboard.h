// The keyboard: the instructor's answers in the dialogs of both programs, and
// the line-head read that the small text files of the folder share with it.
//
// Every dialog reads the keyboard (unit LU_KEYB, standard input unless bound
// otherwise) only through this module:
// - the prompt goes to the console only, without a line end, and is flushed
//   before the read (ask_line, ask_word);
// - what the instructor types never reaches the log file;
// - when the keyboard input ends (or cannot be read) before an answer, the
//   console line of the prompt is ended and the run ends with fatal
//   "End of keyboard input" (exit status 1), so that no dialog can loop
//   forever on a closed standard input;
// - lines of any length are read to their end; only the first bytes are kept.
#pragma once
#include <cstdint>
#include <string_view>

// Length of a keyboard answer: the first 4 characters, blank-padded.
constexpr int32_t ANSLEN = 4;

// The message with which the run ends when the keyboard input ends.
constexpr std::string_view KEYBOARD_ENDED = "End of keyboard input";

// What read_line_head met.
constexpr int32_t LINE_LF = 0;      // a line ended by a line feed
constexpr int32_t LINE_LAST = 1;    // the last line, without a line feed (1 byte or more)
constexpr int32_t LINE_NONE = 2;    // end of the input: no byte left
constexpr int32_t LINE_FAILED = 3;  // a read failed

// Reads the next line of the unit and keeps its first n bytes in buf(1..n),
// blank-padded; the rest of the line is read and dropped.  A carriage return
// right before the line feed does not belong to the line.
int32_t read_line_head(int32_t lunit, char* buf, int32_t n);

// One line from the keyboard: its first 4 characters in ans, blank-padded.
void read_answer_line(char ans[ANSLEN]);

// One free-form item from the keyboard, its first 4 characters in ans,
// blank-padded:
// - the item is the first word of the line, ended by a blank, a comma, a slash
//   or the line end; a word in single or double quotes is one item (a doubled
//   quote inside stands for one quote; the line end closes an open quote);
// - r*v (r digits, not all zeros) stands for v;
// - an empty or all-blank line is skipped and the next line is read, without
//   a new prompt;
// - an empty item (the line begins with a comma or a slash, or r* alone)
//   leaves ans as it was;
// - the rest of the line after the item is dropped.
void read_answer_word(char ans[ANSLEN]);

// The prompt (console only, flushed), then read_answer_line / read_answer_word.
void ask_line(std::string_view prompt, char ans[ANSLEN]);
void ask_word(std::string_view prompt, char ans[ANSLEN]);

// True when the answer is the one letter c in either case (then blanks).
bool answer_is(const char ans[ANSLEN], char c);
