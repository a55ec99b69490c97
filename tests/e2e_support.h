// How the end-to-end tests run the programs: the Linux build with the POSIX
// stand-ins, or, in the test program built with MALVET_E2E_WINDOWS, the
// Windows build under Wine, the registry imported into a Wine prefix. One
// registry fixture and one set of expected files serve both.
#ifndef MALVET_TESTS_E2E_SUPPORT_H
#define MALVET_TESTS_E2E_SUPPORT_H

#include <string>
#include <utility>
#include <vector>

#include "tests/test_support.h"

// True in the test program that runs the Windows build.
bool windows_target();

// Why the programs can't be run here (the tests then skip); empty when they
// can. The Windows build is looked for in the folder MALVET_WINDOWS_BUILD.
std::string e2e_unavailable();

// Runs "Tavlet" or "Brin23" in `cwd` with `args`, the registry of the .reg
// file `registry`, and `env` added to the environment; its console output
// (with LF line ends) goes to `console`. Returns its exit status. The
// program is started from `executable` when given (a copy_program), else
// from a copy in a folder of its own, without the tables the build puts
// beside it: a run finds only the tables its test gives it.
int run_malvet(const std::string& program, const std::vector<std::string>& args,
               const std::string& cwd, const std::string& registry,
               const std::vector<std::pair<std::string, std::string>>& env, std::string* console,
               const RunOptions& options = {}, const std::string& executable = "");

// Copies the program as built into `folder` (made when missing); its path
// there.
std::string copy_program(const std::string& program, const std::string& folder);

// A helper program of the Windows build (hold_file) running under Wine in
// the background, in `cwd`; waited for when the object goes.
class WindowsHelper {
 public:
  WindowsHelper(const std::string& program, const std::vector<std::string>& args,
                const std::string& cwd);
  ~WindowsHelper();
  WindowsHelper(const WindowsHelper&) = delete;
  WindowsHelper& operator=(const WindowsHelper&) = delete;

  // Waits for it to end; its exit status (-1 when it did not exit).
  int wait();

 private:
  int pid_ = -1;
};

// Sets or clears Windows attributes of the file at the POSIX path `path`
// through Wine's attrib ("+h", "+r", "-r"), which Wine keeps beside the file.
void set_windows_attributes(const std::string& path, const std::string& flags);

// Waits until something exists at `path`, two minutes at most; false when it
// never came. For the signs that a background helper gives.
bool wait_for_file(const std::string& path);

#endif
