// The Class ID file and the two class dialogs (phase 9).  The dialog engine is
// shared; each program describes its own texts and rules in a ClassRules.
#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "run_state.h"

// Whether byte c at position i (1-based) of a class ID of lcid characters is
// accepted.  Control characters (31 or less, 127) are refused before this is
// asked.  sep and quot are the first bytes of the separator and of the quote
// setting (argument slots 5 and 6).
using ClassIdCharRule = bool (*)(unsigned char c, int32_t i, int32_t lcid, char sep, char quot);

struct ClassRules {
  std::string_view cidfile;  // "zembic.cid"
  std::string_view readerr;  // "Error reading Class ID file zembic.cid"
  std::string_view writerr;  // "Error writing to Class ID file zembic.cid"

  // Class distinction dialog: the lines before the first prompt, the prompt,
  // the message for a refused answer.  Accepted: a number from 0 to cls_max
  // written without leading zeros.
  std::span<const std::string_view> cls_intro;
  std::string_view cls_prompt;
  std::string_view cls_bad;  // "*** Bad number.  Please reenter."
  int32_t cls_max;           // 14

  // Class ID dialog: the lines before the first prompt, the prompt, and the
  // rule for each character.
  std::span<const std::string_view> cid_intro;
  std::string_view cid_prompt;
  ClassIdCharRule cid_char_ok;

  // Line 1 of the file: the class distinction number right-aligned in
  // cls_cols columns, read back from the same columns.
  int32_t cls_cols;  // 2
  // Read-back line: cls_label, then the number right-aligned in cls_label_cols
  // columns.
  std::string_view cls_label;  // "Class distinction number:"
  int32_t cls_label_cols;      // 4
};

// Phase 9 with the given rules: the dialogs and the new Class ID file when the
// file is missing, then the read-back of the file.  Leaves r.cls, r.cid and
// r.lcid.
void class_id_file(RunState& r, const ClassRules& rules);
