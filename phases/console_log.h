// Console and log lines of the main procedure.
#pragma once
#include <initializer_list>
#include <string_view>

struct ProgramDesc;

// Names the log file's error message for every later log write.
void set_log_error(std::string_view logerr);

// One line made of the pieces: console first, then the log file.  A failed log
// write ends the run with the program's "Error writing to log file" message.
void cline(std::initializer_list<std::string_view> pieces);
// The empty line, console then log.
void cempty();
// A line on the console only.
void conly(std::initializer_list<std::string_view> pieces);
// A line in the log file only.
void lonly(std::initializer_list<std::string_view> pieces);
// A prompt: console only, no line end, flushed.
void cprompt(std::string_view text);

// The usage exit: the message lines (if any) and a line holding one blank on
// the console, the same in the log, then the usage text on both, exit status 1.
[[noreturn]] void usage_exit(const ProgramDesc& d,
                             std::initializer_list<std::string_view> message);
