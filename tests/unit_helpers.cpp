#include "unit_helpers.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "fatal.h"
#include "io.h"

namespace {

struct FatalExit {};

[[noreturn]] void throw_fatal() { throw FatalExit{}; }

std::string read_all(FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string s;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  return s;
}

}  // namespace

Captured capture(const std::function<void()>& fn, const std::string& keyboard) {
  FILE* cons = std::tmpfile();
  FILE* log = std::tmpfile();
  FILE* keyb = std::tmpfile();
  std::fwrite(keyboard.data(), 1, keyboard.size(), keyb);
  std::rewind(keyb);
  bind_unit(LU_CONS, cons);
  bind_unit(LU_LOG, log);
  bind_unit(LU_KEYB, keyb);
  set_fatal_hook(throw_fatal);
  Captured c;
  try {
    fn();
  } catch (const FatalExit&) {
    c.fataled = true;
  }
  set_fatal_hook(nullptr);
  c.console = read_all(cons);
  c.log = read_all(log);
  bind_unit(LU_CONS, nullptr);
  bind_unit(LU_LOG, nullptr);
  bind_unit(LU_KEYB, nullptr);
  std::fclose(cons);
  std::fclose(log);
  std::fclose(keyb);
  return c;
}

void in_temp_folder(const std::function<void()>& fn) {
  char tmpl[] = "/tmp/unit_XXXXXX";
  const char* dir = mkdtemp(tmpl);
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  try {
    fn();
  } catch (...) {
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
    throw;
  }
  std::filesystem::current_path(old);
  std::filesystem::remove_all(dir);
}

void put_file(const std::string& name, const std::string& bytes) {
  std::ofstream out(name, std::ios::binary);
  out << bytes;
}

std::string get_file(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}
