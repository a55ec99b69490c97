// Tavlet against what can go wrong: missing and unreadable files, hostile
// contents, read-only folders, full disks, files held by other programs.
#include "tests/tavlet_fixture.h"

TEST_F(Tavlet, StopsWithoutAnInstallation) {
  installed_[0] = installed_[1] = false;
  write_registry();
  EXPECT_EQ(run("en_US.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|No Aerlon installation detected\r\n");
  EXPECT_EQ(read("work/Logfile.txt"), "No Aerlon installation detected\r\n");
  EXPECT_FALSE(fs::exists(dir_.file("work/Controls.txt")));
  EXPECT_TRUE(files_starting_with(dir_.file("work"), "Tavlet_").empty());
}

TEST_F(Tavlet, StopsAtATableOrControlsFileThatCantBeReadWhole) {
  // Missing, or failing at a read: a file read in part would give shorter
  // reports without a word.
  struct Case {
    std::string file;
    bool read_error;
    std::string box;
  };
  const std::string v2 = "..\\Docs\\Aerlon\\Pilots\\Ann\\controls.ini";
  const Case cases[] = {
      {"work/CMD_A3.txt", false, "*** File CMD_A3.txt cannot be opened  ***"},
      {"work/CMD.txt", true, "*** File CMD.txt cannot be opened  ***"},
      {"work/SCN_QWERTY.txt", true, "*** File SCN_QWERTY.txt cannot be opened  ***"},
      {"Docs/Aerlon/Pilots/Ann/controls.ini", true, v2 + "\\nError opening"}};
  for (const Case& c : cases) {
    if (c.read_error && windows_target()) continue;  // read errors are made on Linux
    SCOPED_TRACE(c.file);
    std::string kept = read(c.file);
    fs::remove(dir_.file(c.file));
    if (c.read_error) fs::create_symlink("/proc/self/mem", dir_.file(c.file));
    fs::remove(dir_.file("dialogs.log"));
    EXPECT_EQ(run("en_US.UTF-8"), 1);
    EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + c.box + "\r\n");
    // A controls.ini fails after its block's heading, as one that can't be
    // opened; a table before the reports are opened.
    EXPECT_EQ(
        read("work/Controls.txt"),
        c.file == "Docs/Aerlon/Pilots/Ann/controls.ini"
            ? " \r\n" + v2 + crlf + " \r\n" + txt("Control", "Button/Axis/Key", "Device") + " \r\n"
            : "");
    fs::remove(dir_.file(c.file));
    write(c.file, kept);
    fs::remove(dir_.file("work/Controls.txt"));
  }
}

TEST_F(Tavlet, StopsAfterTheFirstBlockWhenTheSecondFileIsMissing) {
  write("joysticks.txt", "");
  fs::remove(dir_.file("Docs/Aerlon3/Pilots/Ann/controls.ini"));
  EXPECT_EQ(run("en_US.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|..\\Docs\\Aerlon3\\Pilots\\Ann\\controls.ini\\nnot "
            "found\r\n");
  EXPECT_EQ(read("work/Controls.txt"),
            english_block("..\\Docs\\Aerlon\\Pilots\\Ann\\controls.ini", v2_rows_without_joystick));
  EXPECT_EQ(count_of(read("work/Controls.csv"), crlf), 13);
}

TEST_F(Tavlet, StopsWhenAReportFileCantBeOpenedAndKeepsTheOldReport) {
  write("work/Controls.txt", "last week's report\r\n");
  fs::create_directories(dir_.file("work/Controls.csv"));
  EXPECT_EQ(run("fr_FR.UTF-8", {"-EN"}), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : Controls.csv\\nError opening\r\n");
  EXPECT_EQ(read("work/Controls.txt"), "last week's report\r\n");
}

TEST_F(Tavlet, HostileControlsFilesNeverOverrunTheModel) {
  std::string garbage;
  for (int i = 0; i < 20000; ++i) garbage.push_back(static_cast<char>((i * 7919 + 13) % 256));
  write("Docs/Aerlon/Pilots/Ann/controls.ini", garbage);

  std::string huge = "[Keys]\r\n";
  for (int i = 0; i < 100000; ++i) huge += "3101=57\r\n";
  huge += "3101=" + std::string(10000, '9') + "\r\n3102=30 " + std::string(10000, 'x') + "\r\n" +
          std::string(10000, '[') + "\r\n";
  write("Docs/Aerlon3/Pilots/Ann/controls.ini", huge);
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  std::string report = read("work/Controls.txt");
  EXPECT_EQ(count_of(report, txt("Pause", "Space", "Keyboard")), 256);
  EXPECT_EQ(count_of(read("work/Controls.csv"), "\"Pause\",\"Space\",\"Keyboard\","), 256);
  EXPECT_NE(report.find("Keys, axes and buttons not used in Aerlon"), std::string::npos);
}

TEST_F(Tavlet, MemoryStaysFlatHoweverLongTheControlsFile) {
  if (windows_target()) GTEST_SKIP() << "memory is measured on Linux";
  // 20 million lines after the bindings: each pass keeps only what it uses.
  const std::string file = "Docs/Aerlon3/Pilots/Ann/controls.ini";
  write(file, read(file) + std::string(20000000, '\n'));
  long peak_kb = 0;
  RunOptions measured;
  measured.peak_memory_kb = &peak_kb;
  ASSERT_EQ(run("en_US.UTF-8", {}, "no\n", measured), 0) << console_;
  EXPECT_NE(read("work/Controls.txt").find(txt("Pause", "Space", "Keyboard")), std::string::npos);
  EXPECT_LT(peak_kb, 100 * 1024);  // the lines held would take several hundred
}

TEST_F(Tavlet, SectionsPastTheCapacityAreLeftOut) {
  std::string many;
  for (int s = 1; s <= 200; ++s) many += "[S" + std::to_string(s) + "]\r\n3101=57\r\n";
  write("Docs/Aerlon3/Pilots/Ann/controls.ini", many);
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  std::string report = read("work/Controls.txt");
  report = report.substr(report.find("Aerlon3"));  // version 3's block on
  EXPECT_EQ(count_of(report, txt("Pause", "Space", "Keyboard")), 1);
  EXPECT_EQ(count_of(report, txt("Pause", "Not assigned to a keyboard key")), 63);
  EXPECT_EQ(count_of(report, "Unassigned"), 5);
}

TEST_F(Tavlet, ReadOnlyWorkingFolder) {
  if (windows_target()) GTEST_SKIP() << "permissions are tested on Linux";
  open_to_everyone(dir_.path());
  make_read_only_folder(dir_.file("work"));
  RunOptions nobody;
  nobody.as_nobody = true;
  EXPECT_EQ(run("en_US.UTF-8", {}, "no\n", nobody), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : Controls.txt\\nError opening\r\n");
  EXPECT_NE(console_.find(">>> CREATE"), std::string::npos);  // its log went to the console
}

TEST_F(Tavlet, FullDiskIsNotReportedAsSuccess) {
  if (windows_target()) GTEST_SKIP() << "Wine's writes of Controls.txt escape the file-size limit";
  write("work/Controls.csv", "last week's\r\n");
  RunOptions full;
  full.max_file_size = 1000;  // Controls.txt needs more
  EXPECT_EQ(run("en_US.UTF-8", {}, "no\n", full), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : Controls.txt\\nError opening\r\n");
}

TEST_F(Tavlet, AFullDiskOnlyForControlsCsvIsNotReportedAsSuccess) {
  if (windows_target()) GTEST_SKIP() << "Wine's writes of Controls.txt escape the file-size limit";
  // Rows of a device that is not attached: their CSV cell keeps its 64
  // characters, so that Controls.csv outgrows Controls.txt.
  write("work/CMD.txt", read("work/CMD.txt") + "4005=Smoke\r\n");
  std::string pedals = "[Pedals]\r\n";
  for (int i = 0; i < 200; ++i) pedals += "4005=50\r\n";
  write("Docs/Aerlon/Pilots/Ann/controls.ini", pedals);
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  const long txt_size = static_cast<long>(read("work/Controls.txt").size());
  ASSERT_LT(txt_size + 100, static_cast<long>(read("work/Controls.csv").size()));
  RunOptions full;
  full.max_file_size = txt_size + 50;  // the text report fits, the CSV does not
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run("en_US.UTF-8", {}, "no\n", full), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : Controls.csv\\nError opening\r\n");
}

TEST_F(Tavlet, ControlsFileThatIsAFolder) {
  fs::remove(dir_.file("Docs/Aerlon/Pilots/Ann/controls.ini"));
  fs::create_directories(dir_.file("Docs/Aerlon/Pilots/Ann/controls.ini"));
  EXPECT_EQ(run("en_US.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|..\\Docs\\Aerlon\\Pilots\\Ann\\controls.ini\\nnot "
            "found\r\n");
}

TEST_F(Tavlet, AKeyNamedCreateNeverStartsANewLog) {
  write("work/SCN_QWERTY.txt",
        "2=1\r\n16=Q\r\n30=CREATEX\r\n44=Zed\r\n57=Space\r\n59=F1\r\n200=Up\r\n328=Up ext\r\n");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_EQ(run_log(dir_.file("work"), "Tavlet"), "\r\n" + txt("CREATEX", "A") + txt("Zed", "Z"));
  EXPECT_TRUE(files_starting_with(dir_.file("work"), "X").empty());
}

TEST_F(Tavlet, NumbersAtTheEndsOfTheRangeAreSafe) {
  // Every number read from a file, at both ends of the signed 32-bit range:
  // in the scan-code table, the controls.ini and a sibling tool's settings.
  write("work/SCN_QWERTY.txt",
        "2147483647=Left\r\n-2147483648=Min\r\n2147483520=Near\r\n330=Ext\r\n57=Space\r\n");
  write("Docs/Aerlon3/Pilots/Ann/controls.ini",
        joystick_header +
            "\r\n2001=2147483647\r\n2002=-2147483648\r\n3103=2147483647\r\n3102=-2147483648\r\n"
            "[Keys]\r\n3101=2147483647\r\n3101=-2147483648\r\n3105=57\r\n-2147483648=1\r\n"
            "2147483647=1\r\n");
  write("Palvik/Settings/Palvik.ini",
        "KeyA=SCN2147483647\r\nKeyB=SCN-2147483648\r\nKeyC=ASC-2147483648\r\n"
        "KeyD=ASC2147483647\r\n");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  std::string report = read("work/Controls.txt");
  EXPECT_NE(report.find(txt("Engine start", "Space", "Keyboard")), std::string::npos);
  EXPECT_NE(report.find("Keys, axes and buttons not used in Aerlon, Palvik\r\n"),
            std::string::npos);
}

TEST_F(Tavlet, AControlsFileNameTooLongForItsFieldIsNotCut) {
  if (windows_target()) GTEST_SKIP() << "Windows paths stop at 260 characters";
  // "..\" + documents + "\Aerlon\Pilots\Ann\controls.ini": 257 characters.
  documents_ = std::string(223, 'd');
  write_registry();
  std::string pilot = documents_ + "/Aerlon/Pilots/Ann/";
  write(pilot + "controls.ini", "[Keyboard]\r\n3001=57\r\n");
  write(pilot + "controls.in", "[Keyboard]\r\n3001=16\r\n");  // what the cut name would read
  const std::string name = "..\\" + documents_ + "\\Aerlon\\Pilots\\Ann\\controls.ini";
  ASSERT_EQ(name.size(), 257u);
  EXPECT_EQ(run("en_US.UTF-8"), 1);
  // The box cuts the name, never the words that say what became of it.
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|" + name.substr(0, 246) + "\\nnot found\r\n");
  EXPECT_EQ(read("work/Controls.txt"), "");
}

TEST_F(Tavlet, ASiblingFileReadShortSaysSoAndLeavesNoKeyFree) {
  if (windows_target()) GTEST_SKIP() << "read errors are made on Linux";
  fs::remove(dir_.file("Palvik/Settings/Palvik.ini"));
  fs::create_symlink("/proc/self/mem", dir_.file("Palvik/Settings/Palvik.ini"));
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  // Its block says so, and the log.
  std::string report = read("work/Controls.txt");
  const std::string said = "..\\Palvik\\Settings\\Palvik.ini could not be read to its end.";
  EXPECT_NE(report.find(" \r\n..\\Palvik\\Settings\\Palvik.ini\r\n \r\n" + said +
                        "\r\n\r\nKeys, axes and buttons not used in Aerlon\r\n\r\n"),
            std::string::npos)
      << report;
  EXPECT_NE(read("work/Controls.csv").find("\r\n\"" + said + "\",\"\",\"\",\r\n"),
            std::string::npos);
  EXPECT_NE(run_log(dir_.file("work"), "Tavlet").find(said + "\r\n"), std::string::npos);
  // The card says it too, and draws no key as free: F1, which nothing binds,
  // may be Palvik's.
  std::string page = read("work/Controls.html");
  EXPECT_NE(page.find("<p class=\"notice\">" + said + "</p>"), std::string::npos);
  EXPECT_NE(page.find("<h3>Free keys</h3>\r\n<p>" + said + "</p>"), std::string::npos);
  EXPECT_EQ(page.find("class=\"key free\""), std::string::npos);
  EXPECT_EQ(page.find("class=\"free-keys\""), std::string::npos);
  EXPECT_EQ(page.find("<p>" + said + "</p>\r\n<p>None</p>"), std::string::npos);
  EXPECT_NE(page.find("aria-label=\"F1: not known, Palvik's file could not be read\""),
            std::string::npos);
}

TEST_F(Tavlet, AVersionWhoseLogCantBeReadIsLeftOutWithAWord) {
  // Aerlon 2 running holds its log (on Windows; on Linux the log fails at
  // its first read): version 2 is not installed, and the reports' first
  // lines say that it runs and why it is left out.
  const std::string log = "Games/Aerlon2/Logs/Logfile.txt";
  std::unique_ptr<WindowsHelper> simulator;
  if (windows_target()) {
    fs::copy_file(windows_helper("hold_file"), dir_.file("Games/Aerlon2/Aerlon.exe"),
                  fs::copy_options::overwrite_existing);
    simulator = std::make_unique<WindowsHelper>(
        dir_.file("Games/Aerlon2/Aerlon.exe"),
        std::vector<std::string>{"Logs\\Logfile.txt", "all", "..\\..\\work\\held.txt",
                                 "..\\..\\work\\release.txt"},
        dir_.file("Games/Aerlon2"));
    ASSERT_TRUE(wait_for_file(dir_.file("work/held.txt")));
  } else {
    fs::remove(dir_.file(log));
    fs::create_symlink("/proc/self/mem", dir_.file(log));
    // Two of version 2, said once, and one of a folder that is neither
    // version's, named without a number.
    std::string aerlon = dir_.file("Games/Aerlon2/Aerlon.exe");
    for (char& c : aerlon) c = c == '/' ? '\\' : c;
    write("processes.txt", aerlon + "\r\nC:\\Old\\Aerlon.exe\r\n" + aerlon + "\r\n");
    extra_env_.emplace_back("MALVET_PROCESSES", dir_.file("processes.txt"));
  }
  write("work/SCN_AZERTY_FR.txt", read("work/SCN_QWERTY.txt"));
  for (const char* lang : {"en_US.UTF-8", "fr_FR.UTF-8"}) {
    for (const std::string& l : files_starting_with(dir_.file("work"), "Tavlet_")) {
      fs::remove(dir_.file("work/" + l));
    }
    bool en = std::string(lang) == "en_US.UTF-8";
    // In French on a Cyrillic Windows (1251, the stand-in's), which has no
    // "é": the reports hold the plain letters, the page the words whole.
    if (!en && !windows_target()) extra_env_.emplace_back("MALVET_CODEPAGE", "1251");
    ASSERT_EQ(run(lang), 0) << console_;
    const bool plain = !en && !windows_target();
    std::string running =
        en ? "Aerlon 2 was running while the files were read: its latest changes may be missing "
             "here."
           : std::string("Aerlon 2 ") + (plain ? "e" : "\xE9") +
                 "tait ouvert pendant la lecture des fichiers : ses derniers changements "
                 "peuvent manquer ici.";
    std::string said =
        en ? "..\\Games\\Aerlon2\\Logs\\Logfile.txt could not be read: Aerlon 2 is left out."
        : plain
            ? "..\\Games\\Aerlon2\\Logs\\Logfile.txt n'a pas pu etre lu : Aerlon 2 est "
              "laisse de cote."
            : "..\\Games\\Aerlon2\\Logs\\Logfile.txt n'a pas pu \xEAtre lu : Aerlon 2 est "
              "laiss\xE9 de c\xF4t\xE9.";
    std::string report = read("work/Controls.txt");
    std::string other = windows_target() ? ""
                        : en ? "Aerlon was running while the files were read: its latest changes "
                               "may be missing here.\r\n"
                             : "Aerlon etait ouvert pendant la lecture des fichiers : ses derniers "
                               "changements peuvent manquer ici.\r\n";
    std::string top = running + "\r\n" + other + said + "\r\n \r\n";
    EXPECT_EQ(report.substr(0, top.size()), top) << report;
    EXPECT_EQ(report.find("Aerlon\\Pilots"), std::string::npos);  // version 2 is not read
    std::string cells = en ? "\",\"\",\"\",\r\n\"" : "\";\"\";\"\";\r\n\"";
    std::string csv_top = "\"" + running + cells +
                          (other.empty() ? "" : other.substr(0, other.size() - 2) + cells) + said;
    EXPECT_EQ(read("work/Controls.csv").substr(0, csv_top.size()), csv_top);
    EXPECT_NE(run_log(dir_.file("work"), "Tavlet").find("\r\n" + said + "\r\n"), std::string::npos);
    EXPECT_NE(console_.find(en ? running : "ses derniers"), std::string::npos) << console_;
    // The card says the same, and where version 2 would stand; in its own
    // words whatever the code page.
    if (plain) {
      EXPECT_NE(read("work/Controls.html")
                    .find("<p class=\"notice\">Aerlon 2 \xC3\xA9tait ouvert pendant la lecture"),
                std::string::npos);
    }
    if (en) {
      std::string page = read("work/Controls.html");
      EXPECT_NE(
          page.find("<p class=\"notice\">" + running + "</p>\r\n" +
                    (other.empty() ? ""
                                   : "<p class=\"notice\">" +
                                         other.substr(0, other.size() - 2) + "</p>\r\n") +
                    "<p class=\"notice\">" + said +
                    "</p>\r\n<section class=\"left-out\">\r\n<h2>Aerlon 2</h2><p>" + said + "</p>"),
          std::string::npos)
          << page;
    }
  }
  if (simulator) {
    write("work/release.txt", "");
    EXPECT_EQ(simulator->wait(), 0);
  }
}

TEST_F(Tavlet, ANameWithLettersTheCodePageLacksSaysSo) {
  // Jiří on a Western European Windows: "ř" is not in its code page.
  write("registry.reg", utf16_export(read("registry.reg"), "Ji\xC5\x99\xC3\xAD"));
  write("work/SCN_AZERTY_FR.txt", read("work/SCN_QWERTY.txt"));
  for (const char* lang : {"en_US.UTF-8", "fr_FR.UTF-8"}) EXPECT_EQ(run(lang), 1) << lang;
  EXPECT_EQ(
      read("dialogs.log"),
      "box|error|Tavlet (beta)|..\\Docs\\Aerlon\\Pilots\\Ji?\xED\\controls.ini\\nnot found\\n"
      "A file or folder name has letters that this Windows' code page can't hold: see the "
      "guide.\r\n"
      "box|error|Tavlet (beta)|..\\Docs\\Aerlon\\Pilots\\Ji?\xED\\controls.ini\\npas trouv\xE9"
      "\\nUn nom de fichier ou de dossier a des lettres que la page de code de ce Windows "
      "ne peut pas repr\xE9senter : voir le guide.\r\n");
}

TEST_F(Tavlet, AReportOpenInAnotherProgram) {
  if (!windows_target()) GTEST_SKIP() << "files held by other programs are Windows's";
  write("work/SCN_AZERTY_FR.txt", "30=Q\r\n");
  write("work/Controls.csv", "open in a spreadsheet\r\n");
  for (const char* lang : {"en_US.UTF-8", "fr_FR.UTF-8"}) {
    // As Excel holds a CSV: others may read it, not write it.
    WindowsHelper spreadsheet("hold_file", {"Controls.csv", "write", "held.txt", "release.txt"},
                              dir_.file("work"));
    ASSERT_TRUE(wait_for_file(dir_.file("work/held.txt")));
    EXPECT_EQ(run(lang), 1) << console_;
    write("work/release.txt", "");
    EXPECT_EQ(spreadsheet.wait(), 0);
    fs::remove(dir_.file("work/held.txt"));
    fs::remove(dir_.file("work/release.txt"));
  }
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : Controls.csv\\nError opening\\n"
            "The file is open in another program: close it first.\r\n"
            "box|error|Tavlet (beta)|Fichier de sortie : Controls.csv\\nOuverture impossible\\n"
            "Le fichier est ouvert dans un autre programme : fermez-le d'abord.\r\n");
  EXPECT_EQ(read("work/Controls.csv"), "open in a spreadsheet\r\n");
}
