// The system's only error exits.
#pragma once
#include <string_view>

// BEL, "*** ", msg, "!" on the console; the same without BEL in the log file
// (unit 3, when open); then fatal0.
[[noreturn]] void fatal(std::string_view msg);
// As fatal with the file name after the message; when the message, the name
// and the 5 bytes of "*** " and "!" make 80 bytes or more, the name goes on a
// second line after four blanks.
[[noreturn]] void fatal2(std::string_view msg, std::string_view fil);
// Flushes every open file and ends the process with exit status 1.
[[noreturn]] void fatal0();

// Test hook: when set, fatal0 calls it after flushing instead of exiting.  The
// hook must not return (it throws, so a fuzzer or a unit test can go on).
using FatalHook = void (*)();
void set_fatal_hook(FatalHook hook);
