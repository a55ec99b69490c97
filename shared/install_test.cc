#include "shared/install.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <filesystem>
#include <map>

#include "shared/pilot_folder.h"
#include "shared/system.h"
#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* shell_folders =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
    "Folders";

std::string reg_text(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out + "\"";
}

// A simulator installation laid out in a temporary folder that is also the
// working folder, so that Windows paths such as C:\Games\Aerlon3 lie inside it.
class Installation : public ::testing::Test {
 protected:
  void SetUp() override {
    set("HKEY_CURRENT_USER\\SOFTWARE\\Aerlon2", "LastPlayer", reg_text("Ann2"));
    set("HKEY_CURRENT_USER\\SOFTWARE\\Aerlon3", "LastPlayer", reg_text("Ann3"));
    set(shell_folders, "Personal", reg_text("C:\\Users\\Ann\\Documents"));
  }

  void set(const std::string& key, const std::string& name, const std::string& data) {
    registry_[key][name] = data;
    write_registry();
  }

  void write_registry() {
    std::string text = "Windows Registry Editor Version 5.00\r\n";
    for (const auto& [key, values] : registry_) {
      text += "\r\n[" + key + "]\r\n";
      for (const auto& [name, data] : values) text += "\"" + name + "\"=" + data + "\r\n";
    }
    dir_.write("registry.reg", text);
  }

  // Installs version `v` in C:\Games\Aerlon<v> with the given simulator log.
  void install(int v, const std::string& sim_log, bool with_exe = true) {
    std::string folder = "C:\\Games\\Aerlon" + std::to_string(v);
    set("HKEY_CURRENT_USER\\SOFTWARE\\Aerlon" + std::to_string(v), "InstallDir", reg_text(folder));
    std::string posix = "C:/Games/Aerlon" + std::to_string(v);
    dir_.write(posix + "/Logs/Logfile.txt", sim_log);
    if (with_exe) dir_.write(posix + "/Aerlon.exe", "MZ");
  }

  void install(int v) { install(v, "Aerlon version: " + std::to_string(v) + "105\r\n"); }

  // Gives a file (created when missing) the modification time `t`.
  void touch(const std::string& posix_path, std::int64_t t) {
    if (!fs::exists(dir_.file(posix_path))) dir_.write(posix_path, "x");
    struct utimbuf times;
    times.actime = static_cast<time_t>(t);
    times.modtime = static_cast<time_t>(t);
    ASSERT_EQ(utime(dir_.file(posix_path).c_str(), &times), 0);
  }

  std::int32_t discover(InstallationRecord& inst) {
    testing::internal::CaptureStdout();
    std::int32_t result = check_aerlon_install(inst, "");
    console_ = testing::internal::GetCapturedStdout();
    return result;
  }

  std::int32_t active_version() {
    InstallationRecord inst;
    EXPECT_EQ(discover(inst), 3);
    EXPECT_EQ(inst.arlnvers, 0);
    testing::internal::CaptureStdout();
    get_active_aerlon_version(inst);
    testing::internal::GetCapturedStdout();
    return inst.arlnvers;
  }

  TempDir dir_;
  ScopedCwd cwd_{dir_.path()};
  ScopedEnv registry_file_{"MALVET_REGISTRY", dir_.file("registry.reg")};
  ScopedEnv answers_{"MALVET_DIALOGS", dir_.file("answers.txt")};
  ScopedEnv dialog_log_{"MALVET_DIALOG_LOG", dir_.file("dialogs.log")};
  std::map<std::string, std::map<std::string, std::string>> registry_;
  std::string console_;
};

constexpr const char* docs = "C:\\Users\\Ann\\Documents";

}  // namespace

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

TEST_F(Installation, DocumentsThroughAnEnvironmentVariable) {
  set(shell_folders, "Personal", reg_text("%USERPROFILE%\\Documents"));
  ScopedEnv profile("USERPROFILE", "C:\\Users\\Bob");
  std::string folder;
  testing::internal::CaptureStdout();
  EXPECT_EQ(get_aerlon_2_path("", false, false, folder), 1);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(folder, "C:\\Users\\Bob\\Documents\\Aerlon\\");
}

TEST_F(Installation, DocumentsVariableUnsetOrTooLongOrMalformed) {
  set(shell_folders, "Personal", reg_text("%NOT_SET_ANYWHERE%\\Documents"));
  std::string folder = "3";
  testing::internal::CaptureStdout();
  EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 0);
  EXPECT_EQ(folder, "3");

  set(shell_folders, "Personal", reg_text("%LONG%\\Documents"));
  ScopedEnv long_var("LONG", std::string(600, 'p'));
  folder.clear();
  EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 0);
  EXPECT_EQ(folder, "");

  // A variable that is not set, wherever it stands, is the same error.
  set(shell_folders, "Personal", reg_text("C:\\Docs%UNSET_TOO%"));
  EXPECT_EQ(get_aerlon_2_path("", false, false, folder), 0);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(dir_.read("dialogs.log"),
            "box|error|get_aerlon_user_path|Error getting environment variable\\n"
            "NOT_SET_ANYWHERE\r\n"
            "box|error|get_aerlon_user_path|Error getting environment variable\\nLONG\r\n"
            "box|error|get_aerlon_user_path|Error getting environment variable\\nUNSET_TOO\r\n");
}

TEST_F(Installation, DocumentsWithEveryVariableExpanded) {
  ScopedEnv drive("HOMEDRIVE", "H:");
  ScopedEnv home("HOMEPATH", "\\Users\\Bob");
  ScopedEnv x("X", "Bob");
  // A name is never cut: one of 100 characters is not the one of its first 80.
  const std::string long_name = std::string(80, 'N') + std::string(20, 'M');
  ScopedEnv whole(long_name, "Long");
  ScopedEnv cut_name(std::string(80, 'N'), "Cut");
  const std::string long_value = "%" + long_name + "%\\Docs";
  for (auto [value, expected] :
       {std::pair{"%HOMEDRIVE%%HOMEPATH%\\Documents", "H:\\Users\\Bob\\Documents"},
        std::pair{"C:\\Users\\%X%\\Documents", "C:\\Users\\Bob\\Documents"},
        std::pair{"%X%", "Bob"},
        std::pair{"C:\\100%\\Docs", "C:\\100%\\Docs"},  // a lone "%" stands for itself
        std::pair{"C:\\Docs%X%", "C:\\DocsBob"},
        // A pair of "%" around no name: the first stays, the second may
        // begin a name.
        std::pair{"C:\\50%\\%X%\\Docs", "C:\\50%\\Bob\\Docs"}, std::pair{"%%X%", "%Bob"},
        std::pair{long_value.c_str(), "Long\\Docs"}}) {
    set(shell_folders, "Personal", reg_text(value));
    std::string folder;
    testing::internal::CaptureStdout();
    EXPECT_EQ(get_aerlon_2_path("", false, false, folder), 1) << value;
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(folder, std::string(expected) + "\\Aerlon\\") << value;
  }
  EXPECT_EQ(dir_.read("dialogs.log"), "");
}

TEST_F(Installation, PilotFolderEdgeCases) {
  std::string folder;
  testing::internal::CaptureStdout();
  set("HKEY_CURRENT_USER\\SOFTWARE\\Aerlon3", "LastPlayer", reg_text(""));
  folder = "3";
  EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 1);
  EXPECT_EQ(folder, std::string(docs) + "\\Aerlon3\\Pilots\\");

  folder = "3x";  // not exactly "3": version 2
  EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 1);
  EXPECT_EQ(folder, std::string(docs) + "\\Aerlon\\Pilots\\Ann2");

  // The pilot's name is kept to 40 characters.
  for (std::size_t n : {40u, 41u}) {
    set("HKEY_CURRENT_USER\\SOFTWARE\\Aerlon3", "LastPlayer", reg_text(std::string(n, 'q')));
    folder = "3";
    EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 1);
    EXPECT_EQ(folder, std::string(docs) + "\\Aerlon3\\Pilots\\" + std::string(40, 'q')) << n;
  }

  registry_["HKEY_CURRENT_USER\\SOFTWARE\\Aerlon2"].erase("LastPlayer");
  write_registry();
  folder.clear();  // no last pilot: the documents folder itself
  EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 1);
  EXPECT_EQ(folder, docs);

  registry_.erase(shell_folders);
  write_registry();
  folder.clear();
  EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 0);
  std::string console = testing::internal::GetCapturedStdout();
  EXPECT_NE(console.find("User Shell Folders NOT READABLE"), std::string::npos);
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
