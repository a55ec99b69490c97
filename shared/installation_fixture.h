// A simulator installation laid out in a temporary folder, for the tests of
// installation and pilot-folder discovery.
#ifndef MALVET_SHARED_INSTALLATION_FIXTURE_H
#define MALVET_SHARED_INSTALLATION_FIXTURE_H

#include <gtest/gtest.h>
#include <utime.h>

#include <filesystem>
#include <map>
#include <string>

#include "shared/install.h"
#include "tests/test_support.h"

namespace fs = std::filesystem;

inline constexpr const char* shell_folders =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
    "Folders";

inline std::string reg_text(const std::string& s) {
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

inline constexpr const char* docs = "C:\\Users\\Ann\\Documents";

#endif
