#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "keyboard.h"
#include "unit_helpers.h"

namespace {

// Answers of successive word reads from the keyboard text; "!" marks that
// the run ended instead.
std::vector<std::string> words(const std::string& keyboard, int n, Captured* out = nullptr) {
  std::vector<std::string> got;
  Captured c = capture(
      [&] {
        for (int i = 0; i < n; ++i) {
          char ans[ANSLEN] = {'-', '-', '-', '-'};
          read_answer_word(ans);
          got.emplace_back(ans, ANSLEN);
        }
      },
      keyboard);
  if (c.fataled) got.emplace_back("!");
  if (out != nullptr) *out = c;
  return got;
}

std::vector<std::string> line_answers(const std::string& keyboard, int n) {
  std::vector<std::string> got;
  Captured c = capture(
      [&] {
        for (int i = 0; i < n; ++i) {
          char ans[ANSLEN];
          read_answer_line(ans);
          got.emplace_back(ans, ANSLEN);
        }
      },
      keyboard);
  if (c.fataled) got.emplace_back("!");
  return got;
}

using S = std::vector<std::string>;

TEST(KeyboardWord, FirstWordOfTheLine) {
  struct Case {
    std::string in;
    std::string want;
  } cases[] = {
      {"C\n", "C   "},
      {"c\n", "c   "},
      {"   C  more words\n", "C   "},
      {"Cancel\n", "Canc"},
      {"C,Q\n", "C   "},
      {"ab/cd\n", "ab  "},
      {"\tq\t\n", "q   "},
      {"C\r\n", "C   "},
      {"'a b c d e'\n", "a b "},
      {"\"Q\" C\n", "Q   "},
      {"'it''s'\n", "it's"},
      {"'open to the end\n", "open"},
      {"2*C\n", "C   "},
      {"3*'x y'\n", "x y "},
      {"0*C\n", "0*C "},  // not a repeat count
      {"a*C\n", "a*C "},
      {"C", "C   "},  // last line without a line feed
  };
  for (const Case& c : cases) EXPECT_EQ(words(c.in, 1), S{c.want}) << c.in;
}

TEST(KeyboardWord, EmptyItemsLeaveTheAnswer) {
  for (const std::string in : {",C\n", "/\n", " , x\n", "2*\n", "2* C\n", "2*,C\n"}) {
    EXPECT_EQ(words(in, 1), S{"----"}) << in;
  }
}

TEST(KeyboardWord, EmptyLinesAreSkippedWithoutANewPrompt) {
  Captured c;
  EXPECT_EQ(words("\n   \n\t\r\nC\n", 1, &c), S{"C   "});
  EXPECT_EQ(c.console, "");
}

TEST(KeyboardWord, EndOfInputAndOneLinePerRead) {
  Captured c;
  EXPECT_EQ(words("", 1, &c), S{"!"});
  EXPECT_EQ(c.console, "\n\a*** End of keyboard input!\n");
  EXPECT_EQ(c.log, "*** End of keyboard input!\n");
  EXPECT_EQ(words("\n  \n", 1), S{"!"});
  EXPECT_EQ(words("   ", 1), S{"!"});
  EXPECT_EQ(words("C\n", 2), (S{"C   ", "!"}));
  // Each read starts on a new line.
  EXPECT_EQ(words("a b c\n'q\nd\n", 3), (S{"a   ", "q   ", "d   "}));
}

TEST(KeyboardWord, LongLinesAreReadToTheirEnd) {
  const std::string blanks(300000, ' ');
  EXPECT_EQ(words(blanks + "Q" + blanks + "\nC\n", 2), (S{"Q   ", "C   "}));
  EXPECT_EQ(words(std::string(200000, 'x') + "\nC\n", 2), (S{"xxxx", "C   "}));
  EXPECT_EQ(words("'" + std::string(200000, 'y') + "'\nC\n", 2), (S{"yyyy", "C   "}));
}

TEST(KeyboardLine, FirstFourCharactersOfEachLine) {
  EXPECT_EQ(line_answers("7\n", 1), S{"7   "});
  EXPECT_EQ(line_answers("  12345\n", 1), S{"  12"});
  EXPECT_EQ(line_answers("abcde\nx\n", 2), (S{"abcd", "x   "}));
  EXPECT_EQ(line_answers("\n", 1), S{"    "});
  EXPECT_EQ(line_answers("a\r\n", 1), S{"a   "});
  EXPECT_EQ(line_answers("ab\rc\n", 1), S{"ab\rc"});
  EXPECT_EQ(line_answers("a,b\n", 1), S{"a,b "});
  EXPECT_EQ(line_answers(std::string(250000, 'z') + "\nq\n", 2), (S{"zzzz", "q   "}));
  EXPECT_EQ(line_answers("xy", 1), S{"xy  "});
  EXPECT_EQ(line_answers("1\n2", 3), (S{"1   ", "2   ", "!"}));
}

}  // namespace
