// What stops Brin23 before it reads or writes a pilot's file: the simulator
// running, a source that is Brin23's own temporary file, a file that can't
// be read to its end; and sources read from a pipe or named with letters
// the code page lacks.
#include "tests/brin23_fixture.h"

#include <memory>

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
    std::string running;        // none: a list that can't be read
    const std::string* stops;  // the box's words; none where it goes on
  };
  const std::string running = "Aerlon 3 is running: close it, then start Brin23 again.";
  const std::string unknown =
      "Brin23 can't tell whether Aerlon 3 is running: Windows gave no list of the programs "
      "running. Close Aerlon 3 if it is open, then start Brin23 again.";
  // A folder of another spelling: a link to Aerlon 2's.
  fs::create_directory_symlink(dir_.file("Games/Aerlon2"), dir_.file("Games/Aerlon2 link"));
  const Case cases[] = {
      {"Aerlon 3, in another letter case", games + "AERLON3\\aerlon.EXE", &running},
      {"a simulator known by its name alone", "Aerlon.exe", &running},
      {"Aerlon 2, which never touches the file", games + "Aerlon2\\Aerlon.exe", nullptr},
      {"Aerlon 2 by another name of its folder", games + "Aerlon2 link\\Aerlon.exe", nullptr},
      {"another program of the folder", games + "Aerlon3\\AerlonLauncher.exe", nullptr},
      {"a list of the programs that can't be read: any may run", "", &unknown},
  };
  extra_env_.emplace_back("MALVET_PROCESSES", dir_.file("processes.txt"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir_.file("processes.txt"));
    if (c.running.empty()) {
      fs::create_directory(dir_.file("processes.txt"));
    } else {
      write("processes.txt", "\r\n" + c.running + "\r\n");
    }
    write(v3_posix, old_v3);
    for (const std::string& b : backups()) fs::remove(dir_.file("Docs/Aerlon3/Pilots/Ann/" + b));
    fs::remove(dir_.file("dialogs.log"));
    fs::remove(dir_.file("work/Logfile.txt"));
    EXPECT_EQ(run(), c.stops ? 1 : 0) << console_;
    EXPECT_EQ(read(v3_posix), c.stops ? old_v3 : converted);
    EXPECT_EQ(read("dialogs.log"), c.stops ? "box|error|Tavlet (beta)|" + *c.stops + "\r\n" : "");
    if (c.stops) {
      EXPECT_EQ(read("work/Logfile.txt"), *c.stops + "\r\n");
      EXPECT_TRUE(backups().empty());
    }
  }
  fs::remove_all(dir_.file("processes.txt"));
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
  // A program named Aerlon.exe in a version's folder, running until told
  // and ready once it has made the file "ready".
  auto simulator_of = [&](const std::string& folder) {
    fs::remove(dir_.file("ready"));
    fs::remove(dir_.file("release"));
    fs::copy_file(windows_helper("hold_file"), dir_.file(folder + "/Aerlon.exe"),
                  fs::copy_options::overwrite_existing);
    auto simulator = std::make_unique<WindowsHelper>(
        dir_.file(folder + "/Aerlon.exe"),
        std::vector<std::string>{"Logs\\Logfile.txt", "write", "..\\..\\ready",
                                 "..\\..\\release"},
        dir_.file(folder));
    return simulator;
  };
  std::unique_ptr<WindowsHelper> simulator = simulator_of("Games/Aerlon3");
  ASSERT_TRUE(wait_for_file(dir_.file("ready")));
  EXPECT_EQ(run(), 1) << console_;
  write("release", "");
  simulator.reset();
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Aerlon 3 is running: close it, then start Brin23 again.\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
  EXPECT_TRUE(backups().empty());
  // Closed, it converts; Aerlon 2 running, too.
  simulator = simulator_of("Games/Aerlon2");
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

TEST_F(Brin23, AFileThatCantBeReadToItsEndStopsBeforeAnythingIsTouched) {
  if (windows_target()) GTEST_SKIP() << "read errors are made on Linux";
  // Files whose reading fails: a table or a source cut short would drop the
  // bindings it lost, and the conversion must not stand as done.
  // With -keep, the old version-3 file too: what it holds would be lost.
  struct Case {
    std::string file, box;
    std::vector<std::string> args;
  };
  const Case cases[] = {{"Docs/Aerlon/Pilots/Ann/controls.ini", v2_file + "\\nError opening", {}},
                        {"work/A2-A3.txt", "A2-A3.txt\\nError opening", {}},
                        {v3_posix, v3_file + "\\nError opening", {"-keep"}}};
  for (const auto& [file, box, args] : cases) {
    SCOPED_TRACE(file);
    std::string kept = read(file);
    fs::remove(dir_.file(file));
    fs::create_symlink("/proc/self/mem", dir_.file(file));
    fs::remove(dir_.file("dialogs.log"));
    EXPECT_EQ(run("en_US.UTF-8", args), 1);
    EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + box + "\r\n");
    if (file != v3_posix) {
      EXPECT_EQ(read(v3_posix), old_v3);
    }
    EXPECT_TRUE(backups().empty());
    EXPECT_FALSE(fs::exists(dir_.file(v3_posix + ".new")));
    EXPECT_EQ(run_log(dir_.file("work"), "Brin23").find("converted"), std::string::npos);
    fs::remove(dir_.file(file));
    write(file, kept);
    for (const std::string& log : files_starting_with(dir_.file("work"), "Brin23_")) {
      fs::remove(dir_.file("work/" + log));
    }
  }
}

TEST_F(Brin23, ASourceFromAPipe) {
  if (windows_target()) GTEST_SKIP() << "pipes are given on Linux";
  // cat controls.ini | Brin23 /dev/stdin: a source that can't be sought.
  RunOptions piped;
  piped.standard_input = read("Docs/Aerlon/Pilots/Ann/controls.ini");
  ASSERT_EQ(run("en_US.UTF-8", {"/dev/stdin"}, "", piped), 0) << console_;
  EXPECT_EQ(read(v3_posix), converted);
}

TEST_F(Brin23, ASourceNamedWithLettersTheCodePageLacksSaysSo) {
  if (!windows_target()) GTEST_SKIP() << "the command line is wide text on Windows only";
  // "Brin23 ..\Jiří\controls.ini" on a Western European Windows.
  write("Ji\xC5\x99\xC3\xAD/controls.ini", "[K]\r\n2040=3\r\n");
  // (C.UTF-8: a locale Wine knows, whose code page is 1252.)
  EXPECT_EQ(run("C.UTF-8", {"..\\Ji\xC5\x99\xC3\xAD\\controls.ini"}), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|..\\Ji?\xED\\controls.ini\\nnot found\\nA file or folder name "
            "has letters that this Windows' code page can't hold: see the guide.\r\n");
  EXPECT_EQ(read(v3_posix), old_v3);
}
