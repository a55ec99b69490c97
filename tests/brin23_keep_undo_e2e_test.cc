// Brin23 -keep, which keeps what only version 3 has, and Brin23 -undo, which
// puts the last backup back.
#include "tests/brin23_fixture.h"


TEST_F(Example, KeepLeavesAnnsEngineOnE) {
  // Ann's version-3 file binds "Engine start/stop" (3114), which version 2
  // lacks, to E and to her stick's button 6: both stay.
  const std::string before = read(ann_v3);
  ASSERT_EQ(run("Brin23", {"-Keep"}), 0) << console_;
  EXPECT_EQ(read(ann_v3), golden("example-kept-controls.ini"));
  EXPECT_EQ(read(ann_v3 + "_00000.bak"), before);
  std::string log = run_log(dir_.file("Tools/Malvet"), "Brin23");
  EXPECT_EQ(log.substr(log.find("\r\nfile: ")),
            "\r\nfile: ..\\..\\Users\\Ann\\Documents\\Aerlon\\Pilots\\Ann\\controls.ini converted "
            "to ..\\..\\Users\\Ann\\Documents\\Aerlon3\\Pilots\\Ann\\controls.ini\r\n"
            "kept 2 bindings of version 3\r\n");
  EXPECT_NE(console_.find("\n 3114=18   (kept)\n"), std::string::npos) << console_;
  // The receipt's second sum: what the new file holds of each.
  std::string receipt = read("Tools/Malvet/" + receipts(dir_.file("Tools/Malvet")).at(0));
  EXPECT_NE(receipt.find("\r\nWritten to Aerlon 3: 46 from Aerlon 2 + 2 kept from the old file; of "
                         "the old file's own bindings, 0 left out\r\n"),
            std::string::npos)
      << receipt;

  ASSERT_EQ(run("Tavlet", {"-EN"}), 0) << console_;
  std::string report = read("Tools/Malvet/Controls.txt");
  EXPECT_NE(report.find("\r\nEngine start/stop" + std::string(13, ' ') + "E" +
                        std::string(29, ' ') + "Keyboard\r\n"),
            std::string::npos)
      << report;
}

TEST_F(Example, ThePilotWhoDoubleClickedTwiceGetsHerEngineBack) {
  const std::string before = read(ann_v3);
  const std::string folder = "..\\..\\Users\\Ann\\Documents\\Aerlon3\\Pilots\\Ann\\";
  // In a window of its own the run ends by saying what it did, and how to
  // get what it left out back, then waits for Enter.
  // (The stand-in's: under Wine no console is the program's own.)
  ASSERT_EQ(run("Brin23", {}, !windows_target()), 0) << console_;
  if (!windows_target()) {
    EXPECT_EQ(console_.substr(console_.find("\n\n Done")),
              "\n\n Done: this file is written anew: " + folder +
                  "controls.ini\n"
                  " Bindings from Aerlon 2: 46. Kept from Aerlon 3: 0. Left out: 2.\n"
                  " The file it replaced is kept as " +
                  folder +
                  "controls.ini_00000.bak\n"
                  " 2 bindings of Aerlon 3's own are left out: to get them back, double-click "
                  "Brin23-undo.cmd, then Brin23-keep.cmd.\n"
                  " Aerlon 2 bindings read: 48 = 46 carried + 0 under a new name + 2 not carried "
                  "+ 0 unreadable\n"
                  " Every binding by name: " +
                  shown_path(dir_.file("Tools/Malvet/" + receipts(dir_.file("Tools/Malvet")).at(0))) +
                  "\n Type C then Enter to open it.\n"
                  " Press Enter to close this window.\n");
  }
  ASSERT_EQ(run("Brin23", {}), 0) << console_;
  EXPECT_EQ(console_.find("Press Enter"), std::string::npos) << console_;

  // -keep now finds nothing of the file's own, and says where it is.
  ASSERT_EQ(run("Brin23", {"-keep"}), 0) << console_;
  std::string console = before_receipt(console_);
  EXPECT_EQ(console.substr(console.rfind("\n This file")),
            "\n This file held no binding of version 3's own, but the backup " + folder +
                "controls.ini_00000.bak holds 2: Brin23 -undo once, then Brin23 -keep, keeps them "
                "(double-click Brin23-undo.cmd, then Brin23-keep.cmd).\n");

  // Brin23-undo.cmd once gives her own file back (its bytes already in a
  // backup: none is made, and nothing is said of one), Brin23-keep.cmd then
  // keeps "Engine start/stop" on E and the stick's button 6.
  ASSERT_EQ(run("Brin23", {"-undo"}, !windows_target()), 0) << console_;
  EXPECT_EQ(read(ann_v3), before);
  if (!windows_target()) {
    EXPECT_EQ(console_.substr(console_.find("\n\n Done")),
              "\n\n Done: this file is put back as it was: " + folder + "controls.ini\n" +
                  " restored from " + folder + "controls.ini_00000.bak\n" +
                  " Press Enter to close this window.\n");
  }
  ASSERT_EQ(run("Brin23", {"-keep"}), 0) << console_;
  EXPECT_EQ(read(ann_v3), golden("example-kept-controls.ini"));
}

TEST_F(Brin23, AGermanMachineConvertsInGerman) {
  // The same file; the console's note and -keep's log line in German.
  ASSERT_EQ(run("de_DE.UTF-8"), 0) << console_;
  EXPECT_EQ(read(v3_posix), converted);
  std::string console = before_receipt(console_);
  EXPECT_EQ(console.substr(console.rfind('\n', console.size() - 2)),
            "\n 1 Belegung der Version 3 ist nicht in der neuen Datei: Die Sicherung " + v3_file +
                "_00000.bak enth\xE4lt sie; Brin23 -undo, dann Brin23 -keep, beh\xE4lt sie (per "
                "Doppelklick: Brin23-undo.cmd, dann Brin23-keep.cmd).\n");
  write(v3_posix, old_v3);
  for (const std::string& log : files_starting_with(dir_.file("work"), "Brin23_")) {
    fs::remove(dir_.file("work/" + log));
  }
  ASSERT_EQ(run("de_DE.UTF-8", {"-keep"}), 0) << console_;
  std::string log = run_log(dir_.file("work"), "Brin23");
  EXPECT_EQ(log.substr(log.rfind("\r\n", log.size() - 3)),
            "\r\n1 Belegung der Version 3 behalten\r\n");
  EXPECT_EQ(read("dialogs.log"), "");
}

TEST_F(Brin23, UndoWalksBackThroughTheHistory) {
  // A pilot who double-clicked twice: _00000 is her own file, _00001 the
  // first conversion, the same as the file now.
  ASSERT_EQ(run(), 0) << console_;
  // Without -keep the console ends by saying what -keep would have kept.
  std::string console = before_receipt(console_);
  EXPECT_EQ(console.substr(console.rfind('\n', console.size() - 2)),
            "\n 1 binding of version 3 is not in the new file: the backup " + v3_file +
                "_00000.bak holds it; Brin23 -undo, then Brin23 -keep, keeps it (double-click "
                "Brin23-undo.cmd, then Brin23-keep.cmd).\n");
  ASSERT_EQ(run(), 0) << console_;
  const std::string folder = "Docs/Aerlon3/Pilots/Ann/";
  auto undo = [&] {
    for (const std::string& log : files_starting_with(dir_.file("work"), "Brin23_")) {
      fs::remove(dir_.file("work/" + log));
    }
    return run("en_US.UTF-8", {"-UNDO"});
  };

  // One -undo: her own file, passing over the copy of today's; no backup
  // is made, the file's bytes being in one. A copy a run cut short goes
  // all the same; the record tells of each run.
  write(folder + "controls.ini.partial", "half a copy");
  ASSERT_EQ(undo(), 0) << console_;
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_FALSE(fs::exists(dir_.file(folder + "controls.ini.partial")));
  std::string record = read(folder + "controls.ini.history");
  EXPECT_EQ(std::count(record.begin(), record.end(), '\n'), 3) << record;
  EXPECT_NE(console_.find("\n same as controls.ini: " + v3_file + "_00001.bak\n"),
            std::string::npos)
      << console_;
  EXPECT_EQ(run_log(dir_.file("work"), "Brin23"),
            "\r\nrestored from " + v3_file + "_00000.bak\r\n");
  EXPECT_EQ(backups().size(), 2u);

  // At the bottom: nothing older differs; nothing is touched.
  EXPECT_EQ(undo(), 1);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + v3_file + "\\nno older backup\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_EQ(backups().size(), 2u);

  // A file changed since, which no backup holds, is backed up first, one
  // above the highest; the walk then goes back from the newest, and says so.
  write(v3_posix, "[Mine]\r\n");
  write(folder + "controls.ini_00005.bak", converted);
  ASSERT_EQ(undo(), 0) << console_;
  EXPECT_EQ(read(v3_posix), converted);
  EXPECT_EQ(read(folder + "controls.ini_00006.bak"), "[Mine]\r\n");
  EXPECT_EQ(run_log(dir_.file("work"), "Brin23"),
            "\r\nThe record of Brin23's runs does not tell where this file stands (it changed "
            "since, or the record is missing or unreadable): going back from the newest "
            "backup.\r\n" +
                copy_log(v3_file, v3_file + "_00006.bak") + "restored from " + v3_file +
                "_00005.bak\r\n");

  // No current file: the newest backup comes back, no new one is made.
  fs::remove(dir_.file(v3_posix));
  ASSERT_EQ(undo(), 0) << console_;
  EXPECT_EQ(read(v3_posix), "[Mine]\r\n");
  EXPECT_EQ(backups().size(), 4u);
}

TEST_F(Brin23, UndoWithoutABackupInEachLanguage) {
  write("Docs/Aerlon3/Pilots/Ann/controls.ini_abcde.bak", "no number");
  EXPECT_EQ(run("en_US.UTF-8", {"-undo"}), 1);
  EXPECT_EQ(run("fr_FR.UTF-8", {"-undo"}), 1);
  EXPECT_EQ(run("de_DE.UTF-8", {"-undo"}), 1);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + v3_file +
                                     "\\nno backup found\r\n"
                                     "box|error|Tavlet (beta)|" +
                                     v3_file +
                                     "\\naucune sauvegarde trouv\xE9"
                                     "e\r\n"
                                     "box|error|Tavlet (beta)|" +
                                     v3_file + "\\nkeine Sicherung gefunden\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_EQ(backups(), (std::vector<std::string>{"controls.ini_abcde.bak"}));
}

TEST_F(Brin23, WhatTheConsoleAndTheLogSayOfWhatIsKept) {
  // The old version-3 file's own bindings: 3101=57 takes the key that
  // version 2's 3001 (3102 now) binds; 3103=30 is free to stay.
  const std::string own = "[Keyboard]\r\n3101=57\r\n3103=30\r\n";
  const std::string note = " not in the new file";
  struct Case {
    const char* what;
    std::vector<std::string> args;
    std::optional<std::string> old;  // the version-3 file before the run
    std::string file;                // after it
    std::string says;                // what the console says (first)
    std::string log_tail;
  };
  const Case cases[] = {
      {"-keep: one kept, one left out, each said",
       {"-keep"},
       own,
       "[Keyboard]\r\n2105=25\r\n2106=\r\n3102=57\r\n3103=30\r\n"
       "[{9F6A1A40-D1E6-11E9-8001-444553540000}]\r\n2105=1000\r\n",
       "\n 3101=57   (left out: its value is bound anew)\n 3103=30   (kept)\n"
       " [{9F6A1A40-D1E6-11E9-8001-444553540000}]\n 2105=1000\n"
       " kept 1 binding of version 3; left out 1 whose value a binding of version 2 now has\n",
       " converted to " + v3_file + "\r\nkept 1 binding of version 3\r\n"},
      // Nothing kept, but the file had its own: no backup to look for.
      {"-keep: all of the file's own bound anew",
       {"-keep"},
       "[Keyboard]\r\n3101=57\r\n",
       converted,
       "\n 3101=57   (left out: its value is bound anew)\n"
       " [{9F6A1A40-D1E6-11E9-8001-444553540000}]\n 2105=1000\n"
       " kept 0 bindings of version 3; left out 1 whose value a binding of version 2 now has\n",
       " converted to " + v3_file + "\r\nkept 0 bindings of version 3\r\n"},
      {"-keep with no old file: the plain run",
       {"-keep"},
       std::nullopt,
       converted,
       "",
       " converted to " + v3_file + "\r\n"},
      {"a plain run ends by counting what -keep would keep",
       {},
       own,
       converted,
       // (what -keep would keep: not the one it would leave out)
       " 1 binding of version 3 is" + note + ": the backup " + v3_file +
           "_00000.bak holds it; Brin23 -undo, then Brin23 -keep, keeps it (double-click "
           "Brin23-undo.cmd, then Brin23-keep.cmd).\n",
       " converted to " + v3_file + "\r\n"},
      {"-3: the old file is the source, nothing to count",
       {"-3"},
       "[K]\r\n2040=7\r\n3101=5\r\n",
       "[K]\r\n2105=7\r\n",
       "\n 2105=7\n",
       " converted to " + v3_file + "\r\n"},
      {"a conversion of one line",
       {"..\\one.ini"},
       std::nullopt,
       "2106=9\r\n",
       "\n 2106=9\n",
       " converted to " + v3_file + "\r\n"},
  };
  write("one.ini", "2041=9");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir_.file("Docs/Aerlon3/Pilots/Ann"));
    fs::create_directories(dir_.file("Docs/Aerlon3/Pilots/Ann"));
    if (c.old) write(v3_posix, *c.old);
    for (const std::string& log : files_starting_with(dir_.file("work"), "Brin23_")) {
      fs::remove(dir_.file("work/" + log));
    }
    ASSERT_EQ(run("en_US.UTF-8", c.args), 0) << console_;
    EXPECT_EQ(read(v3_posix), c.file);
    EXPECT_NE(console_.find(c.says), std::string::npos) << console_;
    bool noted = c.says.find(note) != std::string::npos;
    // The note is the console's last line, and only where the old file had
    // bindings of its own that the new one lacks.
    EXPECT_EQ(console_.find(note) != std::string::npos, noted);
    EXPECT_EQ(console_.find("held no binding"), std::string::npos) << console_;
    if (noted) {
      std::string console = before_receipt(console_);
      EXPECT_EQ(console.substr(console.size() - c.says.size()), c.says);
    }
    std::string log = run_log(dir_.file("work"), "Brin23");
    EXPECT_EQ(log.substr(log.size() - std::min(log.size(), c.log_tail.size())), c.log_tail);
    bool kept_logged = c.args == std::vector<std::string>{"-keep"} && c.old;
    EXPECT_EQ(log.find("kept") != std::string::npos, kept_logged);
  }
  // In a window of its own (the stand-in's), -keep's summary counts what it
  // left out and names no way to get it back: -keep is that way.
  if (windows_target()) return;
  fs::remove_all(dir_.file("Docs/Aerlon3/Pilots/Ann"));
  fs::create_directories(dir_.file("Docs/Aerlon3/Pilots/Ann"));
  write(v3_posix, own);
  extra_env_.emplace_back("MALVET_EXPLORER", "1");
  RunOptions enter;
  enter.standard_input = "\n";
  for (const std::string& receipt : receipts(dir_.file("work"))) {
    fs::remove(dir_.file("work/" + receipt));
  }
  ASSERT_EQ(run("en_US.UTF-8", {"-keep"}, "", enter), 0) << console_;
  EXPECT_EQ(console_.substr(console_.find("\n\n Done")),
            "\n\n Done: this file is written anew: " + v3_file +
                "\n Bindings from Aerlon 2: 4. Kept from Aerlon 3: 1. Left out: 1.\n"
                " The file it replaced is kept as " +
                v3_file +
                "_00000.bak\n"
                " Aerlon 2 bindings read: 8 = 4 carried + 0 under a new name + 2 not carried + 2 "
                "unreadable\n"
                " Every binding by name: " +
                shown_path(dir_.file("work/" + receipts(dir_.file("work")).at(0))) +
                "\n Type C then Enter to open it.\n Press Enter to close this window.\n");
  // Its words are the program's own, in the machine's code page: a French
  // pilot's on a Cyrillic Windows (1251), which has no "é", "à" nor "ô".
  fs::remove_all(dir_.file("Docs/Aerlon3/Pilots/Ann"));
  fs::create_directories(dir_.file("Docs/Aerlon3/Pilots/Ann"));
  write(v3_posix, own);
  extra_env_.emplace_back("MALVET_CODEPAGE", "1251");
  ASSERT_EQ(run("fr_FR.UTF-8", {"-keep"}, "", enter), 0) << console_;
  const std::string said = console_.substr(console_.find("\n\n Termine"));
  EXPECT_EQ(said.substr(0, said.find(" Assignations d'")),
            "\n\n Termine : ce fichier est ecrit a nouveau : " + v3_file +
                "\n Assignations reprises d'Aerlon 2 : 4. Gardees d'Aerlon 3 : 1. Laissees de "
                "cote : 1.\n Le fichier remplace est garde sous " +
                v3_file + "_00000.bak\n");
  EXPECT_NE(said.find("\n Assignations d'Aerlon 2 lues : 8 = 4 reprises + 0 sous un nouveau nom "
                      "+ 2 non reprises + 2 illisibles\n Chaque assignation par son nom : "),
            std::string::npos)
      << said;
  EXPECT_EQ(said.substr(said.rfind(".txt\n")),
            ".txt\n Tapez C puis Entree pour ouvrir le compte rendu.\n"
            " Appuyez sur Entree pour fermer cette fenetre.\n");
}

TEST_F(Brin23, UndoTakesNoLinkNorUnreadableFileForABackup) {
  if (windows_target()) GTEST_SKIP() << "links and permissions are staged on Linux";
  ASSERT_EQ(run(), 0) << console_;  // _00000: the old file; the file: converted
  const std::string folder = "Docs/Aerlon3/Pilots/Ann/";
  // A backup's name that is a link to controls.ini, or the file itself
  // under another name, holds none of its bytes of its own. With no record
  // at all, nothing is said of one.
  fs::create_symlink(dir_.file(v3_posix), dir_.file(folder + "controls.ini_00001.bak"));
  fs::create_hard_link(dir_.file(v3_posix), dir_.file(folder + "controls.ini_00002.bak"));
  fs::remove(dir_.file(folder + "controls.ini.history"));
  ASSERT_EQ(run("en_US.UTF-8", {"-undo"}), 0) << console_;
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_EQ(read(folder + "controls.ini_00003.bak"), converted);  // a file of their own
  EXPECT_EQ(console_.find("record"), std::string::npos) << console_;
  // A backup that can't be read is not known to differ: -undo stops and
  // names it, touching nothing.
  open_to_everyone(dir_.path());
  fs::remove(dir_.file(folder + "controls.ini_00002.bak"));
  fs::permissions(dir_.file(folder + "controls.ini_00003.bak"), fs::perms::none);
  fs::remove(dir_.file("dialogs.log"));
  RunOptions nobody;
  nobody.as_nobody = true;
  EXPECT_EQ(run("en_US.UTF-8", {"-undo"}, "", nobody), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|" + v3_file + "_00003.bak\\nError opening\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  // Nor is a file that can't be read known to be in a backup.
  fs::permissions(dir_.file(folder + "controls.ini_00003.bak"), fs::perms::all);
  fs::permissions(dir_.file(v3_posix), fs::perms::owner_write | fs::perms::group_write |
                                           fs::perms::others_write);
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run("en_US.UTF-8", {"-undo"}, "", nobody), 1);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + v3_file + "\\nError opening\r\n");
  EXPECT_EQ(backups().size(), 3u);
}
