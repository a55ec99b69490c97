// Brin23 run whole in a temporary installation: the converted file, the log
// and the dialogs compared byte for byte, whatever the files and names.
#include "tests/brin23_fixture.h"

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

TEST_F(Brin23, MissingSourceInEachLanguage) {
  fs::remove(dir_.file("Docs/Aerlon/Pilots/Ann/controls.ini"));
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(run("fr_FR.UTF-8"), 1);
  EXPECT_EQ(run("de_DE.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + v2_file +
                                     "\\nnot found\r\n"
                                     "box|error|Tavlet (beta)|" +
                                     v2_file +
                                     "\\npas trouv\xE9\r\n"
                                     "box|error|Tavlet (beta)|" +
                                     v2_file + "\\nnicht gefunden\r\n");
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
  installed_[0] = installed_[1] = false;
  write_registry();
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

TEST_F(Brin23, ALogThatCantBeReadIsSaidBeforeTheDialog) {
  if (windows_target()) GTEST_SKIP() << "a log that fails at its first read, on Linux";
  // Aerlon 3's log held open by another program than the simulator (here:
  // failing at its first read): its pilot's folder is not known, and a box
  // says why before the dialog asks for the file.
  fs::remove(dir_.file("Games/Aerlon3/Logs/Logfile.txt"));
  fs::create_symlink("/proc/self/mem", dir_.file("Games/Aerlon3/Logs/Logfile.txt"));
  ASSERT_EQ(run("en_US.UTF-8", {}, v3_file + "\n"), 0) << console_;
  EXPECT_EQ(read("dialogs.log"),
            "box|info|Brin23 : Looking for A3 controls.ini|..\\Games\\Aerlon3\\Logs\\Logfile.txt"
            "\\ncould not be read (another program may hold it open), so Brin23 can't tell the "
            "pilot's folder: choose the pilot's controls.ini in the next window.\r\n"
            "open|Brin23 : Looking for A3 controls.ini||*.ini\r\n");
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
  // -undo as well: nothing put back, no backup made.
  write("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak", converted);
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run("en_US.UTF-8", {"-undo"}), 1);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|Output file : " + v3_file +
                                     "\\nError opening\\nThe file is read-only: clear "
                                     "\"Read-only\" in its properties.\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_EQ(backups().size(), 1u);
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
  // A box cuts the name, never the words around it.
  std::string msg = "Backup file : " + (target + "_00000.bak").substr(0, 228) + "\\nError opening";
  const std::string box = "box|error|Tavlet (beta)|" + msg + "\r\n";
  EXPECT_EQ(read("dialogs.log"), box + box);
  EXPECT_EQ(files_starting_with(dir_.file(pilot), "controls.ini").size(), 1u);

  // 257: the target's name itself does not fit; its cut name is no file.
  target = use_documents(222);
  pilot = documents_ + "/Aerlon3/Pilots/Ann";
  write(pilot + "/controls.in", "someone else's");
  EXPECT_EQ(run(), 1);
  const std::string output_box =
      "box|error|Tavlet (beta)|Output file : " + target.substr(0, 228) + "\\nError opening\r\n";
  EXPECT_EQ(read("dialogs.log"), output_box);
  EXPECT_EQ(read(pilot + "/controls.ini"), old_v3);
  EXPECT_EQ(read(pilot + "/controls.in"), "someone else's");
  EXPECT_TRUE(backups(pilot).empty());
  // -undo stops there too, before it looks for a backup of the cut name.
  write(pilot + "/controls.in_00000.bak", "the cut name's backup");
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run("en_US.UTF-8", {"-undo"}), 1);
  EXPECT_EQ(read("dialogs.log"), output_box);
  EXPECT_EQ(read(pilot + "/controls.in"), "someone else's");

  // A source on the command line longer than its field is not found.
  std::string source = "..\\" + documents_ + "\\Aerlon\\Pilots\\Ann\\" + std::string(230, 's');
  write(documents_ + "/Aerlon/Pilots/Ann/" + std::string(230, 's'), "[K]\r\n2040=3\r\n");
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run("en_US.UTF-8", {source}), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|" + source.substr(0, 246) + "\\nnot found\r\n");
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
