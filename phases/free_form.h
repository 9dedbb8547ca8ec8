// Free-form reading of a list of integers (the limit-count-seed records and
// the SEED argument).
#pragma once
#include <cstdint>

// Reads up to nval integers from text(1..ltext) into vals(1..nval):
// - items are separated by blanks and/or one comma;
// - an empty item (two commas, or a comma at the start) leaves its value as it was;
// - a slash ends the list and leaves the remaining values as they were;
// - r*v gives the value v to r items in a row (r* gives r empty items);
// - an integer may carry a sign; a decimal point or any other character is an error;
// - text after the last value needed is ignored.
// Returns false on an error, also when the text ends before every value was
// given (without a slash) and when a value lies outside the 32-bit range.
// Values assigned before an error stay assigned.
bool rdints(const char* text, int32_t ltext, int32_t nval, int32_t vals[]);
