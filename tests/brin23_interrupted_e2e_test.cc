// Brin23 cut short: killed at exact points, out of disk space, or among
// leftovers and links, the pilot's files are whole.
#include "tests/brin23_fixture.h"

namespace {

// A numbered backup name: controls.ini_NNNNN.bak.
bool finished_looking(const std::string& name) {
  if (name.size() != 22 || name.compare(0, 13, "controls.ini_") != 0) return false;
  if (name.compare(18, 4, ".bak") != 0) return false;
  return name.find_first_not_of("0123456789", 13) == 18;
}

}  // namespace

TEST_F(Brin23, KilledAnywhereLeavesOldOrNewAndTheBackups) {
  if (windows_target()) GTEST_SKIP() << "interruptions are tested on Linux";
  // The kill comes with the write that passes a file-size limit, so each
  // limit below is one exact point of the run, however fast the machine:
  // in the log, in the new file (written first), in the copy of the backup
  // (the old file, larger), or past the end.
  std::string old_big = "[Old]\r\n";
  for (int i = 0; i < 100000; ++i) old_big += "3101=" + std::to_string(i) + "\r\n";
  std::string source = "[Keyboard]\r\n";
  for (int i = 0; i < 20000; ++i) source += "2040=" + std::to_string(i % 1000) + "\r\n";
  write("Docs/Aerlon/Pilots/Ann/controls.ini", source);
  write(v3_posix, old_big);
  ASSERT_EQ(run(), 0);
  const std::string new_v3 = read(v3_posix);
  ASSERT_GT(old_big.size(), 2 * new_v3.size());
  fs::remove(dir_.file(v3_posix + "_00000.bak"));
  write("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak", "oldest");

  const long old_size = static_cast<long>(old_big.size());
  const long new_size = static_cast<long>(new_v3.size());
  const std::string folder = "Docs/Aerlon3/Pilots/Ann/";
  bool cut_in_the_copy = false, cut_in_the_new_file = false;
  for (long limit : {0L, 30L, 300L, 5000L, new_size / 2, new_size - 1, new_size + 1000,
                     old_size / 2, old_size - 1, old_size + 1}) {
    write(v3_posix, old_big);
    RunOptions kill;
    kill.max_file_size = limit;
    kill.killed_at_the_limit = true;
    int status = run_malvet("Brin23", {}, dir_.file("work"), dir_.file("registry.reg"),
                            {{"MALVET_DIALOGS", dir_.file("answers.txt")}}, nullptr, kill);
    EXPECT_TRUE(status == killed_by_file_size || (status == 0 && limit > old_size)) << limit;
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

  // The new file's passing name: nothing is written, no backup made.
  fs::create_symlink(victim, dir_.file(v3_posix + ".new"));
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : " + v3_file + "\\nError opening\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_TRUE(backups().empty());
  fs::remove(dir_.file(v3_posix + ".new"));

  // The backup's passing name: no backup, nothing written.
  fs::create_symlink(victim, dir_.file(v3_posix + ".partial"));
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run(), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Backup file : " + v3_file + "_00000.bak\\nError opening\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_TRUE(backups().empty());
  EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".new")));
  fs::remove(dir_.file(v3_posix + ".partial"));

  // The listing's name, a link to nowhere: the names are tried in turn.
  fs::create_symlink(dir_.file("nowhere.txt"), dir_.file("work/get_new_vers_tmp.txt"));
  ASSERT_EQ(run(), 0) << console_;
  EXPECT_EQ(read(v3_posix), converted);
  EXPECT_EQ(read("Docs/Aerlon3/Pilots/Ann/controls.ini_00000.bak"), old_v3);
  EXPECT_FALSE(fs::exists(dir_.file("nowhere.txt")));
  EXPECT_EQ(read("victim.txt"), "keep");
}

TEST_F(Brin23, FullDiskLeavesTheTargetWhole) {
  std::string many = "[Keyboard]\r\n";
  for (int i = 0; i < 100; ++i) many += "2040=" + std::to_string(i) + "\r\n";
  write("Docs/Aerlon/Pilots/Ann/controls.ini", many);
  RunOptions full;
  full.max_file_size = 500;  // the converted file does not fit: written first, nothing else is
  EXPECT_EQ(run("en_US.UTF-8", {}, "", full), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : " + v3_file + "\\nError opening\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_TRUE(backups().empty());
  EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".new")));
}
