// What stops Brin23 before it reads or writes a pilot's file: the simulator
// running, a source that is Brin23's own temporary file.
#include "tests/brin23_fixture.h"

namespace {

// A POSIX path as the system keeps it, with "\\".
std::string system_path(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

}  // namespace

TEST_F(Brin23, NeverWhileAerlon3Runs) {
  if (windows_target()) GTEST_SKIP() << "the stand-in's list of programs; Wine runs one below";
  // The programs running, by their full paths as Windows gives them.
  const std::string games = system_path(dir_.path()) + "\\Games\\";
  struct Case {
    const char* what;
    std::string running;
    bool stops;
  };
  const Case cases[] = {
      {"Aerlon 3, in another letter case", games + "AERLON3\\aerlon.EXE", true},
      {"a simulator known by its name alone", "Aerlon.exe", true},
      {"Aerlon 2, which never touches the file", games + "Aerlon2\\Aerlon.exe", false},
      {"another program of the folder", games + "Aerlon3\\AerlonLauncher.exe", false},
  };
  extra_env_.emplace_back("MALVET_PROCESSES", dir_.file("processes.txt"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    write("processes.txt", "\r\n" + c.running + "\r\n");
    write(v3_posix, old_v3);
    fs::remove(dir_.file("dialogs.log"));
    fs::remove(dir_.file("work/Logfile.txt"));
    EXPECT_EQ(run(), c.stops ? 1 : 0) << console_;
    EXPECT_EQ(read(v3_posix), c.stops ? old_v3 : converted);
    EXPECT_EQ(read("dialogs.log"),
              c.stops ? "box|error|Tavlet (beta)|Aerlon 3 is running: close it, then start "
                        "Brin23 again.\r\n"
                      : "");
    if (c.stops) {
      EXPECT_EQ(read("work/Logfile.txt"),
                "Aerlon 3 is running: close it, then start Brin23 again.\r\n");
      EXPECT_TRUE(backups().empty());
    }
  }
  // -undo and -keep stop as well, in French too.
  write("processes.txt", games + "Aerlon3\\Aerlon.exe\n");
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run("fr_FR.UTF-8", {"-undo"}), 1);
  EXPECT_EQ(run("en_US.UTF-8", {"-keep"}), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Aerlon 3 est ouvert : fermez-le, puis relancez Brin23.\r\n"
            "box|error|Tavlet (beta)|Aerlon 3 is running: close it, then start Brin23 again.\r\n");
}

TEST_F(Brin23, NeverWhileAerlon3RunsUnderWine) {
  if (!windows_target()) GTEST_SKIP() << "a program running under Wine";
  // A program of Aerlon 3's folder named Aerlon.exe, running until told.
  fs::copy_file(windows_helper("hold_file"), dir_.file("Games/Aerlon3/Aerlon.exe"),
                fs::copy_options::overwrite_existing);
  {
    WindowsHelper simulator(dir_.file("Games/Aerlon3/Aerlon.exe"),
                            {"Logs\\Logfile.txt", "write", "..\\..\\ready", "..\\..\\release"},
                            dir_.file("Games/Aerlon3"));
    ASSERT_TRUE(wait_for_file(dir_.file("ready")));
    EXPECT_EQ(run(), 1) << console_;
    write("release", "");
  }
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Aerlon 3 is running: close it, then start Brin23 again.\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_TRUE(backups().empty());
  // Closed, it converts; Aerlon 2 running, too.
  fs::remove(dir_.file("ready"));
  fs::remove(dir_.file("release"));
  fs::copy_file(windows_helper("hold_file"), dir_.file("Games/Aerlon2/Aerlon.exe"),
                fs::copy_options::overwrite_existing);
  WindowsHelper version2(dir_.file("Games/Aerlon2/Aerlon.exe"),
                         {"Logs\\Logfile.txt", "write", "..\\..\\ready", "..\\..\\release"},
                         dir_.file("Games/Aerlon2"));
  ASSERT_TRUE(wait_for_file(dir_.file("ready")));
  EXPECT_EQ(run(), 0) << console_;
  write("release", "");
  EXPECT_EQ(read(v3_posix), converted);
}

TEST_F(Brin23, BrinsOwnTemporaryFileIsNeverTheSource) {
  // "Brin23 <pilot folder>\controls.ini.new", the file a run cut short left,
  // named another way: it would be removed unread.
  write(v3_posix + ".new", "[K]\r\n2040=7\r\n");
  const std::string source = "..\\Docs\\Aerlon3\\..\\Aerlon3\\Pilots\\Ann\\controls.ini.new";
  EXPECT_EQ(run("en_US.UTF-8", {source}), 1);
  EXPECT_EQ(run("fr_FR.UTF-8", {source}), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|" + source +
                "\\nis the file Brin23 writes the new controls.ini into: choose another file\r\n"
                "box|error|Tavlet (beta)|" +
                source +
                "\\nest le fichier o\xF9 Brin23 \xE9"
                "crit le nouveau controls.ini : choisissez-en un autre\r\n");
  EXPECT_EQ(read(v3_posix + ".new"), "[K]\r\n2040=7\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_TRUE(backups().empty());
}
