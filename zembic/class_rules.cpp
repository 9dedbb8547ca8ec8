// zembic's class dialogs: a class distinction number from 0 to 14 and a class
// ID string of lowercase letters and digits.
#include "class_id.h"
#include "zembic.h"

namespace {

const std::string_view zembic_cls_intro[] = {
    "You need to select a class distinction number from 0 to 14.",
    "This is in case students in your class are also in another",
    "class that uses AID strings.  Assuming that the other",
    "class uses a different class distinction number, there will",
    "not be a problem if a student uses the AID string from the",
    "other class in yours, or vice versa.  In particular the",
    "credit will not go to a wrong student.  If no other classes",
    "use AID strings just enter 0.",
};

const std::string_view zembic_cid_intro[] = {
    " ",
    "You may also want to select a class ID string.",
    "This may discourage students from entering the AID of the",
    "wrong class in the first place.  The ID string will be",
    "prepended before the 3 character AID.",
};

// Refused everywhere: a blank, ":", the separator, the quote character and
// upper case letters; "0" in first place; the last character must be a digit,
// a lower case letter, "@" or "_".  Bytes of 128 and above pass but in last
// place.
bool zembic_cid_char(unsigned char c, int32_t i, int32_t lcid, char sep, char quot) {
  if (c == ' ' || c == ':' || c == static_cast<unsigned char>(sep) ||
      c == static_cast<unsigned char>(quot) || (c >= 'A' && c <= 'Z') || (c == '0' && i == 1)) {
    return false;
  }
  if (i < lcid) return true;
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '@' || c == '_';
}

}  // namespace

const ClassRules zembic_class_rules = {
    .cidfile = "zembic.cid",
    .readerr = "Error reading Class ID file zembic.cid",
    .writerr = "Error writing to Class ID file zembic.cid",
    .cls_intro = zembic_cls_intro,
    .cls_prompt = "Enter your class distinction number from 0 to 14 (q to quit): ",
    .cls_bad = "*** Bad number.  Please reenter.",
    .cls_max = 14,
    .cid_intro = zembic_cid_intro,
    .cid_prompt = "Enter no more than 3 lowercase letters and digits as a Class ID: ",
    .cid_char_ok = zembic_cid_char,
    .cls_cols = 2,
    .cls_label = "Class distinction number:",
    .cls_label_cols = 4,
};
