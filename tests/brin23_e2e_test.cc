// Brin23 run whole in a temporary installation: the converted file, the
// backups, the log and the dialogs compared byte for byte.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "tests/e2e_support.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

const std::string crlf = "\r\n";
const std::string v2_file = "..\\Docs\\Aerlon\\Pilots\\Ann\\controls.ini";
const std::string v3_file = "..\\Docs\\Aerlon3\\Pilots\\Ann\\controls.ini";
const std::string v3_posix = "Docs/Aerlon3/Pilots/Ann/controls.ini";
const std::string old_v3 = "[Old]\r\n3101=1\r\n";

class Brin23 : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::string why = e2e_unavailable(); !why.empty()) GTEST_SKIP() << why;
    fs::create_directories(dir_.file("work"));
    write("work/A2-A3.txt",
          "2105=2040\r\n2106=2041\r\n2107=\r\n\r\n3101=3001\r\n3102=3001\r\n5000=3003\r\n"
          "3103=4001\r\nx=3004\r\n3104=-2\r\n");
    for (int v : {2, 3}) {
      std::string folder = "Games/Aerlon" + std::to_string(v);
      write(folder + "/Aerlon.exe", "MZ");
      write(folder + "/Logs/Logfile.txt", "Aerlon version: " + std::to_string(v) + "105\r\n");
    }
    write("Docs/Aerlon/Pilots/Ann/controls.ini",
          "[Keyboard]\r\n2040 = 25\r\n2041=\r\n\r\n3001=57\r\n3003=1\r\n3004=2\r\n9999=5\r\n"
          " [Not a header]\r\n[{9F6A1A40-D1E6-11E9-8001-444553540000}]   \r\n2040=1000\r\n");
    write(v3_posix, old_v3);
    write_registry();
  }

  void write(const std::string& name, const std::string& content) { dir_.write(name, content); }

  void write_registry(bool with_documents = true, bool installed = true) {
    std::string reg = "Windows Registry Editor Version 5.00\r\n\r\n";
    for (int v : {2, 3}) {
      reg += "[HKEY_CURRENT_USER\\SOFTWARE\\Aerlon" + std::to_string(v) + "]\r\n";
      if (installed) {
        reg += "\"InstallDir\"=\"..\\\\Games\\\\Aerlon" + std::to_string(v) + "\"\r\n";
      }
      reg += "\"LastPlayer\"=\"" + pilot_ + "\"\r\n\r\n";
    }
    if (with_documents) {
      reg +=
          "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User "
          "Shell Folders]\r\n\"Personal\"=\"..\\\\" +
          documents_ + "\"\r\n";
    }
    write("registry.reg", reg);
  }

  int run(const std::string& lang = "en_US.UTF-8", std::vector<std::string> args = {},
          const std::string& answers = "", const RunOptions& options = {}) {
    write("answers.txt", answers);
    return run_malvet("Brin23", args, dir_.file("work"), dir_.file("registry.reg"),
                      {{"MALVET_DIALOGS", dir_.file("answers.txt")},
                       {"MALVET_DIALOG_LOG", dir_.file("dialogs.log")},
                       {"LC_ALL", lang},
                       {"MALVET_UP", ".."},
                       {"MALVET_DOCS", "\\Docs"}},
                      &console_, options);
  }

  // Runs as the user nobody (open the folder to everyone first).
  int run_as_nobody() {
    RunOptions nobody;
    nobody.as_nobody = true;
    return run("en_US.UTF-8", {}, "", nobody);
  }

  std::string read(const std::string& name) const { return dir_.read(name); }

  std::vector<std::string> backups(const std::string& folder = "Docs/Aerlon3/Pilots/Ann") const {
    return files_starting_with(dir_.file(folder), "controls.ini_");
  }

  TempDir dir_;
  std::string pilot_ = "Ann";
  std::string documents_ = "Docs";  // below the working folder's parent
  std::string console_;
};

const std::string converted =
    "[Keyboard]\r\n2105=25\r\n2106=\r\n3102=57\r\n"
    "[{9F6A1A40-D1E6-11E9-8001-444553540000}]\r\n2105=1000\r\n";

std::string copy_log(const std::string& target, const std::string& backup) {
  // The log breaks lines at every "/", that of "/Y" too.
  return "COPY\r\nY \"" + target + "\" \"" + backup + "\"\r\n";
}

}  // namespace

TEST_F(Brin23, ConvertsAndKeepsTheFirstBackup) {
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read(v3_posix), converted);
  EXPECT_EQ(backups(), (std::vector<std::string>{"controls.ini_00000.bak"}));
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak"), old_v3);
  EXPECT_EQ(run_log(dir_.file("work"), "Brin23"),
            "\r\n" + copy_log(v3_file, v3_file + "_00000.bak") + "file: " + v2_file +
                " converted to " + v3_file + "\r\n");
  EXPECT_EQ(read("work/Logfile.txt"),
            "Aerlon 2 install path: ..\\Games\\Aerlon2\r\n"
            "Aerlon 3 install path: ..\\Games\\Aerlon3\r\n");
  EXPECT_EQ(read("dialogs.log"), "");
  EXPECT_FALSE(fs::exists(dir_.file("work/get_new_vers_tmp.txt")));
  EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".new")));
}

TEST_F(Brin23, BackupAfterTheHighestNumber) {
  for (const char* n : {"00000", "00001", "00007"}) {
    write("Docs/Aerlon3/Pilots/Ann/controls.ini_" + std::string(n) + ".bak", n);
  }
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00008.bak"), old_v3);
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00007.bak"), "00007");
  EXPECT_NE(run_log(dir_.file("work"), "Brin23").find(copy_log(v3_file, v3_file + "_00008.bak")),
            std::string::npos);
}

TEST_F(Brin23, ACopyWithoutDigitsDoesNotCount) {
  write("Docs/Aerlon3/Pilots/Ann/controls.ini_abcde.bak", "x");
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak"), old_v3);
}

TEST_F(Brin23, PilotFolderWithBlanks) {
  pilot_ = "Ann Smith";
  write_registry();
  write("Docs/Aerlon/Pilots/Ann Smith/controls.ini", "[K]\r\n2040=3\r\n");
  write("Docs/Aerlon3/Pilots/Ann Smith/controls.ini", old_v3);
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann Smith/controls.ini"), "[K]\r\n2105=3\r\n");
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann Smith/controls.ini_00000.bak"), old_v3);
}

TEST_F(Brin23, NoTargetYet) {
  fs::remove(dir_.file(v3_posix));
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read(v3_posix), converted);
  EXPECT_TRUE(backups().empty());
  EXPECT_EQ(run_log(dir_.file("work"), "Brin23"),
            "\r\nfile: " + v2_file + " converted to " + v3_file + "\r\n");
}

TEST_F(Brin23, NothingToWriteKeepsTheTarget) {
  write("Docs/Aerlon/Pilots/Ann/controls.ini", "\r\n   \r\n3003=5\r\n2107=1\r\n");
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_EQ(backups(), (std::vector<std::string>{"controls.ini_00000.bak"}));
}

TEST_F(Brin23, ConvertsTheVersion3FileInPlace) {
  write(v3_posix, "[K]\r\n2040=7\r\n3101=5\r\n");
  ASSERT_EQ(run("en_US.UTF-8", {"-3"}), 0) << console_;
  EXPECT_EQ(read(v3_posix), "[K]\r\n2105=7\r\n");
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak"), "[K]\r\n2040=7\r\n3101=5\r\n");
  EXPECT_EQ(run_log(dir_.file("work"), "Brin23"),
            "\r\n" + copy_log(v3_file, v3_file + "_00000.bak") + "file: " + v3_file +
                " converted to " + v3_file + "\r\n");
}

TEST_F(Brin23, SourceGivenOnTheCommandLine) {
  write("elsewhere/my controls.ini", "[K]\r\n2041=9\r\n");
  ASSERT_EQ(run("en_US.UTF-8", {"..\\elsewhere\\my controls.ini"}), 0) << console_;
  EXPECT_EQ(read(v3_posix), "[K]\r\n2106=9\r\n");
  EXPECT_NE(run_log(dir_.file("work"), "Brin23")
                .find("file: ..\\elsewhere\\my controls.ini converted to " + v3_file),
            std::string::npos);
}

TEST_F(Brin23, MissingSourceInBothLanguages) {
  fs::remove(dir_.file("Docs/Aerlon/Pilots/Ann/controls.ini"));
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(run("fr_FR.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + v2_file +
                                     "\\nnot found\r\n"
                                     "box|error|Tavlet (beta)|" +
                                     v2_file + "\\npas trouv\xE9\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_TRUE(backups().empty());
}

TEST_F(Brin23, MissingTableInBothLanguages) {
  fs::remove(dir_.file("work/A2-A3.txt"));
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(run("fr_FR.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|A2-A3.txt\\nError opening\r\n"
            "box|error|Tavlet (beta)|A2-A3.txt\\nOuverture impossible\r\n");
  EXPECT_TRUE(backups().empty());
}

TEST_F(Brin23, NoInstallationInBothLanguages) {
  write_registry(true, false);
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(run("fr_FR.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|*** No Aerlon installation found (2 or 3) ***\r\n"
            "box|error|Tavlet (beta)|*** Aucune installation de Aerlon (2 ou 3) trouv\xE9"
            "e ***\r\n");
  EXPECT_EQ(read("work/Logfile.txt"),
            "*** No Aerlon installation found (2 or 3) ***\r\n"
            "*** Aucune installation de Aerlon (2 ou 3) trouv\xE9"
            "e ***\r\n");
}

TEST_F(Brin23, NoBackupNumberLeftStopsBeforeTouchingAnything) {
  write("Docs/Aerlon3/Pilots/Ann/controls.ini_99999.bak", "last");
  EXPECT_EQ(run("fr_FR.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|warning|Brin23|No new version could be determined for file: " + v3_file +
                "_99999.bak\r\n"
                "box|error|Tavlet (beta)|Fichier de sauvegarde : " +
                v3_file + "_99999.bak\\nOuverture impossible\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_99999.bak"), "last");
}

TEST_F(Brin23, TargetThatCantBeWritten) {
  fs::remove(dir_.file(v3_posix));
  fs::create_directories(dir_.file(v3_posix));
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(run("fr_FR.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|Output file : " + v3_file +
                                     "\\nError opening\r\n"
                                     "box|error|Tavlet (beta)|Fichier de sortie : " +
                                     v3_file + "\\nOuverture impossible\r\n");
}

TEST_F(Brin23, DialogsWhenThePilotFoldersAreUnknown) {
  write_registry(false);
  EXPECT_EQ(run("en_US.UTF-8", {},
                "..\\missing\\controls.ini\n..\\Docs\\Aerlon3\\Pilots\\Ann\\controls.ini\n"),
            1);
  EXPECT_EQ(read("dialogs.log"),
            "open|Brin23 : Looking for A2 controls.ini||*.ini\r\n"
            "open|Brin23 : Looking for A3 controls.ini||*.ini\r\n"
            "box|error|Brin23 : Looking for A3 controls.ini|..\\missing\\controls.ini\\nnot "
            "found\r\n");

  fs::remove(dir_.file("dialogs.log"));
  ASSERT_EQ(run("en_US.UTF-8", {}, v2_file + "\n" + v3_file + "\n"), 0);
  EXPECT_EQ(read(v3_posix), converted);
}

TEST_F(Brin23, CancelledDialogs) {
  write_registry(false);
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(read("dialogs.log"),
            "open|Brin23 : Looking for A2 controls.ini||*.ini\r\n"
            "box|error|Error|No file specification returned\r\n"
            "open|Brin23 : Looking for A3 controls.ini||*.ini\r\n"
            "box|error|Error|No file specification returned\r\n"
            "box|error|Brin23 : Looking for A3 controls.ini|\\nnot found\r\n");
}

TEST_F(Brin23, BinaryGarbageSource) {
  std::string garbage;
  for (int i = 0; i < 20000; ++i) garbage.push_back(static_cast<char>((i * 7919 + 5) % 256));
  write("Docs/Aerlon/Pilots/Ann/controls.ini", garbage);
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak"), old_v3);
  // Whatever was written, it is a whole file of CR LF lines of at most 80
  // characters.
  std::string target = read(v3_posix);
  std::size_t start = 0;
  for (std::size_t end; (end = target.find(crlf, start)) != std::string::npos; start = end + 2) {
    EXPECT_LE(end - start, 80u);
  }
  EXPECT_EQ(start, target.size());
}

// Hostile files and folders.

TEST_F(Brin23, ReadOnlyPilotFolderStopsAtTheBackup) {
  if (windows_target()) GTEST_SKIP() << "permissions are tested on Linux";
  open_to_everyone(dir_.path());
  make_read_only_folder(dir_.file("Docs/Aerlon3/Pilots/Ann"));
  EXPECT_EQ(run_as_nobody(), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Backup file : " + v3_file + "_00000.bak\\nError opening\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_TRUE(backups().empty());
}

TEST_F(Brin23, ReadOnlyWorkingFolderStillConverts) {
  if (windows_target()) GTEST_SKIP() << "permissions are tested on Linux";
  open_to_everyone(dir_.path());
  make_read_only_folder(dir_.file("work"));
  ASSERT_EQ(run_as_nobody(), 0) << console_;
  EXPECT_EQ(read(v3_posix), converted);
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak"), old_v3);
  EXPECT_TRUE(files_starting_with(dir_.file("work"), "Brin23_").empty());  // no log there
}

TEST_F(Brin23, AReadOnlyTargetStopsBeforeAnyBackup) {
  // As a pilot protects his bindings: each try must not leave one more copy.
  fs::permissions(dir_.file(v3_posix),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(run("fr_FR.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : " + v3_file +
                "\\nError opening\\nThe file is read-only: clear \"Read-only\" in its "
                "properties.\r\n"
                "box|error|Tavlet (beta)|Fichier de sortie : " +
                v3_file +
                "\\nOuverture impossible\\nLe fichier est en lecture seule : d\xE9"
                "cochez \"Lecture seule\" dans ses propri\xE9t\xE9s.\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_TRUE(backups().empty());
}

TEST_F(Brin23, FullDiskLeavesTheTargetWhole) {
  std::string many = "[Keyboard]\r\n";
  for (int i = 0; i < 100; ++i) many += "2040=" + std::to_string(i) + "\r\n";
  write("Docs/Aerlon/Pilots/Ann/controls.ini", many);
  RunOptions full;
  full.max_file_size = 500;  // the backup fits, the converted file does not
  EXPECT_EQ(run("en_US.UTF-8", {}, "", full), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : " + v3_file + "\\nError opening\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak"), old_v3);
  EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".new")));
}

TEST_F(Brin23, PilotNamesWithBlanksPercentAmpersandAndAccents) {
  std::vector<std::string> names = {"Ann & Bob 100% sure"};
  if (!windows_target()) {
    names.push_back(
        "Ren\xE9"
        "e d\xE9j\xE0 vu");  // Windows-1252, as the registry gives it
  }
  for (const std::string& name : names) {
    pilot_ = name;
    write_registry();
    write("Docs/Aerlon/Pilots/" + name + "/controls.ini", "[K]\r\n2040=3\r\n");
    write("Docs/Aerlon3/Pilots/" + name + "/controls.ini", old_v3);
    ASSERT_EQ(run(), 0) << name << console_;
    EXPECT_EQ(read("Docs/Aerlon3/Pilots/" + name + "/controls.ini"), "[K]\r\n2105=3\r\n");
    EXPECT_EQ(read("Docs/Aerlon3/Pilots/" + name + "/controls.ini_00000.bak"), old_v3);
  }
}

TEST_F(Brin23, PathsOfNearly250Characters) {
  if (windows_target()) GTEST_SKIP() << "Windows paths stop at 260 characters, all of ours here";
  documents_ = std::string(200, 'd');
  write_registry();
  std::string pilot = documents_ + "/Aerlon3/Pilots/Ann";
  write(documents_ + "/Aerlon/Pilots/Ann/controls.ini", "[K]\r\n2040=3\r\n");
  write(pilot + "/controls.ini", old_v3);
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read(pilot + "/controls.ini"), "[K]\r\n2105=3\r\n");
  EXPECT_EQ(read(pilot + "/controls.ini_00000.bak"), old_v3);
  std::string backup = "..\\" + documents_ + "\\Aerlon3\\Pilots\\Ann\\controls.ini_00000.bak";
  EXPECT_EQ(backup.size(), 245u);
  EXPECT_NE(run_log(dir_.file("work"), "Brin23").find(backup), std::string::npos);
}

TEST_F(Brin23, SourceThatIsAFolder) {
  fs::remove(dir_.file("Docs/Aerlon/Pilots/Ann/controls.ini"));
  fs::create_directories(dir_.file("Docs/Aerlon/Pilots/Ann/controls.ini"));
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + v2_file + "\\nnot found\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
}

TEST_F(Brin23, SourcesInOtherEncodingsAndLineEnds) {
  const std::string plain = "[Keyboard]\r\n2040=25\r\n3001=57\r\n";
  std::string utf16 = "\xFF\xFE";
  for (char c : plain) {
    utf16.push_back(c);
    utf16.push_back('\0');
  }
  for (const std::string& source :
       {utf16, std::string("[Keyboard]\r2040=25\r3001=57"),
        std::string("[Keyboard]\n2040=25\n3001=57"), "\xEF\xBB\xBF" + plain}) {
    write("Docs/Aerlon/Pilots/Ann/controls.ini", source);
    ASSERT_EQ(run(), 0) << console_;
    EXPECT_EQ(read(v3_posix), "[Keyboard]\r\n2105=25\r\n3102=57\r\n");
  }
}

TEST_F(Brin23, EmptySourceKeepsTheTarget) {
  write("Docs/Aerlon/Pilots/Ann/controls.ini", "");
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read(v3_posix), old_v3);
}

// A numbered backup name: controls.ini_NNNNN.bak.
bool finished_looking(const std::string& name) {
  if (name.size() != 22 || name.compare(0, 13, "controls.ini_") != 0) return false;
  if (name.compare(18, 4, ".bak") != 0) return false;
  return name.find_first_not_of("0123456789", 13) == 18;
}

TEST_F(Brin23, KilledAnywhereLeavesOldOrNewAndTheBackups) {
  if (windows_target()) GTEST_SKIP() << "interruptions are tested on Linux";
  // The kill comes with the write that passes a file-size limit, so each
  // limit below is one exact point of the run, however fast the machine:
  // in the log, in the copy of the backup, in the new file, or past the end.
  std::string old_big = "[Old]\r\n";
  for (int i = 0; i < 20000; ++i) old_big += "3101=" + std::to_string(i) + "\r\n";
  std::string source = "[Keyboard]\r\n";
  for (int i = 0; i < 100000; ++i) source += "2040=" + std::to_string(i % 1000) + "\r\n";
  write("Docs/Aerlon/Pilots/Ann/controls.ini", source);
  write(v3_posix, old_big);
  ASSERT_EQ(run(), 0);
  const std::string new_v3 = read(v3_posix);
  ASSERT_GT(new_v3.size(), 2 * old_big.size());
  fs::remove(dir_.file(v3_posix + "_00000.bak"));
  write("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak", "oldest");

  const long old_size = static_cast<long>(old_big.size());
  const long new_size = static_cast<long>(new_v3.size());
  const std::string folder = "Docs/Aerlon3/Pilots/Ann/";
  bool cut_in_the_copy = false, cut_in_the_new_file = false;
  for (long limit : {0L, 30L, 300L, 5000L, old_size / 2, old_size - 1, old_size + 1000,
                     new_size / 2, new_size - 1, new_size + 1}) {
    write(v3_posix, old_big);
    RunOptions kill;
    kill.max_file_size = limit;
    kill.killed_at_the_limit = true;
    int status = run_malvet("Brin23", {}, dir_.file("work"), dir_.file("registry.reg"),
                            {{"MALVET_DIALOGS", dir_.file("answers.txt")}}, nullptr, kill);
    EXPECT_TRUE(status == killed_by_file_size || (status == 0 && limit > new_size)) << limit;
    std::string target = read(v3_posix);
    EXPECT_TRUE(target == old_big || target == new_v3) << limit;
    EXPECT_EQ(read(folder + "controls.ini_00000.bak"), "oldest");
    // Every finished-looking backup holds the old file whole; nothing else
    // looks like one.
    for (const std::string& name : files_starting_with(dir_.file(folder), "controls.ini")) {
      if (finished_looking(name)) {
        if (name != "controls.ini_00000.bak") {
          EXPECT_EQ(read(folder + name), old_big) << limit;
        }
      } else {
        EXPECT_NE(name.substr(name.size() - 4), ".bak") << name;
      }
    }
    if (fs::exists(dir_.file(v3_posix + ".partial"))) cut_in_the_copy = true;
    if (fs::exists(dir_.file(v3_posix + ".new"))) cut_in_the_new_file = true;
  }
  EXPECT_TRUE(cut_in_the_copy);
  EXPECT_TRUE(cut_in_the_new_file);

  // The next whole run clears what the kills left behind.
  write(v3_posix, old_big);
  std::size_t before = backups().size();
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read(v3_posix), new_v3);
  EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".partial")));
  EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".new")));
  EXPECT_EQ(backups().size(), before + 1);
  for (const std::string& name : backups()) EXPECT_TRUE(finished_looking(name)) << name;
}

TEST_F(Brin23, ALeftoverCopyIsNeverCountedAndGoesWithTheNextRun) {
  write(v3_posix + ".partial", "half a cop");
  write(v3_posix + ".new", "half a new fi");
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(backups(), (std::vector<std::string>{"controls.ini_00000.bak"}));
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak"), old_v3);
  EXPECT_EQ(read(v3_posix), converted);
  EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".partial")));
  EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".new")));
}

TEST_F(Brin23, PassingFilesNeverWriteThroughALink) {
  if (windows_target()) GTEST_SKIP() << "links are tested on Linux";
  write("victim.txt", "keep");
  const std::string victim = dir_.file("victim.txt");

  // The new file's passing name: the backup is made, nothing is written.
  fs::create_symlink(victim, dir_.file(v3_posix + ".new"));
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : " + v3_file + "\\nError opening\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  fs::remove(dir_.file(v3_posix + ".new"));

  // The backup's passing name: no backup, nothing written.
  fs::create_symlink(victim, dir_.file(v3_posix + ".partial"));
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Backup file : " + v3_file + "_00001.bak\\nError opening\r\n");
  EXPECT_EQ(backups(), (std::vector<std::string>{"controls.ini_00000.bak"}));
  fs::remove(dir_.file(v3_posix + ".partial"));

  // The listing's name, a link to nowhere: the names are tried in turn.
  fs::create_symlink(dir_.file("nowhere.txt"), dir_.file("work/get_new_vers_tmp.txt"));
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read(v3_posix), converted);
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00001.bak"), old_v3);
  EXPECT_FALSE(fs::exists(dir_.file("nowhere.txt")));
  EXPECT_EQ(read("victim.txt"), "keep");
}

TEST_F(Brin23, AStaleListingNeverDecidesTheBackupNumber) {
  write("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak", "first");
  write("Docs/Aerlon3/Pilots/Ann/controls.ini_00001.bak", "second");
  const std::string listing = dir_.file("work/get_new_vers_tmp.txt");
  int next = 2;
  for (const std::string& stale : {std::string(), std::string("controls.ini_00000.bak\r\n")}) {
    fs::permissions(dir_.file("work"), fs::perms::all);
    if (fs::exists(listing)) fs::permissions(listing, fs::perms::owner_all);
    write("work/get_new_vers_tmp.txt", stale);
    write(v3_posix, old_v3);
    int status;
    if (windows_target()) {
      // A read-only file can be neither removed nor written over.
      fs::permissions(listing,
                      fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
      status = run();
    } else {
      // Root may do anything: the run is nobody's, in a read-only folder.
      open_to_everyone(dir_.path());
      fs::permissions(listing,
                      fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
      make_read_only_folder(dir_.file("work"));
      status = run_as_nobody();
    }
    ASSERT_EQ(status, 0) << console_;
    char name[64];
    std::snprintf(name, sizeof name, "controls.ini_%05d.bak", next++);
    EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/" + std::string(name)), old_v3) << name;
    EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak"), "first");
    EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00001.bak"), "second");
  }
  EXPECT_EQ(backups().size(), 4u);
}

TEST_F(Brin23, NamesTooLongForTheirFieldsAreNeverCut) {
  if (windows_target()) GTEST_SKIP() << "Windows paths stop at 260 characters";
  // The version-3 controls.ini name is the documents folder's name plus 35.
  auto use_documents = [&](std::size_t length) {
    documents_ = std::string(length, 'd');
    write_registry();
    write(documents_ + "/Aerlon/Pilots/Ann/controls.ini", "[K]\r\n2040=3\r\n");
    write(documents_ + "/Aerlon3/Pilots/Ann/controls.ini", old_v3);
    fs::remove(dir_.file("dialogs.log"));
    return "..\\" + documents_ + "\\Aerlon3\\Pilots\\Ann\\controls.ini";
  };

  // 246 characters: the backup's name takes the whole field of 256.
  std::string target = use_documents(211);
  ASSERT_EQ(target.size(), 246u);
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read(documents_ + "/Aerlon3/Pilots/Ann/controls.ini_00000.bak"), old_v3);

  // 247: the backup's name does not fit; twice, and nothing is overwritten.
  target = use_documents(212);
  std::string pilot = documents_ + "/Aerlon3/Pilots/Ann";
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(read(pilot + "/controls.ini"), old_v3);
    EXPECT_TRUE(backups(pilot).empty());
  }
  std::string msg = ("Backup file : " + target + "_00000.bak").substr(0, 256);
  const std::string box = "box|error|Tavlet (beta)|" + msg + "\r\n";
  EXPECT_EQ(read("dialogs.log"), box + box);
  EXPECT_EQ(files_starting_with(dir_.file(pilot), "controls.ini").size(), 1u);

  // 257: the target's name itself does not fit; its cut name is no file.
  target = use_documents(222);
  pilot = documents_ + "/Aerlon3/Pilots/Ann";
  write(pilot + "/controls.in", "someone else's");
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|" + ("Output file : " + target).substr(0, 256) + "\r\n");
  EXPECT_EQ(read(pilot + "/controls.ini"), old_v3);
  EXPECT_EQ(read(pilot + "/controls.in"), "someone else's");
  EXPECT_TRUE(backups(pilot).empty());

  // A source on the command line longer than its field is not found.
  std::string source = "..\\" + documents_ + "\\Aerlon\\Pilots\\Ann\\" + std::string(230, 's');
  write(documents_ + "/Aerlon/Pilots/Ann/" + std::string(230, 's'), "[K]\r\n2040=3\r\n");
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run("en_US.UTF-8", {source}), 1);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + source.substr(0, 256) + "\r\n");
}

TEST_F(Brin23, DialogPathsOfExactly120Characters) {
  write_registry(false);
  // "..\" + folder + "\controls.ini": 120 characters with a folder of 104.
  for (std::size_t folder : {104u, 105u}) {
    std::string name = "..\\" + std::string(folder, 'p') + "\\controls.ini";
    write(std::string(folder, 'p') + "/controls.ini", "[K]\r\n2040=3\r\n");
    // What a field of 120 would make of the longer one.
    write(std::string(folder, 'p') + "/controls.in", "[K]\r\n2040=4\r\n");
    write(v3_posix, old_v3);
    fs::remove(dir_.file("dialogs.log"));
    int status = run("en_US.UTF-8", {}, name + "\n" + v3_file + "\n");
    if (name.size() == 120) {
      ASSERT_EQ(status, 0) << console_;
      EXPECT_EQ(read(v3_posix), "[K]\r\n2105=3\r\n");
    } else {
      EXPECT_EQ(status, 1);
      EXPECT_EQ(read(v3_posix), old_v3);
      EXPECT_EQ(read("dialogs.log"),
                "open|Brin23 : Looking for A2 controls.ini||*.ini\r\n"
                "open|Brin23 : Looking for A3 controls.ini||*.ini\r\n"
                "box|error|Brin23 : Looking for A3 controls.ini|" +
                    name.substr(0, 120) + "\\nnot found\r\n");
    }
  }
}

TEST_F(Brin23, TheLastBackupNumbers) {
  write("Docs/Aerlon3/Pilots/Ann/controls.ini_99998.bak", "before last");
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_99999.bak"), old_v3);
  EXPECT_EQ(read("dialogs.log"), "");
  // Then no number is left (the warning and the stop, pinned elsewhere).
  write(v3_posix, old_v3);
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_99999.bak"), old_v3);
}

TEST_F(Brin23, CapitalsInTheTargetNameStillFindTheBackups) {
  write_registry(false);
  const std::string folder = "Docs/Aerlon3/Pilots/Ann/";
  fs::rename(dir_.file(v3_posix), dir_.file(folder + "CONTROLS.INI"));
  write(folder + "controls.ini_00000.bak", "zero");
  write(folder + "Controls.Ini_00001.bak", "one");
  auto now = fs::file_time_type::clock::now();
  fs::last_write_time(dir_.file(folder + "controls.ini_00000.bak"), now - std::chrono::hours(2));
  fs::last_write_time(dir_.file(folder + "Controls.Ini_00001.bak"), now - std::chrono::hours(1));
  ASSERT_EQ(run("en_US.UTF-8", {}, v2_file + "\n..\\Docs\\Aerlon3\\Pilots\\Ann\\CONTROLS.INI\n"), 0)
      << console_;
  EXPECT_EQ(read(folder + "CONTROLS.INI"), converted);
  EXPECT_EQ(read(folder + "controls.ini_00000.bak"), "zero");
  EXPECT_EQ(read(folder + "Controls.Ini_00001.bak"), "one");
  EXPECT_EQ(read(folder + "controls.ini_00002.bak"), old_v3);
}

TEST_F(Brin23, AReadErrorWhileCopyingLeavesNoBackup) {
  if (windows_target()) GTEST_SKIP() << "read errors are made on Linux";
  // A file whose first read fails.
  fs::remove(dir_.file(v3_posix));
  fs::create_symlink("/proc/self/mem", dir_.file(v3_posix));
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Backup file : " + v3_file + "_00000.bak\\nError opening\r\n");
  EXPECT_TRUE(backups().empty());
  EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".partial")));
}

TEST_F(Brin23, MemoryStaysFlatHoweverLongTheSource) {
  if (windows_target()) GTEST_SKIP() << "memory is measured on Linux";
  write("Docs/Aerlon/Pilots/Ann/controls.ini", std::string(20000000, '\n'));
  long peak_kb = 0;
  RunOptions measured;
  measured.peak_memory_kb = &peak_kb;
  ASSERT_EQ(run("en_US.UTF-8", {}, "", measured), 0) << console_;
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_LT(peak_kb, 100 * 1024);  // the whole source would take several hundred
}

TEST_F(Brin23, ADocumentsFolderWrittenWithSeveralVariables) {
  // As on a redirected account: "%HOMEDRIVE%%HOMEPATH%\Documents".
  std::string reg = read("registry.reg");
  std::size_t at = reg.find("\"Personal\"=");
  reg.replace(at, reg.find("\r\n", at) - at, "\"Personal\"=\"%MALVET_UP%%MALVET_DOCS%\"");
  write("registry.reg", reg);
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read(v3_posix), converted);
  EXPECT_EQ(read("dialogs.log"), "");
}

TEST_F(Brin23, TheCommandInterpreterAsUsersHaveSetItUp) {
  // DIRCMD adds its switches to every DIR: here, directories only, which
  // would list none of the numbered copies.
  for (const char* n : {"00000", "00001", "00007"}) {
    write("Docs/Aerlon3/Pilots/Ann/controls.ini_" + std::string(n) + ".bak", n);
  }
  write_registry();
  std::string answers;
  write("answers.txt", answers);
  ASSERT_EQ(
      run_malvet("Brin23", {}, dir_.file("work"), dir_.file("registry.reg"),
                 {{"MALVET_DIALOGS", dir_.file("answers.txt")}, {"DIRCMD", "/A:D"}}, &console_),
      0)
      << console_;
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00008.bak"), old_v3);
  // A pilot whose name has "!", which delayed expansion would take.
  pilot_ = "Ann! Bob!";
  write_registry();
  write("Docs/Aerlon/Pilots/" + pilot_ + "/controls.ini", "[K]\r\n2040=3\r\n");
  write("Docs/Aerlon3/Pilots/" + pilot_ + "/controls.ini", old_v3);
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/" + pilot_ + "/controls.ini_00000.bak"), old_v3);
}

TEST_F(Brin23, ATargetThatAnotherProgramWillNotLetBeReplaced) {
  if (!windows_target()) GTEST_SKIP() << "files held by other programs are Windows's";
  // Held all along, as a stuck antivirus would: readable and writable, never
  // replaced. Brin23 tries again for a while, then stops, the target whole.
  WindowsHelper holder("hold_file", {v3_file, "replace", "held.txt", "release.txt"},
                       dir_.file("work"));
  ASSERT_TRUE(wait_for_file(dir_.file("work/held.txt")));
  EXPECT_EQ(run(), 1) << console_;
  write("work/release.txt", "");
  EXPECT_EQ(holder.wait(), 0);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|Output file : " + v3_file +
                                     "\\nError opening\\n"
                                     "The file is open in another program: close it first.\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak"), old_v3);
  EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".new")));
}

TEST_F(Brin23, AFileThatCantBeReadToItsEndStopsBeforeAnythingIsTouched) {
  if (windows_target()) GTEST_SKIP() << "read errors are made on Linux";
  // Files whose reading fails: a table or a source cut short would drop the
  // bindings it lost, and the conversion must not stand as done.
  const std::pair<std::string, std::string> cases[] = {
      {"Docs/Aerlon/Pilots/Ann/controls.ini", v2_file + "\\nError opening"},
      {"work/A2-A3.txt", "A2-A3.txt\\nError opening"}};
  for (const auto& [file, box] : cases) {
    SCOPED_TRACE(file);
    std::string kept = read(file);
    fs::remove(dir_.file(file));
    fs::create_symlink("/proc/self/mem", dir_.file(file));
    fs::remove(dir_.file("dialogs.log"));
    EXPECT_EQ(run(), 1);
    EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + box + "\r\n");
    EXPECT_EQ(read(v3_posix), old_v3);
    EXPECT_TRUE(backups().empty());
    EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".new")));
    EXPECT_EQ(run_log(dir_.file("work"), "Brin23").find("converted"), std::string::npos);
    fs::remove(dir_.file(file));
    write(file, kept);
    for (const std::string& log : files_starting_with(dir_.file("work"), "Brin23_")) {
      fs::remove(dir_.file("work/" + log));
    }
  }
}

TEST_F(Brin23, ASourceFromAPipe) {
  if (windows_target()) GTEST_SKIP() << "pipes are given on Linux";
  // cat controls.ini | Brin23 /dev/stdin: a source that can't be sought.
  RunOptions piped;
  piped.standard_input = read("Docs/Aerlon/Pilots/Ann/controls.ini");
  ASSERT_EQ(run("en_US.UTF-8", {"/dev/stdin"}, "", piped), 0) << console_;
  EXPECT_EQ(read(v3_posix), converted);
}

TEST_F(Brin23, HiddenAndReadOnlyFilesAsPilotsKeepThem) {
  if (!windows_target()) GTEST_SKIP() << "hidden files are Windows's";
  // A hidden controls.ini, a hidden backup, and read-only leftovers of a run
  // cut short.
  const std::string folder = "Docs/Aerlon3/Pilots/Ann/";
  write(folder + "controls.ini_00000.bak", "hidden backup");
  write(v3_posix + ".partial", "half a copy");
  write(v3_posix + ".new", "half a file");
  set_windows_attributes(dir_.file(v3_posix), "+h");
  set_windows_attributes(dir_.file(folder + "controls.ini_00000.bak"), "+h");
  set_windows_attributes(dir_.file(v3_posix + ".partial"), "+r");
  set_windows_attributes(dir_.file(v3_posix + ".new"), "+r");
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read(v3_posix), converted);
  EXPECT_EQ(read(folder + "controls.ini_00000.bak"), "hidden backup");
  EXPECT_EQ(read(folder + "controls.ini_00001.bak"), old_v3);
  EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".partial")));
  EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".new")));
  EXPECT_EQ(read("dialogs.log"), "");
}

TEST_F(Brin23, ASourceNamedWithLettersTheCodePageLacksSaysSo) {
  if (!windows_target()) GTEST_SKIP() << "the command line is wide text on Windows only";
  // "Brin23 ..\Jiří\controls.ini" on a Western European Windows.
  write("Ji\xC5\x99\xC3\xAD/controls.ini", "[K]\r\n2040=3\r\n");
  // (C.UTF-8: a locale Wine knows, whose code page is 1252.)
  EXPECT_EQ(run("C.UTF-8", {"..\\Ji\xC5\x99\xC3\xAD\\controls.ini"}), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|..\\Ji?\xED\\controls.ini\\nnot found\\nA file or folder name "
            "has letters that this Windows' code page can't hold: see the guide.\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
}
