// Brin23's installation for the end-to-end tests, and what its converted
// file and log hold.
#ifndef MALVET_TESTS_BRIN23_FIXTURE_H
#define MALVET_TESTS_BRIN23_FIXTURE_H

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/e2e_support.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

inline const std::string crlf = "\r\n";
inline const std::string v2_file = "..\\Docs\\Aerlon\\Pilots\\Ann\\controls.ini";
inline const std::string v3_file = "..\\Docs\\Aerlon3\\Pilots\\Ann\\controls.ini";
inline const std::string v3_posix = "Docs/Aerlon3/Pilots/Ann/controls.ini";
inline const std::string old_v3 = "[Old]\r\n3101=1\r\n";

// Ann's version-2 controls.ini converted through the fixture's table.
inline const std::string converted =
    "[Keyboard]\r\n2105=25\r\n2106=\r\n3102=57\r\n"
    "[{9F6A1A40-D1E6-11E9-8001-444553540000}]\r\n2105=1000\r\n";

// The log's lines of the backup's copy command.
inline std::string copy_log(const std::string& target, const std::string& backup) {
  // The log breaks lines at every "/", that of "/Y" too.
  return "COPY\r\nY \"" + target + "\" \"" + backup + "\"\r\n";
}

// Both versions installed for Ann, the converter's table in the working
// folder, her version-2 controls.ini and an old version-3 one.
class Brin23 : public Installation {
 protected:
  void SetUp() override {
    Installation::SetUp();
    if (IsSkipped()) return;
    write("work/A2-A3.txt",
          "2105=2040\r\n2106=2041\r\n2107=\r\n\r\n3101=3001\r\n3102=3001\r\n5000=3003\r\n"
          "3103=4001\r\nx=3004\r\n3104=-2\r\n");
    install(2);
    install(3);
    write("Docs/Aerlon/Pilots/Ann/controls.ini",
          "[Keyboard]\r\n2040 = 25\r\n2041=\r\n\r\n3001=57\r\n3003=1\r\n3004=2\r\n9999=5\r\n"
          " [Not a header]\r\n[{9F6A1A40-D1E6-11E9-8001-444553540000}]   \r\n2040=1000\r\n");
    write(v3_posix, old_v3);
    write_registry();
    // For a documents folder written with variables.
    extra_env_ = {{"MALVET_UP", ".."}, {"MALVET_DOCS", "\\Docs"}};
  }

  int run(const std::string& lang = "en_US.UTF-8", std::vector<std::string> args = {},
          const std::string& answers = "", const RunOptions& options = {}) {
    return run_program_in_work("Brin23", lang, args, answers, options);
  }

  // Runs as the user nobody (open the folder to everyone first).
  int run_as_nobody() {
    RunOptions nobody;
    nobody.as_nobody = true;
    return run("en_US.UTF-8", {}, "", nobody);
  }

  std::vector<std::string> backups(const std::string& folder = "Docs/Aerlon3/Pilots/Ann") const {
    return files_starting_with(dir_.file(folder), "controls.ini_");
  }
};

// The example installation of the demo (examples/), its programs' folder
// Tools/Malvet holding the delivered tables.
class Example : public Installation {
 protected:
  void SetUp() override {
    Installation::SetUp();
    if (IsSkipped()) return;
    fs::copy(MALVET_EXAMPLES_DIR, dir_.path(), fs::copy_options::recursive);
    for (const fs::directory_entry& table : fs::directory_iterator(MALVET_DATA_DIR)) {
      fs::copy_file(table.path(),
                    dir_.file("Tools/Malvet") + "/" + table.path().filename().string());
    }
    write("answers.txt", "no\n");
  }

  // Runs the program from a prompt, or, with `explorer`, as a double-click
  // starts it: in a window of its own, Enter typed in it. Its boxes go to
  // dialogs.log.
  int run(const std::string& program, const std::vector<std::string>& args, bool explorer = false,
          const std::string& lang = "en_US.UTF-8") {
    RunOptions options;
    if (explorer) options.standard_input = "\n";
    return run_malvet(program, args, dir_.file("Tools/Malvet"), dir_.file("registry.reg"),
                      {{"MALVET_JOYSTICKS", dir_.file("joysticks.txt")},
                       {"MALVET_DIALOGS", dir_.file("answers.txt")},
                       {"MALVET_DIALOG_LOG", dir_.file("dialogs.log")},
                       {"MALVET_EXPLORER", explorer ? "1" : ""},
                       {"LC_ALL", lang}},
                      &console_, options);
  }
};

inline const std::string ann_v3 = "Users/Ann/Documents/Aerlon3/Pilots/Ann/controls.ini";


#endif
