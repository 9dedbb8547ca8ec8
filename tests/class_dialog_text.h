// The texts of zembic's class dialog, line by line, as the program must print
// them.
#pragma once
#include <string>
#include <vector>

inline const std::vector<std::string> kClassNumberIntro = {
    "You need to select a class distinction number from 0 to 14.",
    "This is in case students in your class are also in another",
    "class that uses AID strings.  Assuming that the other",
    "class uses a different class distinction number, there will",
    "not be a problem if a student uses the AID string from the",
    "other class in yours, or vice versa.  In particular the",
    "credit will not go to a wrong student.  If no other classes",
    "use AID strings just enter 0."};
inline const std::string kClassNumberPrompt =
    "Enter your class distinction number from 0 to 14 (q to quit): ";
inline const std::string kClassBadNumber = "*** Bad number.  Please reenter.";
// After a line holding one blank.
inline const std::vector<std::string> kClassIdIntro = {
    "You may also want to select a class ID string.",
    "This may discourage students from entering the AID of the",
    "wrong class in the first place.  The ID string will be",
    "prepended before the 3 character AID."};
inline const std::string kClassIdPrompt =
    "Enter no more than 3 lowercase letters and digits as a Class ID: ";

// The lines joined, each ending in a line feed.
inline std::string joined_lines(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return s;
}
