// Brin23 run whole in a temporary installation: the converted file, the
// backups, the log and the dialogs compared byte for byte.
#include <gtest/gtest.h>

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
          "Shell Folders]\r\n\"Personal\"=\"..\\\\Docs\"\r\n";
    }
    write("registry.reg", reg);
  }

  int run(const std::string& lang = "en_US.UTF-8", std::vector<std::string> args = {},
          const std::string& answers = "") {
    write("answers.txt", answers);
    return run_malvet("Brin23", args, dir_.file("work"), dir_.file("registry.reg"),
                      {{"MALVET_DIALOGS", dir_.file("answers.txt")},
                       {"MALVET_DIALOG_LOG", dir_.file("dialogs.log")},
                       {"LC_ALL", lang}},
                      &console_);
  }

  std::string read(const std::string& name) const { return dir_.read(name); }

  std::vector<std::string> backups(const std::string& folder = "Docs/Aerlon3/Pilots/Ann") const {
    return files_starting_with(dir_.file(folder), "controls.ini_");
  }

  TempDir dir_;
  std::string pilot_ = "Ann";
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
  EXPECT_EQ(run("en_US.UTF-8", {}, "..\\missing\\controls.ini\n..\\Docs\\Aerlon3\\Pilots\\Ann\\controls.ini\n"), 1);
  EXPECT_EQ(read("dialogs.log"),
            "open|Brin23 : Looking for A2 controls.ini||*.ini\r\n"
            "open|Brin23 : Looking for A3 controls.ini||*.ini\r\n"
            "box|error|Brin23 : Looking for A3 controls.ini|..\\missing\\controls.ini\\nnot "
            "found\r\n");

  fs::remove(dir_.file("dialogs.log"));
  ASSERT_EQ(run("en_US.UTF-8", {}, v2_file + "\n" + v3_file + "\n"),
            0);
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
