// Tavlet run whole in a temporary installation: its reports compared byte for
// byte with what they must hold, in each language and region.
#include "tests/tavlet_fixture.h"

TEST_F(Tavlet, BothVersionsInEnglish) {
  if (windows_target()) GTEST_SKIP() << "Wine attaches no joystick (see WithoutAJoystick)";
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_EQ(read("work/Controls.txt"), golden("both-versions-en.txt"));
  EXPECT_EQ(read("work/Controls.csv"), golden("both-versions-en.csv"));
  EXPECT_EQ(run_log(dir_.file("work"), "Tavlet"), "\r\n" + txt("Zed", "Z"));
  EXPECT_EQ(read("work/Logfile.txt"),
            "Aerlon 2 install path: ..\\Games\\Aerlon2\r\n"
            "Aerlon 3 install path: ..\\Games\\Aerlon3\r\n");
  EXPECT_EQ(read("dialogs.log"), question_en);
  EXPECT_NE(console_.find(" (A,T17,A,T47,A)\n"), std::string::npos);
  EXPECT_NE(console_.find(" 9999 Command not found\n"), std::string::npos);
}

TEST_F(Tavlet, OnlyVersion3InFrench) {
  installed_[0] = false;
  write_registry();
  write("work/SCN_AZERTY_FR.txt",
        "2=1\r\n3=2\r\n11=0\r\n16=A\r\n30=Q\r\n44=W\r\n57=Espace\r\n59=F1\r\n200=Haut\r\n");
  fs::remove(dir_.file("work/CMD.txt"));  // not needed without version 2
  write("joysticks.txt", "");
  ASSERT_EQ(run("fr_FR.UTF-8"), 0) << console_;
  EXPECT_EQ(read("work/Controls.txt"), golden("only-version-3-fr.txt"));
  EXPECT_EQ(read("work/Controls.csv"), golden("only-version-3-fr.csv"));
  // The names that the layout gives differently from the table.
  EXPECT_EQ(run_log(dir_.file("work"), "Tavlet"),
            "\r\n" + txt("Espace", "Space") + txt("W", "Z") + txt("A", "Q"));
  EXPECT_EQ(read("dialogs.log"),
            "box|yesno|Tavlet (beta)|La table d'assignation des commandes a \xE9t\xE9 \xE9"
            "crite dans : controls.txt\\nVoulez vous l'ouvrir (avec l'\xE9"
            "diteur de texte par "
            "d\xE9"
            "faut) ?\r\n");

  // Windows 11's "Beta: Use Unicode UTF-8" keeps the program's code page,
  // but Notepad and spreadsheets read the reports as UTF-8: they get its
  // byte-order mark and letters. (Wine writes the system code page of its
  // locale anew at every start: the stand-in's registry shows it here.)
  if (windows_target()) return;
  write("registry.reg", read("registry.reg") + utf8_system_code_page);
  ASSERT_EQ(run("fr_FR.UTF-8"), 0) << console_;
  EXPECT_EQ(read("work/Controls.txt"),
            "\xEF\xBB\xBF" + latin1_to_utf8(golden("only-version-3-fr.txt")));
  EXPECT_EQ(read("work/Controls.csv"),
            "\xEF\xBB\xBF" + latin1_to_utf8(golden("only-version-3-fr.csv")));
  // Each file takes its mark before its own first line, whichever line
  // that is (here the simulator's, written to both at once).
  std::string aerlon = dir_.file("Games/Aerlon3/Aerlon.exe");
  for (char& c : aerlon) c = c == '/' ? '\\' : c;
  write("processes.txt", aerlon + "\r\n");
  extra_env_.emplace_back("MALVET_PROCESSES", dir_.file("processes.txt"));
  ASSERT_EQ(run("fr_FR.UTF-8"), 0) << console_;
  EXPECT_EQ(read("work/Controls.txt").substr(0, 15), "\xEF\xBB\xBF" "Aerlon 3 \xC3\xA9t");
  EXPECT_EQ(read("work/Controls.csv").substr(0, 16), "\xEF\xBB\xBF\"Aerlon 3 \xC3\xA9t");
}

TEST_F(Tavlet, EnglishForcedOnAFrenchSystem) {
  ASSERT_EQ(run("fr_FR.UTF-8", {"-EN"}), 0) << console_;
  std::string english = read("work/Controls.txt");
  EXPECT_NE(english.find(txt("Control", "Button/Axis/Key", "Device")), std::string::npos);
  EXPECT_EQ(read("dialogs.log"), question_en);

  // Any other argument leaves the language to the system: the French table
  // is then needed.
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run("fr_FR.UTF-8", {"-en"}), 1);
  EXPECT_EQ(run("fr_FR.UTF-8", {"-EN", "x"}), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|*** Le fichier SCN_AZERTY_FR.txt ne peut pas \xEAtre "
            "ouvert  ***\r\n"
            "box|error|Tavlet (beta)|*** Le fichier SCN_AZERTY_FR.txt ne peut pas \xEAtre "
            "ouvert  ***\r\n");
  EXPECT_EQ(read("work/Controls.txt"), english);  // never reached
}

TEST_F(Tavlet, NoDifferencesBetweenTheVersions) {
  write("Docs/Aerlon/Pilots/Ann/controls.ini", "[Keyboard]\r\n3001=57\r\n3004=30\r\n");
  write("Docs/Aerlon3/Pilots/Ann/controls.ini", "[Keyboard]\r\n3101=57\r\n");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_NE(read("work/Controls.txt")
                .find(" \r\nAerlon 2 and 3 assignment differences\r\n \r\nNone\r\n \r\n"),
            std::string::npos);
  EXPECT_NE(read("work/Controls.csv")
                .find(" \r\n\"Aerlon 2 and 3 assignment differences\";;\r\n \r\n\"None\";;\r\n"),
            std::string::npos);
}

TEST_F(Tavlet, SideWinderAxesAndOnlyVersion2) {
  if (windows_target()) GTEST_SKIP() << "Wine attaches no joystick";
  joystick_name_ = "SideWinder Force Feedback 2 Joystick";
  installed_[1] = false;
  write_registry();
  write("joysticks.txt", "# slot axes buttons vendor product\r\n0 9 0 045E 001B\r\n");
  write("Docs/Aerlon/Pilots/Ann/controls.ini",
        "[Keyboard]\r\n3001=57\r\n" + joystick_header + "\r\n1000=1024\r\n1001=1004\r\n");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  const std::string sw = joystick_name_;
  std::string report = read("work/Controls.txt");
  // One version: lmax is version 2's longest name, "Release tow".
  auto row = [&](const std::string& f1, const std::string& f2, const std::string& f3) {
    std::string r = f1;
    r.resize(15, ' ');
    r += f2;
    r.resize(45, ' ');
    return r + f3 + crlf;
  };
  EXPECT_NE(report.find(row("Aileron", "Cursor", sw) + row("Elevator", "Y Axis", sw)),
            std::string::npos);
  EXPECT_NE(report.find(" \r\n" + row(" ", "X Axis", sw) + row(" ", "Z Axis", sw) +
                        row(" ", "4 Axis", sw) + row(" ", "5 Axis", sw) + row(" ", "7 Axis", sw) +
                        row(" ", "Hat switch", sw)),
            std::string::npos);
  EXPECT_EQ(report.find("differences"), std::string::npos);
  EXPECT_NE(read("work/Controls.csv").find("\" \",\"4 Axis\",\"" + sw + "\",\r\n"),
            std::string::npos);
}

TEST_F(Tavlet, BothVersionsWithoutAJoystick) {
  write("joysticks.txt", "");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_EQ(
      read("work/Controls.txt"),
      english_block("..\\Docs\\Aerlon\\Pilots\\Ann\\controls.ini", v2_rows_without_joystick) +
          english_block("..\\Docs\\Aerlon3\\Pilots\\Ann\\controls.ini",
                        txt("Aileron", "Unassigned") + txt("Elevator", "Unassigned") +
                            txt("Pause", "Space", "Keyboard") + txt("Pause", "Q", "Keyboard") +
                            txt("Release tow", "Z", "Keyboard") +
                            txt("Airbrakes", "Not assigned to a keyboard key") +
                            txt("Engine start", "1", "Keyboard")) +
          // Airbrakes: 99 (the unrecognised key) against never bound.
          " \r\nAerlon 2 and 3 assignment differences\r\n \r\n" + txt("Release tow") +
          txt("Airbrakes") + " \r\n..\\Palvik\\Settings\\Palvik.ini\r\n \r\n" +
          txt("KeyMenu", "Up", "Keyboard") +
          "\r\nKeys, axes and buttons not used in Aerlon, Palvik\r\n\r\n" +
          txt(" ", "F1", "Keyboard"));
  EXPECT_EQ(run_log(dir_.file("work"), "Tavlet"), "\r\n" + txt("Zed", "Z"));
  EXPECT_EQ(read("dialogs.log"), question_en);
}

TEST_F(Tavlet, AnsweringYesOpensTheReportWithoutWaitingAndNoOpensNothing) {
  if (windows_target()) GTEST_SKIP() << "Wine would start its text editor";
  // A document opener on the PATH that records what it is given; the run is
  // followed to the end of what it started.
  write("bin/xdg-open", "#!/bin/sh\necho \"$@\" >> \"" + dir_.file("opened.txt") + "\"\n");
  fs::permissions(dir_.file("bin/xdg-open"), fs::perms::owner_all);
  extra_env_ = {{"PATH", dir_.file("bin") + ":" + std::getenv("PATH")}};
  RunOptions followed;
  followed.until_all_it_started_ended = true;
  ASSERT_EQ(run("en_US.UTF-8", {}, "no\n", followed), 0) << console_;
  EXPECT_FALSE(fs::exists(dir_.file("opened.txt")));
  ASSERT_EQ(run("en_US.UTF-8", {}, "yes\n", followed), 0) << console_;
  EXPECT_EQ(read("opened.txt"), "Controls.txt\n");
  EXPECT_EQ(read("dialogs.log"), question_en + question_en);

  // In a window of its own (a double-click, or a .cmd file that asks for
  // it), after the question: what was written, then a wait for Enter; "c"
  // opens the reference card by its name in the working folder, Enter alone
  // or the end of the input nothing. Of the line typed only its first 64
  // characters count.
  std::string card_name = dir_.file("work/Controls.html");
  for (char& c : card_name) c = c == '/' ? '\\' : c;
  struct Typed {
    const char* window;
    std::string typed;
    bool opens;
  };
  const Typed rows[] = {
      {"MALVET_EXPLORER", "\n", false},
      {"MALVET_EXPLORER", "", false},
      {"MALVET_EXPLORER", " c\r\n", true},
      {"MALVET_WINDOW", " C\n", true},
      {"MALVET_EXPLORER", "c" + std::string(70, ' ') + "x\n", true},
  };
  for (const Typed& row : rows) {
    SCOPED_TRACE(row.window + (": " + row.typed));
    fs::remove(dir_.file("opened.txt"));
    followed.standard_input = row.typed;
    extra_env_.resize(1);
    extra_env_.emplace_back(row.window, "1");
    ASSERT_EQ(run("en_US.UTF-8", {}, "no\n", followed), 0) << console_;
    EXPECT_EQ(console_.substr(console_.rfind("\n\n")),
              "\n\n Tavlet wrote Controls.txt, Controls.csv and the reference card:\n " +
                  card_name +
                  "\n Type C then Enter to open the reference card.\n"
                  " Press Enter to close this window.\n");
    EXPECT_EQ(read("opened.txt"), row.opens ? "Controls.html\n" : "");
  }
  // The window's words are the program's own, in the machine's code page: a
  // French pilot's on a Cyrillic Windows (1251), which has no "é" nor "ê".
  write("work/SCN_AZERTY_FR.txt", read("work/SCN_QWERTY.txt"));
  extra_env_.emplace_back("MALVET_CODEPAGE", "1251");
  followed.standard_input = "\n";
  ASSERT_EQ(run("fr_FR.UTF-8", {}, "no\n", followed), 0) << console_;
  EXPECT_EQ(console_.substr(console_.rfind("\n\n")),
            "\n\n Tavlet a ecrit Controls.txt, Controls.csv et la carte de reference :\n " +
                card_name +
                "\n Tapez C puis Entree pour ouvrir la carte de reference.\n"
                " Appuyez sur Entree pour fermer cette fenetre.\n");
}

TEST_F(Tavlet, ControlsFilesInOtherEncodingsGiveTheSameReport) {
  write("joysticks.txt", "");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  const std::string report = read("work/Controls.txt");
  const std::string v3 = read("Docs/Aerlon3/Pilots/Ann/controls.ini");
  std::string utf16 = "\xFF\xFE", cr_only, no_last_end = v3.substr(0, v3.size() - 2);
  for (char c : v3) {
    utf16.push_back(c);
    utf16.push_back('\0');
    if (c != '\n') cr_only.push_back(c);
  }
  for (const std::string& content : {utf16, cr_only, no_last_end}) {
    write("Docs/Aerlon3/Pilots/Ann/controls.ini", content);
    ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
    EXPECT_EQ(read("work/Controls.txt"), report);
  }
}

TEST_F(Tavlet, EmptyControlsFileLeavesEveryCommandUnbound) {
  installed_[0] = false;
  write_registry();
  write("Docs/Aerlon3/Pilots/Ann/controls.ini", "");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_NE(read("work/Controls.txt")
                .find(txt("Aileron", "Unassigned") + txt("Elevator", "Unassigned") +
                      txt("Pause", "Unassigned") + txt("Release tow", "Unassigned") +
                      txt("Airbrakes", "Unassigned") + txt("Engine start", "Unassigned")),
            std::string::npos);
}

TEST_F(Tavlet, KeyTextsThatReachTheDeviceColumnKeepTheirEnd) {
  // Key codes with all four modifiers: 30 and 31 characters of key text.
  write("Palvik/Settings/Palvik.ini", "KeyA=SCN-149946\r\nKeyB=SCN-149652\r\nKeyC=SCN328\r\n");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_NE(
      read("work/Controls.txt")
          .find(" \r\n..\\Palvik\\Settings\\Palvik.ini\r\n \r\n"
                "KeyA" +
                std::string(12, ' ') + "LONG+CTRL+SHFT+ALT+Right Shift Keyboard\r\n" + "KeyB" +
                std::string(12, ' ') + "LONG+CTRL+SHFT+ALT+Right Window Keyboard\r\n" +
                txt("KeyC", "Up", "Keyboard")),
      std::string::npos);
  EXPECT_NE(read("work/Controls.csv")
                .find("\"KeyB\",\"LONG+CTRL+SHFT+ALT+Right Window\",\"Keyboard\",\r\n"),
            std::string::npos);
}

TEST_F(Tavlet, AOneDriveDocumentsFolderKeepsTheCsvRowsWhole) {
  // "C:\Users\<name>\OneDrive - <Organisation>\Documents": a heading longer
  // than a row, its path cut inside its quotes.
  documents_ =
      "OneDrive - Aerlon Soaring Club of the Upper Rhine Valley and the Black Forest e.V. "
      "Documents";
  write_registry();
  for (const char* v : {"Aerlon", "Aerlon3"}) {
    std::string file = std::string(v) + "/Pilots/Ann/controls.ini";
    write(documents_ + "/" + file, read("Docs/" + file));
  }
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  std::string path = "..\\" + documents_ + "\\Aerlon3\\Pilots\\Ann\\controls.ini";
  ASSERT_GT(path.size(), 119u);
  std::string csv = read("work/Controls.csv");
  EXPECT_NE(csv.find("\r\n\"" + path.substr(0, 119) + "\",\"\",\"\",\r\n"), std::string::npos)
      << csv;
  EXPECT_NE(read("work/Controls.txt").find("\r\n" + path + "\r\n"), std::string::npos);
}

TEST_F(Tavlet, AJoystickInTheLastSlot) {
  if (windows_target()) GTEST_SKIP() << "Wine attaches no joystick";
  write("joysticks.txt", "15 3 4 045E 001B\r\n");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  std::string report = read("work/Controls.txt");
  EXPECT_NE(report.find(txt("Aileron", "X Axis", "Stick One")), std::string::npos);
  EXPECT_NE(report.find(txt(" ", "Button 3", "Stick One")), std::string::npos);
}

TEST_F(Tavlet, StartedFromAPromptInAnotherFolder) {
  // The program and its tables in their folder; the prompt elsewhere, where
  // the reports and the log go.
  for (const char* table : {"CMD.txt", "CMD_A3.txt", "SCN_QWERTY.txt"}) {
    write(std::string("Tools/Malvet/") + table, read(std::string("work/") + table));
  }
  std::string tavlet = copy_program("Tavlet", dir_.file("Tools/Malvet"));
  fs::create_directories(dir_.file("prompt"));
  write("answers.txt", "no\n");
  ASSERT_EQ(run_malvet("Tavlet", {}, dir_.file("prompt"), dir_.file("registry.reg"),
                       {{"MALVET_JOYSTICKS", dir_.file("joysticks.txt")},
                        {"MALVET_DIALOGS", dir_.file("answers.txt")},
                        {"MALVET_DIALOG_LOG", dir_.file("dialogs.log")},
                        {"LC_ALL", "en_US.UTF-8"}},
                       &console_, {}, tavlet),
            0)
      << console_;
  EXPECT_NE(read("prompt/Controls.txt").find(txt("Pause", "Space", "Keyboard")), std::string::npos);
  EXPECT_EQ(files_starting_with(dir_.file("prompt"), "Tavlet_").size(), 1u);
  EXPECT_FALSE(fs::exists(dir_.file("Tools/Malvet/Controls.txt")));
  EXPECT_NE(console_.find(" tables: "), std::string::npos) << console_;
  EXPECT_NE(console_.find("\\Tools\\Malvet\\\n"), std::string::npos) << console_;
  EXPECT_EQ(read("dialogs.log"), question_en);

  // The tables are one set: a working folder that holds any of them gives
  // them all, a missing one failing there, never taken from beside the
  // program; the working folder's whole set wins over the program's.
  const std::string cmd_a3 = read("work/CMD_A3.txt");
  write("Tools/Malvet/CMD_A3.txt", "3001=Another release's name\r\n");
  write("prompt/CMD.txt", read("work/CMD.txt"));
  fs::remove(dir_.file("dialogs.log"));
  auto run_in_prompt = [&] {
    return run_malvet("Tavlet", {}, dir_.file("prompt"), dir_.file("registry.reg"),
                      {{"MALVET_JOYSTICKS", dir_.file("joysticks.txt")},
                       {"MALVET_DIALOGS", dir_.file("answers.txt")},
                       {"MALVET_DIALOG_LOG", dir_.file("dialogs.log")},
                       {"LC_ALL", "en_US.UTF-8"}},
                      &console_, {}, tavlet);
  };
  EXPECT_EQ(run_in_prompt(), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|*** File CMD_A3.txt cannot be opened  ***\r\n");
  write("prompt/CMD_A3.txt", cmd_a3);
  write("prompt/SCN_QWERTY.txt", read("work/SCN_QWERTY.txt"));
  fs::remove(dir_.file("dialogs.log"));
  ASSERT_EQ(run_in_prompt(), 0) << console_;
  EXPECT_EQ(read("prompt/Controls.txt").find("Another release's name"), std::string::npos);

  // The other way round: CMD_A3.txt there, CMD.txt missing there.
  fs::remove(dir_.file("prompt/CMD.txt"));
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run_in_prompt(), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|*** File CMD.txt cannot be opened  ***\r\n");
  // No table anywhere: the working folder's is named, never the program's.
  for (std::string folder : {"prompt/", "Tools/Malvet/"}) {
    for (const char* table : {"CMD.txt", "CMD_A3.txt", "SCN_QWERTY.txt"}) {
      fs::remove(dir_.file(folder + table));
    }
  }
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run_in_prompt(), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|*** File CMD.txt cannot be opened  ***\r\n");
  EXPECT_NE(console_.find(" tables: " + std::string(windows_target() ? "Z:" : "")),
            std::string::npos);

  // A program folder whose name the code page can't hold (a Czech name on a
  // Western European Windows): its tables can't be read; the box says why.
  if (!windows_target()) return;
  std::string czech = copy_program("Tavlet", dir_.file("Ji\xC5\x99\xC3\xAD"));
  for (const char* table : {"CMD.txt", "CMD_A3.txt", "SCN_QWERTY.txt"}) {
    write(std::string("Ji\xC5\x99\xC3\xAD/") + table, read(std::string("work/") + table));
  }
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run_malvet("Tavlet", {}, dir_.file("prompt"), dir_.file("registry.reg"),
                       {{"MALVET_DIALOGS", dir_.file("answers.txt")},
                        {"MALVET_DIALOG_LOG", dir_.file("dialogs.log")},
                        {"LC_ALL", "C.UTF-8"}},
                       &console_, {}, czech),
            1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|*** File CMD.txt cannot be opened  ***\\nA file or folder "
            "name has letters that this Windows' code page can't hold: see the guide.\r\n");
}
