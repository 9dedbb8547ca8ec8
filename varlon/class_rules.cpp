// varlon's class dialogs: a class distinction digit from 0 to 9 and a class ID
// number of up to 3 characters.
#include "class_id.h"
#include "varlon.h"

namespace {

const std::string_view varlon_cls_intro[] = {
    "You need to select a class distinction digit.",
    "This is in case students in your class are also in another",
    "class that uses NAID numbers.  Assuming that the other",
    "class uses a different class distinction digit, there will",
    "not be a problem if a student uses the NAID number from the",
    "other class in yours, or vice versa.  In particular the",
    "credit will not go to a wrong student.  If no other classes",
    "use NAID numbers just enter 0.",
};

const std::string_view varlon_cid_intro[] = {
    " ",
    "You may also want to select a class ID number.",
    "This may discourage students from entering the NAID of the",
    "wrong class in the first place.  The ID number will be",
    "prepended before the 4 digit NAID.",
};

// A number from 1 to 999 without leading zeros, optionally (up to 99) followed
// by one "." or ","; a lone "." or "," too.  The separator and the quote
// character play no part: a class ID ending in "," is accepted also when ","
// separates the CSV fields.
bool varlon_cid_char(unsigned char c, int32_t i, int32_t lcid, char, char) {
  if (c >= '1' && c <= '9') return true;
  if (c == '0') return i > 1;
  if (c == '.' || c == ',') return i == lcid;
  return false;
}

}  // namespace

const ClassRules varlon_class_rules = {
    .cidfile = "varlon.cid",
    .readerr = "Error reading Class ID file varlon.cid",
    .writerr = "Error writing to Class ID file varlon.cid",
    .cls_intro = varlon_cls_intro,
    .cls_prompt = "Enter your class distinction digit (q to quit): ",
    .cls_bad = "*** Bad digit.  Please reenter.",
    .cls_max = 9,
    .cid_intro = varlon_cid_intro,
    .cid_prompt = "Enter no more than 3 digits as a Class ID number (q to quit): ",
    .cid_char_ok = varlon_cid_char,
    // One digit in line 1, and the digit alone after the read-back label.
    .cls_cols = 1,
    .cls_label = "Class distinction digit: ",
    .cls_label_cols = 1,
};
