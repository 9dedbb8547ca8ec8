// The run stamp written at the top of every log.
#pragma once
#include <cstdint>
#include <ctime>

// The run stamp "ccyymmdd hhmmss.sss Shhmm" of a local time, its milliseconds
// and its offset from UTC in minutes.
void make_stamp(const struct tm& lt, int32_t millis, int32_t offmin, char stamp[25]);
