// How the end-to-end tests run the programs: the Linux build with the POSIX
// stand-ins, or, in the test program built with MALVET_E2E_WINDOWS, the
// Windows build under Wine, the registry imported into a Wine prefix. One
// registry fixture and one set of expected files serve both.
#ifndef MALVET_TESTS_E2E_SUPPORT_H
#define MALVET_TESTS_E2E_SUPPORT_H

#include <gtest/gtest.h>

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

// The environment of a program run under Wine: the test's prefix, no trace.
std::vector<std::pair<std::string, std::string>> wine_env();

// The path of a helper program of the Windows build ("hold_file").
std::string windows_helper(const std::string& program);

// Copies the program as built into `folder` (made when missing); its path
// there.
std::string copy_program(const std::string& program, const std::string& folder);

// A helper program of the Windows build (hold_file), or a copy of one at the
// POSIX path `program`, running under Wine in the background, in `cwd`;
// waited for when the object goes.
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

// A file of tests/data: what a run must write.
std::string golden(const std::string& name);

// A full path as the programs show it: the POSIX path `path` with "\" (on
// Z: under Wine).
std::string shown_path(const std::string& path);

// The console of a Brin23 run without its last two lines, the log's line
// that names the receipt and its echo, when it ends with them.
std::string before_receipt(const std::string& console);

// The header of the joystick that the installations attach: its
// DirectInput GUID's bytes, as the registry holds them, and as controls.ini
// names its section.
inline const std::string joystick_guid_hex = "40,1a,6a,9f,e6,d1,e9,11,80,01,44,45,53,54,00,00";
inline const std::string joystick_header = "[{9F6A1A40-D1E6-11E9-8001-444553540000}]";

// The simulator installed in a temporary folder, as every end-to-end test
// stages it. The working folder "work" is the programs' folder (tables,
// reports, logs); "Games/Aerlon2" and "Games/Aerlon3" are the installations;
// the documents folder "Docs" (documents_) holds each version's pilot
// folders; "registry.reg" is the registry of it all, its folders named
// relative to "work". Each test fixture adds its own files.
class Installation : public ::testing::Test {
 protected:
  // Skips when the programs can't be run here; makes the working folder.
  void SetUp() override;

  void write(const std::string& name, const std::string& content) { dir_.write(name, content); }
  std::string read(const std::string& name) const { return dir_.read(name); }

  // The version's installation folder, its Aerlon.exe and its log.
  void install(int version);

  // The registry under HKEY_CURRENT_USER: each version's installation folder
  // (of those installed) and last pilot (pilot_), the documents folder (when
  // `with_documents`), and the name and GUID of the joystick of vendor 045E,
  // product 001B (joystick_name_).
  void write_registry(bool with_documents = true);

  // Runs the program in "work" with `args`, the dialogs answered by
  // `answers` and written down in "dialogs.log", the language `lang`, the
  // joysticks of "joysticks.txt" and extra_env_; its console into
  // console_.
  int run_program_in_work(const std::string& program, const std::string& lang,
                          const std::vector<std::string>& args, const std::string& answers,
                          const RunOptions& options = {});

  TempDir dir_;
  bool installed_[2] = {false, false};
  std::string pilot_ = "Ann";
  std::string documents_ = "Docs";  // below the working folder's parent
  std::string joystick_name_ = "Stick One";
  std::vector<std::pair<std::string, std::string>> extra_env_;
  std::string console_;
};

#endif
