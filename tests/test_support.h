// Helpers of the unit tests: a temporary folder and environment settings that
// are undone when the test ends.
#ifndef MALVET_TESTS_TEST_SUPPORT_H
#define MALVET_TESTS_TEST_SUPPORT_H

#include <optional>
#include <string>
#include <utility>
#include <vector>

// A fresh folder under the system's temporary folder, removed with all it
// holds when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, or a name inside it, as a POSIX path.
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

  // Writes `content` byte for byte into the named file (folders created).
  void write(const std::string& name, const std::string& content) const;

  // The named file's bytes; empty when it is missing.
  std::string read(const std::string& name) const;

 private:
  std::string path_;
};

// Sets (or, with no value, unsets) an environment variable for the life of
// the object, then puts back what was there.
class ScopedEnv {
 public:
  ScopedEnv(std::string name, std::optional<std::string> value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string name_;
  std::optional<std::string> old_;
};

// Runs the test's working folder in `dir` for the life of the object.
class ScopedCwd {
 public:
  explicit ScopedCwd(const std::string& dir);
  ~ScopedCwd();

 private:
  std::string old_;
};

// Limits a program is run under, for tests of hostile conditions.
struct RunOptions {
  bool as_nobody = false;   // run as the user nobody, so that permissions hold for root too
  long max_file_size = -1;  // bytes a file may grow to, as on a full disk; -1: no limit
  // With max_file_size: the write that would pass the limit kills the
  // program instead of failing, wherever it is: a kill at an exact point.
  bool killed_at_the_limit = false;
  long* peak_memory_kb = nullptr;  // receives the program's largest resident size
  // Its standard input: a pipe holding this text (at most 64 KiB), as
  // "cat file | program" gives it; /dev/null without one.
  std::optional<std::string> standard_input;
  // Waits, beyond the program, for every program it started and did not wait
  // for (a document opener, say) and that kept its standard output: its
  // output goes through a pipe read to its end. Never under Wine, whose
  // server keeps the pipe.
  bool until_all_it_started_ended = false;
  // Runs it on a terminal of its own (a pseudo-terminal made by script(1)):
  // its output is then what the terminal received.
  bool on_a_terminal = false;
  // Under Wine, starts it from the command prompt ("cmd /c"), which shares
  // its console as a prompt on Windows does.
  bool from_a_prompt = false;
  // On its terminal, Enter is typed once its output holds this text (a
  // question: what was typed before it is dropped), and only then.
  std::string enter_after;
};

// The status of a program killed at its file-size limit.
inline constexpr int killed_by_file_size = -2;

// Runs a program (a path, or a name looked for on the PATH) in `cwd` with
// `env` added to the environment and standard input as `options` say; its
// standard output and error go to `output` (to /dev/null without one).
// Returns its exit status (-1 when it could not be run or did not exit,
// killed_by_file_size when it was killed at the file-size limit).

int run_program(const std::string& program, const std::vector<std::string>& args,
                const std::string& cwd, const std::vector<std::pair<std::string, std::string>>& env,
                std::string* output = nullptr, const RunOptions& options = {});

// The names of the files in `dir` that begin with `prefix`, sorted.
std::vector<std::string> files_starting_with(const std::string& dir, const std::string& prefix);

// The log file that a run of `program` made in `dir` (there must be exactly
// one), without its first line, the date. Its last line names the receipt
// beside it when there is one (in any language), and is left out.
std::string run_log(const std::string& dir, const std::string& program);

// The receipts of Brin23's runs in `dir`, in the order of their names.
std::vector<std::string> receipts(const std::string& dir);

// Opens every folder and file below `path` to all users.
void open_to_everyone(const std::string& path);

// A folder whose files can be read but where nothing can be made or removed.
void make_read_only_folder(const std::string& path);

#endif
