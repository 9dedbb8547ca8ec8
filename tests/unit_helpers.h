// Helpers for unit tests: catch a fatal exit and capture console and log.
#pragma once
#include <functional>
#include <string>

struct Captured {
  bool fataled = false;  // the run would have ended with exit status 1
  std::string console;   // what went to the console
  std::string log;       // what went to the log file
};

// Runs fn with the console and the log bound to scratch files and the
// keyboard reading `keyboard`; a fatal exit is caught instead of ending the
// test program.
Captured capture(const std::function<void()>& fn, const std::string& keyboard = "");

// Runs fn inside a fresh temporary folder (the current folder while fn runs).
void in_temp_folder(const std::function<void()>& fn);

// Writes bytes to a file of the current folder / reads a whole file.
void put_file(const std::string& name, const std::string& bytes);
std::string get_file(const std::string& name);
