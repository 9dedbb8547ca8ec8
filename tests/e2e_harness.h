// End-to-end harness: runs a built program in a fresh temporary folder.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

struct RunSpec {
  std::vector<std::string> args = {};           // arguments after the program's name
  std::map<std::string, std::string> files = {};  // files put into the folder first
  std::string keyboard = "";                    // bytes on standard input
  std::function<void(const std::string&)> setup = nullptr;  // extra preparation of the folder
  // Faults given to the run: a file-size limit in bytes (-1 none; a write past
  // it fails, SIGXFSZ being ignored), standard descriptors closed before the
  // program starts, and a console that is a pipe nobody reads.
  long fsize_limit = -1;
  std::vector<int> closed = {};
  bool console_unread = false;
};

struct RunResult {
  int status = -1;                              // exit status
  std::string console;                          // everything written to standard output
  std::map<std::string, std::string> files;     // every regular file left in the folder (no link)
  bool has(const std::string& name) const { return files.count(name) != 0; }
  const std::string& file(const std::string& name) const;
};

RunResult run_in_folder(const std::string& program, const RunSpec& how);

// The run stamp "ccyymmdd hhmmss.sss Shhmm" after "Run date and time: " is
// replaced by that pattern; so are the 15 stamp characters that begin a
// limit-count-seed record (" Limit, Used, and Seed: " follows them).
std::string mask_stamp(const std::string& text);

// Bytes from a list of lines, each followed by a line feed.
std::string lines(const std::vector<std::string>& ls);
