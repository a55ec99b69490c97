#include "shared/install.h"

#include "shared/installation_fixture.h"
#include "shared/pilot_folder.h"
#include "shared/system.h"

TEST_F(Installation, OnlyVersion3) {
  install(3);
  InstallationRecord inst;
  EXPECT_EQ(discover(inst), 3);
  EXPECT_FALSE(inst.qv2);
  EXPECT_TRUE(inst.qv3);
  EXPECT_EQ(inst.arlnvers, 3);
  EXPECT_EQ(inst.instpath3, "C:\\Games\\Aerlon3");
  EXPECT_EQ(inst.pilpath3, std::string(docs) + "\\Aerlon3\\Pilots\\Ann3");
  EXPECT_EQ(inst.rootpath3, std::string(docs) + "\\Aerlon3\\");
  EXPECT_EQ(inst.pilot_path(), inst.pilpath3);
  EXPECT_EQ(inst.arlnrootpath, inst.rootpath3);
  EXPECT_EQ(inst.arlninstpath, inst.instpath3);
  EXPECT_NE(console_.find(" *** Aerlon2 installation not detected on this computer ***\n"),
            std::string::npos);
  // Logged before any CREATE, so into the default log file.
  EXPECT_EQ(dir_.read("Logfile.txt"), "Aerlon 3 install path: C:\\Games\\Aerlon3\r\n");
}

TEST_F(Installation, BothVersionsEachWithItsOwnPilot) {
  install(2);
  install(3);
  InstallationRecord inst;
  EXPECT_EQ(discover(inst), 3);
  EXPECT_EQ(inst.arlnvers, 0);
  EXPECT_EQ(inst.pilpath2, std::string(docs) + "\\Aerlon\\Pilots\\Ann2");
  EXPECT_EQ(inst.rootpath2, std::string(docs) + "\\Aerlon\\");
  EXPECT_EQ(inst.pilpath3, std::string(docs) + "\\Aerlon3\\Pilots\\Ann3");
  EXPECT_EQ(inst.pilot_path(), inst.pilpath3);
}

TEST_F(Installation, NoVersion) {
  InstallationRecord inst;
  inst.arlnvers = 7;
  EXPECT_EQ(discover(inst), 0);
  EXPECT_EQ(inst.arlnvers, 7);
  EXPECT_FALSE(inst.qv2 || inst.qv3);
}

TEST_F(Installation, NewestFileChoosesTheActiveVersion) {
  install(2);
  install(3);
  const std::string plan2 = "C:/Users/Ann/Documents/Aerlon/Pilots/Ann2/FlightPlan.fpl";
  const std::string plan3 = "C:/Users/Ann/Documents/Aerlon3/Pilots/Ann3/FlightPlan.fpl";
  const std::string log2 = "C:/Games/Aerlon2/Logs/Logfile.txt";
  const std::string log3 = "C:/Games/Aerlon3/Logs/Logfile.txt";
  const std::int64_t t = 1700000000;

  touch(log2, t);
  touch(log3, t);  // equal logs: version 3's log is visited first
  EXPECT_EQ(active_version(), 3);
  touch(log2, t + 1);
  EXPECT_EQ(active_version(), 2);
  touch(plan3, t + 1);  // a version-3 plan beats a version-2 log of the same date
  EXPECT_EQ(active_version(), 3);
  touch(plan2, t + 1);  // equal plans: version 3's is visited first
  EXPECT_EQ(active_version(), 3);
  touch(plan2, t + 2);
  EXPECT_EQ(active_version(), 2);
  touch(log3, t + 2);  // a version-2 plan beats a version-3 log of the same date
  EXPECT_EQ(active_version(), 2);
  touch(log3, t + 3);
  EXPECT_EQ(active_version(), 3);
  // Past 2038 the dates still compare.
  touch(plan2, 4102444800LL);
  EXPECT_EQ(active_version(), 2);
}

TEST_F(Installation, NoDatedFileMeansVersion2) {
  install(2);
  install(3);
  fs::remove(dir_.file("C:/Games/Aerlon2/Logs/Logfile.txt"));
  fs::remove(dir_.file("C:/Games/Aerlon3/Logs/Logfile.txt"));
  // Without the logs the versions are not confirmed; put them back undated.
  InstallationRecord inst;
  inst.qv2 = inst.qv3 = true;
  inst.pilpath2 = "C:\\nowhere2";
  inst.pilpath3 = "C:\\nowhere3";
  inst.instpath2 = "C:\\Games\\Aerlon2";
  inst.instpath3 = "C:\\Games\\Aerlon3";
  testing::internal::CaptureStdout();
  get_active_aerlon_version(inst);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(inst.arlnvers, 2);
  EXPECT_EQ(inst.pilot_path(), "C:\\nowhere2");
  EXPECT_EQ(modified_date("C:\\nowhere2\\FlightPlan.fpl"), -1);
}

TEST_F(Installation, VersionLineOfTheSimulatorLog) {
  std::string path;
  testing::internal::CaptureStdout();
  install(2, "Aerlon version: 2999\r\n");
  EXPECT_EQ(get_aerlon_inst_dir(2, path, false), 2);
  install(2, "Aerlon version: 3000\r\n");
  EXPECT_EQ(get_aerlon_inst_dir(2, path, false), 3);
  install(2, "1\n2\n3\n4\n5\nAerlon version: 2105\n");
  EXPECT_EQ(get_aerlon_inst_dir(2, path, false), 2);
  install(2, "1\n2\n3\n4\n5\n6\nAerlon version: 2105\n");  // seventh line: not seen
  EXPECT_EQ(get_aerlon_inst_dir(2, path, false), 0);
  install(2, "Aerlon version:  nope\n");
  EXPECT_EQ(get_aerlon_inst_dir(2, path, false), 0);
  install(2, " Aerlon version: 2105\n");
  EXPECT_EQ(get_aerlon_inst_dir(2, path, false), 0);
  std::string garbage;
  for (int i = 0; i < 3000; ++i) garbage.push_back(static_cast<char>(i * 31 % 256));
  install(2, garbage);
  EXPECT_EQ(get_aerlon_inst_dir(2, path, false), 0);
  EXPECT_EQ(path, "C:\\Games\\Aerlon2");
  testing::internal::GetCapturedStdout();

  InstallationRecord inst;
  install(3, "Aerlon version: 2999\r\n");  // version 3's folder holding a version 2
  EXPECT_EQ(discover(inst), 0);
}

TEST_F(Installation, TheExecutableMustBeThere) {
  install(3, "Aerlon version: 3105\r\n", false);
  InstallationRecord inst;
  EXPECT_EQ(discover(inst), 0);
  EXPECT_FALSE(inst.qv3);
}

TEST_F(Installation, NotDetectedQuietlyWhenSilent) {
  std::string path = "old";
  testing::internal::CaptureStdout();
  EXPECT_EQ(get_aerlon_inst_dir(3, path, true), 0);
  std::string console = testing::internal::GetCapturedStdout();
  EXPECT_EQ(path, "");
  EXPECT_EQ(console.find("not detected"), std::string::npos);
}

TEST_F(Installation, BadRegistryFiles) {
  install(3);
  std::string garbage;
  for (int i = 0; i < 4000; ++i) garbage.push_back(static_cast<char>(i * 7 % 256));
  dir_.write("registry.reg", garbage);
  InstallationRecord inst;
  EXPECT_EQ(discover(inst), 0);
  dir_.write("registry.reg", "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\SOFT");
  EXPECT_EQ(discover(inst), 0);
  ScopedEnv unset("MALVET_REGISTRY", std::nullopt);
  EXPECT_EQ(discover(inst), 0);
  // A registry that can't be read, from the first read on or at all, is as
  // good as none: every value is missing.
  for (const std::string& unreadable : {std::string("/proc/self/mem"), dir_.path()}) {
    ScopedEnv failing("MALVET_REGISTRY", unreadable);
    EXPECT_EQ(discover(inst), 0) << unreadable;
    std::string value;
    std::int32_t len = 0;
    testing::internal::CaptureStdout();
    EXPECT_EQ(RdUsrReg("SOFTWARE\\Aerlon3", "InstallDir", value, len), 2);
    testing::internal::GetCapturedStdout();
  }
}

TEST_F(Installation, RegistryValueLongerThanItsBuffer) {
  install(3);
  set("HKEY_CURRENT_USER\\SOFTWARE\\Aerlon3", "InstallDir", reg_text(std::string(300, 'x')));
  std::string value = "untouched";
  std::int32_t len = 0;
  testing::internal::CaptureStdout();
  EXPECT_EQ(RdUsrReg("SOFTWARE\\Aerlon3", "InstallDir", value, len), 234);
  InstallationRecord inst;
  EXPECT_EQ(check_aerlon_install(inst, ""), 0);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(value, "untouched");
}

TEST_F(Installation, RegistryValueOfExactlyTheBuffersSize) {
  // 254 characters and the NUL fill the 255-byte buffer; one more does not.
  for (std::size_t n : {254u, 255u}) {
    set("HKEY_CURRENT_USER\\SOFTWARE\\Aerlon3", "LastPlayer", reg_text(std::string(n, 'p')));
    std::string value = "untouched";
    std::int32_t len = 0;
    testing::internal::CaptureStdout();
    std::int32_t status = RdUsrReg("SOFTWARE\\Aerlon3", "LastPlayer", value, len);
    testing::internal::GetCapturedStdout();
    if (n == 254) {
      EXPECT_EQ(status, 0);
      EXPECT_EQ(len, 255);
      EXPECT_EQ(value, std::string(254, 'p') + '\0');
    } else {
      EXPECT_EQ(status, 234);
      EXPECT_EQ(value, "untouched");
    }
  }
}

TEST_F(Installation, RegistryReadsStatusAndSize) {
  std::string value;
  std::int32_t len = 0;
  testing::internal::CaptureStdout();
  EXPECT_EQ(RdUsrReg("SOFTWARE\\Aerlon3\\", "LastPlayer", value, len), 0);
  EXPECT_EQ(value, std::string("Ann3") + '\0');
  EXPECT_EQ(len, 5);
  EXPECT_EQ(RdUsrReg("SOFTWARE\\Aerlon3\\", "Nothing", value, len), 2);
  EXPECT_EQ(RdUsrReg("SOFTWARE\\Nothing\\", "LastPlayer", value, len), 2);
  testing::internal::GetCapturedStdout();
}

TEST_F(Installation, VersionDiscoveryWithoutPilotFolders) {
  install(3);
  registry_.erase(shell_folders);
  write_registry();
  InstallationRecord inst;
  EXPECT_EQ(discover(inst), 3);  // installed all the same
  EXPECT_EQ(inst.pilpath3, "");
  EXPECT_EQ(inst.rootpath3, "");
}

TEST(RunningSimulator, ByTheFolderOfItsExecutable) {
  // The folders as the registry names them (relative to the working folder,
  // with a final "\" or not) against a program's full path, letter case
  // aside; a name alone is known for no version.
  TempDir dir;
  ScopedCwd cwd(dir.path());
  std::string here;
  for (char c : dir.path()) here.push_back(c == '/' ? '\\' : c);
  struct Row {
    std::string program;
    std::int32_t version;
  };
  const Row rows[] = {
      {here + "\\Games\\Aerlon2\\Aerlon.exe", 2},
      {here + "\\GAMES\\AERLON3\\AERLON.EXE", 3},
      {here + "\\Games\\Aerlon3\\Bin\\Aerlon.exe", 0},
      {"Aerlon.exe", 0},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(running_version(r.program, "Games\\Aerlon2\\", "Games\\Work\\..\\Aerlon3"), r.version)
        << r.program;
  }
  EXPECT_EQ(running_version(here + "\\Aerlon.exe", "", ""), 0);  // no folder registered
}
