// Brin23 -keep, which keeps what only version 3 has, and Brin23 -undo, which
// puts the last backup back.
#include "tests/brin23_fixture.h"

namespace {

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

  int run(const std::string& program, const std::vector<std::string>& args) {
    return run_malvet(program, args, dir_.file("Tools/Malvet"), dir_.file("registry.reg"),
                      {{"MALVET_JOYSTICKS", dir_.file("joysticks.txt")},
                       {"MALVET_DIALOGS", dir_.file("answers.txt")},
                       {"LC_ALL", "en_US.UTF-8"}},
                      &console_);
  }
};

const std::string ann_v3 = "Users/Ann/Documents/Aerlon3/Pilots/Ann/controls.ini";

}  // namespace

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

  ASSERT_EQ(run("Tavlet", {"-EN"}), 0) << console_;
  std::string report = read("Tools/Malvet/Controls.txt");
  EXPECT_NE(report.find("\r\nEngine start/stop" + std::string(13, ' ') + "E" +
                        std::string(29, ' ') + "Keyboard\r\n"),
            std::string::npos)
      << report;
}

TEST_F(Brin23, UndoPutsTheLastBackupBackThenForth) {
  ASSERT_EQ(run(), 0) << console_;
  // Without -keep the console ends by saying what -keep would have kept.
  EXPECT_EQ(console_.substr(console_.rfind('\n', console_.size() - 2)),
            "\n 1 binding of version 3 is not in the new file: the backup " + v3_file +
                "_00000.bak holds it; Brin23 -undo, then Brin23 -keep, keeps it.\n");
  const std::string folder = "Docs/Aerlon3/Pilots/Ann/";
  auto undo = [&] {
    for (const std::string& log : files_starting_with(dir_.file("work"), "Brin23_")) {
      fs::remove(dir_.file("work/" + log));
    }
    return run("en_US.UTF-8", {"-UNDO"});
  };

  // Back: the file before the conversion; the converted one kept first.
  ASSERT_EQ(undo(), 0) << console_;
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_EQ(read(folder + "controls.ini_00000.bak"), old_v3);
  EXPECT_EQ(read(folder + "controls.ini_00001.bak"), converted);
  EXPECT_EQ(run_log(dir_.file("work"), "Brin23"),
            "\r\n" + copy_log(v3_file, v3_file + "_00001.bak") + "restored from " + v3_file +
                "_00000.bak\r\n");

  // Forth: the converted file again.
  ASSERT_EQ(undo(), 0) << console_;
  EXPECT_EQ(read(v3_posix), converted);
  EXPECT_EQ(read(folder + "controls.ini_00002.bak"), old_v3);
  EXPECT_EQ(run_log(dir_.file("work"), "Brin23"),
            "\r\n" + copy_log(v3_file, v3_file + "_00002.bak") + "restored from " + v3_file +
                "_00001.bak\r\n");
  EXPECT_EQ(backups().size(), 3u);
  EXPECT_EQ(read("dialogs.log"), "");

  // No current file: the newest backup is copied, no new one is made.
  fs::remove(dir_.file(v3_posix));
  ASSERT_EQ(undo(), 0) << console_;
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_EQ(backups().size(), 3u);
}

TEST_F(Brin23, UndoWithoutABackupInBothLanguages) {
  write("Docs/Aerlon3/Pilots/Ann/controls.ini_abcde.bak", "no number");
  EXPECT_EQ(run("en_US.UTF-8", {"-undo"}), 1);
  EXPECT_EQ(run("fr_FR.UTF-8", {"-undo"}), 1);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + v3_file +
                                     "\\nno backup found\r\n"
                                     "box|error|Tavlet (beta)|" +
                                     v3_file +
                                     "\\naucune sauvegarde trouv\xE9"
                                     "e\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_EQ(backups(), (std::vector<std::string>{"controls.ini_abcde.bak"}));
}
