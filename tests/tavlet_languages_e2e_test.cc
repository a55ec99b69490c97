// Tavlet in other languages and code pages: accented letters on the
// console, in boxes and in the reports; a German machine.
#include "tests/tavlet_fixture.h"

TEST_F(Tavlet, AccentsOnAConsoleShowTheirLettersAndGoAsBytesToAFile) {
  if (!windows_target()) GTEST_SKIP() << "the console's wide text is Windows's";
  // A pilot whose name has an accented letter, as the registry gives it
  // (REGEDIT4: single bytes of the code page).
  std::string reg = read("registry.reg");
  reg.replace(0, reg.find("\r\n"), "REGEDIT4");
  std::size_t at;
  while ((at = reg.find("\"LastPlayer\"=\"Ann\"")) != std::string::npos) {
    reg.replace(at, 18, "\"LastPlayer\"=\"Ren\xE9\"");
  }
  write("registry.reg", reg);
  for (const char* folder : {"Docs/Aerlon/Pilots/", "Docs/Aerlon3/Pilots/"}) {
    write(std::string(folder) + "Ren\xC3\xA9/controls.ini",
          read(std::string(folder) + "Ann/controls.ini"));
  }
  ASSERT_EQ(run("C.UTF-8"), 0) << console_;
  EXPECT_NE(console_.find("player Ren\xE9\n"), std::string::npos);  // bytes to a file
  EXPECT_EQ(console_.find("Ren\xC3\xA9"), std::string::npos);

  // Started from a prompt, whose console stays: nothing waits for Enter.
  // (Enter is typed only after the window's question; Wine's console draws
  // a line's first blank as a move of the cursor.)
  RunOptions terminal;
  terminal.on_a_terminal = true;
  terminal.from_a_prompt = true;
  terminal.enter_after = "Press Enter to close this window.";
  ASSERT_EQ(run("C.UTF-8", {}, "no\n", terminal), 0) << console_;
  // The console got the letter é, which the terminal shows in its UTF-8.
  EXPECT_NE(console_.find("player Ren\xC3\xA9"), std::string::npos) << console_;
  EXPECT_EQ(console_.find("Press Enter to close this window."), std::string::npos) << console_;
  // Alone in a console of its own (Wine gives a program started on a
  // terminal one, with a window, as Explorer's double-click does), or from
  // a prompt that asks for it (a .cmd file): the window's end, then the
  // wait, which Enter typed after its question ends.
  for (bool prompt : {false, true}) {
    SCOPED_TRACE(prompt);
    terminal.from_a_prompt = prompt;
    extra_env_.clear();
    if (prompt) extra_env_.emplace_back("MALVET_WINDOW", "1");
    ASSERT_EQ(run("C.UTF-8", {}, "no\n", terminal), 0) << console_;
    EXPECT_NE(console_.find("Type C then Enter to open the reference card."), std::string::npos)
        << console_;
  }
}

TEST_F(Tavlet, AFrenchBoxUnderACentralEuropeanCodePageShowsEveryLetter) {
  if (!windows_target()) GTEST_SKIP() << "MessageBoxW under Wine";
  // A French user interface on a Central European Windows (1250): the
  // program's folder "\xC5\x81\xC3\xB3d\xC5\xBA" holds its tables but
  // CMD.txt. The transcript holds the box's bytes as they are, "\xEA" (1252's
  // \u00EA, 1250's \u0119) and the folder's "\xA3"; the box shows \u00EA and
  // \u0141, each run in its own code page. Wine's relay trace of
  // MessageBoxW tells what the box was given; no display: it shows nothing.
  const std::string folder = dir_.file(
      "\xC5\x81\xC3\xB3"
      "d\xC5\xBA");
  std::string tavlet = copy_program("Tavlet", folder);
  for (const char* table : {"CMD_A3.txt", "SCN_QWERTY.txt", "SCN_AZERTY_FR.txt"}) {
    write(std::string("\xC5\x81\xC3\xB3"
                      "d\xC5\xBA/") +
              table,
          read(std::string("work/") + table));
  }
  fs::create_directories(dir_.file("prompt"));
  run_program("wine",
              {"reg", "add", "HKCU\\Software\\Wine\\Debug", "/v", "RelayInclude", "/t", "REG_SZ",
               "/d", "user32.MessageBoxW", "/f"},
              "/", wine_env());
  EXPECT_EQ(run_malvet("Tavlet", {}, dir_.file("prompt"), dir_.file("registry.reg"),
                       {{"MALVET_DIALOG_LOG", dir_.file("dialogs.log")},
                        {"LC_ALL", ""},
                        {"LANG", "pl_PL.UTF-8"},
                        {"LC_CTYPE", "pl_PL.UTF-8"},
                        {"LC_MESSAGES", "fr_FR.UTF-8"},
                        {"DISPLAY", ""},
                        {"WINEDEBUG", "-all,+relay"}},
                       &console_, {}, tavlet),
            1);
  std::string box = read("dialogs.log");
  EXPECT_NE(box.find("\xA3\xF3"
                     "d\x9F\\CMD.txt ne peut pas \xEAtre ouvert  ***"),
            std::string::npos)
      << box;
  std::size_t call = console_.find("user32.MessageBoxW(");
  ASSERT_NE(call, std::string::npos) << console_;
  std::string given = console_.substr(call, console_.find('\n', call) - call);
  EXPECT_NE(given.find("\\0141\\00f3d\\017a\\\\CMD.txt ne peut pas \\00eatre ouvert"),
            std::string::npos)
      << given;
}

TEST_F(Tavlet, APolishPilotsNameKeepsItsLetters) {
  // Łukasz on a Central European Windows (code page 1250): the reports hold
  // the code page's byte, the page the letter itself.
  write("registry.reg", utf16_export(read("registry.reg"), "\xC5\x81ukasz"));
  const std::string on_disk = windows_target() ? "\xC5\x81ukasz" : "\xA3ukasz";
  for (const char* folder : {"Docs/Aerlon/Pilots/", "Docs/Aerlon3/Pilots/"}) {
    write(folder + on_disk + "/controls.ini", read(std::string(folder) + "Ann/controls.ini"));
  }
  extra_env_ = {{"MALVET_CODEPAGE", "1250"}};
  ASSERT_EQ(run("pl_PL.UTF-8"), 0) << console_;
  EXPECT_NE(
      read("work/Controls.txt").find("\r\n..\\Docs\\Aerlon\\Pilots\\\xA3ukasz\\controls.ini\r\n"),
      std::string::npos);
  std::string page = read("work/Controls.html");
  EXPECT_NE(page.find(">..\\Docs\\Aerlon3\\Pilots\\\xC5\x81ukasz\\controls.ini</p>"),
            std::string::npos);
  EXPECT_EQ(page.find("\xC2\xA3ukasz"), std::string::npos);  // never "£ukasz"

  // In French (the stand-in's: Wine takes the language and the code page
  // both from the locale), the program's own letters: the reports hold the
  // code page's, "a" for the "à" it lacks; the page the letters themselves.
  if (windows_target()) return;
  write("work/SCN_AZERTY_FR.txt", read("work/SCN_QWERTY.txt"));
  ASSERT_EQ(run("fr_FR.UTF-8"), 0) << console_;
  std::string report = read("work/Controls.txt");
  EXPECT_NE(report.find("Pas assign\xE9"
                        "e a une touche du clavier"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("\r\nDiff\xE9rences d'affectation entre Aerlon 2 et 3\r\n"),
            std::string::npos);
  EXPECT_NE(read("work/Controls.csv")
                .find("\"Pas assign\xE9"
                      "e a une touche du clavier"),
            std::string::npos);
  page = read("work/Controls.html");
  EXPECT_NE(page.find("\"text\":\"Pas assign\xC3\xA9"
                      "e \xC3\xA0 une touche du clavier\""),
            std::string::npos);
  EXPECT_EQ(page.find("\xC5\x95"), std::string::npos);  // never the code page's "\xE0"
}

TEST_F(Tavlet, AGermanMachineSpeaksGerman) {
  // A German user interface and ";" (German's own where the region gives
  // none, as on the stand-in; Wine takes Germany's region from the
  // locale): today's reports in German words, the command names as the
  // tables deliver them.
  ASSERT_EQ(run("de_DE.UTF-8"), 0) << console_;
  if (!windows_target()) {
    EXPECT_EQ(read("work/Controls.txt"), golden("both-versions-de.txt"));
    EXPECT_EQ(read("work/Controls.csv"), golden("both-versions-de.csv"));
  }
  std::string csv = read("work/Controls.csv");
  EXPECT_NE(csv.find("\r\n\"Befehl\";\"Knopf/Achse/Taste\";\"Ger\xE4t\";\r\n"), std::string::npos);
  EXPECT_NE(csv.find("\r\n\"Pause\";\"Space\";\"Tastatur\";\r\n"), std::string::npos);
  EXPECT_EQ(csv.find("\",\""), std::string::npos);
  EXPECT_EQ(read("dialogs.log"),
            "box|yesno|Tavlet (beta)|Die Tabelle der Steuerungsbelegung wurde geschrieben in : "
            "controls.txt\\nM\xF6"
            "chten Sie sie \xF6"
            "ffnen (mit dem Standard-Texteditor) ?\r\n");
  std::string page = read("work/Controls.html");
  EXPECT_NE(page.find("<html lang=\"de\">"), std::string::npos);
  EXPECT_NE(page.find("<h3>Freie Tasten</h3>"), std::string::npos);
  EXPECT_NE(page.find("\"language\":\"de\",\"keyboard\":\"iso\""), std::string::npos);
}
