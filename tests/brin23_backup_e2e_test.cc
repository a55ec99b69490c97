// Brin23's numbered backups: the next number, the copy, and what stands in
// their way.
#include "tests/brin23_fixture.h"

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

TEST_F(Brin23, ReadOnlyPilotFolderStopsBeforeAnythingIsWritten) {
  if (windows_target()) GTEST_SKIP() << "permissions are tested on Linux";
  open_to_everyone(dir_.path());
  make_read_only_folder(dir_.file("Docs/Aerlon3/Pilots/Ann"));
  EXPECT_EQ(run_as_nobody(), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : " + v3_file + "\\nError opening\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_TRUE(backups().empty());
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

TEST_F(Brin23, ABackupRefusedSaysWhy) {
  if (!windows_target()) GTEST_SKIP() << "files held by other programs are Windows's";
  // The backup's passing copy held by a program that lets no other touch
  // it (an antivirus scanning a leftover): the copy is refused, and the box
  // says why.
  write(v3_posix + ".partial", "half a copy");
  WindowsHelper holder("hold_file", {v3_file + ".partial", "all", "held.txt", "release.txt"},
                       dir_.file("work"));
  ASSERT_TRUE(wait_for_file(dir_.file("work/held.txt")));
  EXPECT_EQ(run(), 1) << console_;
  write("work/release.txt", "");
  EXPECT_EQ(holder.wait(), 0);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|Backup file : " + v3_file +
                                     "_00000.bak\\nError opening\\n"
                                     "The file is open in another program: close it first.\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_TRUE(backups().empty());
}
