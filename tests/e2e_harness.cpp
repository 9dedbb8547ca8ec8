#include "e2e_harness.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void spit(const fs::path& p, const std::string& bytes) {
  std::ofstream out(p, std::ios::binary);
  out << bytes;
}

}  // namespace

const std::string& RunResult::file(const std::string& name) const {
  auto it = files.find(name);
  if (it == files.end()) throw std::runtime_error("no file " + name + " after the run");
  return it->second;
}

RunResult run_in_folder(const std::string& program, const RunSpec& how) {
  char tmpl[] = "/tmp/e2e_XXXXXX";
  const char* top_c = mkdtemp(tmpl);
  if (top_c == nullptr) throw std::runtime_error("mkdtemp failed");
  const fs::path top(top_c);
  const fs::path dir = top / "run";
  fs::create_directory(dir);
  for (const auto& [name, bytes] : how.files) spit(dir / name, bytes);
  if (how.setup) how.setup(dir.string());
  spit(top / "stdin", how.keyboard);

  std::vector<std::string> argstore;
  argstore.push_back(program);
  for (const auto& a : how.args) argstore.push_back(a);
  std::vector<char*> argv;
  for (auto& a : argstore) argv.push_back(a.data());
  argv.push_back(nullptr);

  int unread[2] = {-1, -1};
  if (how.console_unread && pipe(unread) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    const int in = open((top / "stdin").c_str(), O_RDONLY);
    const int out = how.console_unread
                        ? unread[1]
                        : open((top / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open((top / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    if (how.console_unread) close(unread[0]);  // nobody reads the console
    for (int fd : how.closed) close(fd);
    if (how.fsize_limit >= 0) {
      signal(SIGXFSZ, SIG_IGN);
      const rlimit lim = {static_cast<rlim_t>(how.fsize_limit), static_cast<rlim_t>(how.fsize_limit)};
      if (setrlimit(RLIMIT_FSIZE, &lim) != 0) _exit(127);
    }
    alarm(60);  // a run that hangs ends as killed by SIGALRM
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  if (how.console_unread) {
    close(unread[0]);
    close(unread[1]);
  }
  int wstatus = 0;
  if (waitpid(pid, &wstatus, 0) != pid) throw std::runtime_error("waitpid failed");

  RunResult r;
  r.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
  r.console = slurp(top / "stdout");
  for (const auto& e : fs::directory_iterator(dir)) {
    if (!e.is_symlink() && e.is_regular_file()) r.files[e.path().filename().string()] = slurp(e.path());
  }
  std::error_code ec;
  fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(top, ec);
  return r;
}

std::string mask_stamp(const std::string& text) {
  std::string s = text;
  const std::string lead = "Run date and time: ";
  for (size_t p = s.find(lead); p != std::string::npos; p = s.find(lead, p + 1)) {
    if (p + lead.size() + 25 <= s.size()) s.replace(p + lead.size(), 25, "ccyymmdd hhmmss.sss Shhmm");
  }
  const std::string label = " Limit, Used, and Seed: ";
  for (size_t p = s.find(label); p != std::string::npos; p = s.find(label, p + 1)) {
    if (p >= 15 && (p == 15 || s[p - 16] == '\n')) s.replace(p - 15, 15, "ccyymmdd hhmmss");
  }
  return s;
}

std::string lines(const std::vector<std::string>& ls) {
  std::string s;
  for (const auto& l : ls) s += l + "\n";
  return s;
}
