#include "tests/test_support.h"

#include <gtest/gtest.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <utility>

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "malvet-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only folders behind; open them up before removing.
  for (auto it = fs::recursive_directory_iterator(path_, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& content) const {
  fs::path target = file(name);
  fs::create_directories(target.parent_path());
  std::ofstream out(target, std::ios::binary);
  out << content;
}

std::string TempDir::read(const std::string& name) const {
  std::ifstream in(file(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

ScopedEnv::ScopedEnv(std::string name, std::optional<std::string> value) : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) old_ = old;
  if (value) {
    setenv(name_.c_str(), value->c_str(), 1);
  } else {
    unsetenv(name_.c_str());
  }
}

ScopedEnv::~ScopedEnv() {
  if (old_) {
    setenv(name_.c_str(), old_->c_str(), 1);
  } else {
    unsetenv(name_.c_str());
  }
}

ScopedCwd::ScopedCwd(const std::string& dir) : old_(fs::current_path().string()) {
  fs::current_path(dir);
}

ScopedCwd::~ScopedCwd() {
  std::error_code ec;
  fs::current_path(old_, ec);
}

namespace {

// In a child: runs `words` (a program and its arguments) in its place.
[[noreturn]] void exec_words(std::vector<std::string> words) {
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

// The program on a pseudo-terminal of its own, Enter typed once its output
// holds `prompt`: what the terminal received, to its end.
int run_typing_enter(const std::vector<std::string>& words, const std::string& cwd,
                     const std::vector<std::pair<std::string, std::string>>& env,
                     std::string* output, const std::string& prompt) {
  int terminal = -1;
  pid_t pid = forkpty(&terminal, nullptr, nullptr, nullptr);
  if (pid < 0) return -1;
  if (pid == 0) {
    // The Enter key's own character reaches the program, not a line feed.
    struct termios modes;
    if (tcgetattr(0, &modes) == 0) {
      modes.c_iflag &= ~static_cast<tcflag_t>(ICRNL);
      tcsetattr(0, TCSANOW, &modes);
    }
    if (chdir(cwd.c_str()) != 0) _exit(127);
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    exec_words(words);
  }
  std::string received;
  bool typed = false;
  char buf[4096];
  ssize_t n;
  // The terminal's end (EIO) comes once nothing holds it open.
  while ((n = read(terminal, buf, sizeof buf)) > 0) {
    received.append(buf, static_cast<std::size_t>(n));
    if (!typed && received.find(prompt) != std::string::npos) {
      typed = write(terminal, "\r", 1) == 1;
    }
  }
  close(terminal);
  int status = 0;
  if (waitpid(pid, &status, 0) < 0) return -1;
  if (output) *output = received;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

int run_program(const std::string& program, const std::vector<std::string>& args,
                const std::string& cwd, const std::vector<std::pair<std::string, std::string>>& env,
                std::string* output, const RunOptions& options) {
  if (options.on_a_terminal && !options.enter_after.empty()) {
    std::vector<std::string> words = {program};
    words.insert(words.end(), args.begin(), args.end());
    return run_typing_enter(words, cwd, env, output, options.enter_after);
  }
  TempDir capture;
  if (options.as_nobody) fs::permissions(capture.path(), fs::perms::all);
  std::string out_file = capture.file("output.txt");
  // The input is written whole before the program starts: a pipe holds 64
  // KiB without a reader.
  int input[2] = {-1, -1};
  if (options.standard_input) {
    const std::string& text = *options.standard_input;
    if (pipe(input) != 0) return -1;
    bool written = write(input[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(input[1]);
    if (!written) {
      close(input[0]);
      return -1;
    }
  }
  int output_pipe[2] = {-1, -1};
  if (options.until_all_it_started_ended && pipe(output_pipe) != 0) return -1;
  pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    if (options.max_file_size >= 0) {
      // A write past the limit then fails with EFBIG, or kills when asked.
      signal(SIGXFSZ, options.killed_at_the_limit ? SIG_DFL : SIG_IGN);
      struct rlimit limit;
      limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(options.max_file_size);
      if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(127);
    }
    if (options.as_nobody && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(127);
    if (chdir(cwd.c_str()) != 0) _exit(127);
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    // Without `output` the console goes nowhere, so that it counts against no
    // file-size limit.
    const char* console = output ? out_file.c_str() : "/dev/null";
    bool input_ok =
        input[0] >= 0 ? dup2(input[0], 0) == 0 : freopen("/dev/null", "r", stdin) != nullptr;
    if (output_pipe[1] >= 0) {
      // The console through the pipe, which every program it starts holds.
      close(output_pipe[0]);
      if (!input_ok || dup2(output_pipe[1], 1) < 0 || dup2(1, 2) < 0) _exit(127);
      close(output_pipe[1]);
    } else if (!input_ok || !freopen(console, "w", stdout) || dup2(fileno(stdout), 2) < 0) {
      _exit(127);
    }
    std::vector<std::string> words = {program};
    words.insert(words.end(), args.begin(), args.end());
    if (options.on_a_terminal) {
      // script -qec 'program args' /dev/null: the command on a pseudo-terminal.
      std::string command;
      for (const std::string& w : words) {
        std::string quoted = "'";
        for (char c : w) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += (command.empty() ? "" : " ") + quoted + "'";
      }
      words = {"script", "-qec", command, "/dev/null"};
    }
    exec_words(std::move(words));
  }
  if (input[0] >= 0) close(input[0]);
  if (output_pipe[1] >= 0) {
    // The end of the pipe comes when the last program holding it has ended.
    close(output_pipe[1]);
    std::string piped;
    char buf[4096];
    ssize_t n;
    while ((n = read(output_pipe[0], buf, sizeof buf)) > 0) piped.append(buf, n);
    close(output_pipe[0]);
    capture.write("output.txt", piped);
  }
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) < 0) return -1;
  if (output) *output = capture.read("output.txt");
  if (options.peak_memory_kb) *options.peak_memory_kb = usage.ru_maxrss;
  if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) return killed_by_file_size;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> files_starting_with(const std::string& dir, const std::string& prefix) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    if (name.compare(0, prefix.size(), prefix) == 0) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> receipts(const std::string& dir) {
  std::vector<std::string> found;
  for (const std::string& name : files_starting_with(dir, "Brin23_")) {
    for (const char* suffix : {"_receipt", "_compte-rendu", "_Bericht"}) {
      if (name.find(suffix) != std::string::npos && name.size() > 4 &&
          name.compare(name.size() - 4, 4, ".txt") == 0) {
        found.push_back(name);
      }
    }
  }
  return found;
}

std::string run_log(const std::string& dir, const std::string& program) {
  std::vector<std::string> logs;
  for (const std::string& name : files_starting_with(dir, program + "_")) {
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".log") == 0) logs.push_back(name);
  }
  EXPECT_EQ(logs.size(), 1u);
  if (logs.empty()) return "";
  std::ifstream in(dir + "/" + logs[0], std::ios::binary);
  std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::size_t first_line_end = log.find("\r\n");
  if (first_line_end == std::string::npos) return "";
  log.erase(0, first_line_end + 2);
  std::vector<std::string> made = receipts(dir);
  if (made.empty()) return log;
  EXPECT_EQ(made.size(), 1u);
  std::string named = "\\" + made[0] + "\r\n";
  std::size_t last = log.rfind("\r\n", log.size() - named.size());
  bool names_it = log.size() >= named.size() &&
                  log.compare(log.size() - named.size(), named.size(), named) == 0;
  EXPECT_TRUE(names_it) << "the log's last line names the receipt " << made[0];
  if (!names_it) return log;
  return log.substr(0, last == std::string::npos ? 0 : last + 2);
}

void open_to_everyone(const std::string& path) {
  fs::permissions(path, fs::perms::all);
  for (const auto& entry : fs::recursive_directory_iterator(path)) {
    fs::permissions(entry.path(), entry.is_directory()
                                      ? fs::perms::all
                                      : fs::perms::owner_read | fs::perms::owner_write |
                                            fs::perms::group_read | fs::perms::group_write |
                                            fs::perms::others_read | fs::perms::others_write);
  }
}

void make_read_only_folder(const std::string& path) {
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                            fs::perms::group_exec | fs::perms::others_read |
                            fs::perms::others_exec);
}
