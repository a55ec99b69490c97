#include "tests/e2e_support.h"

#include <algorithm>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

// The keys the fixtures set, cleared before each import so that one test's
// registry never leaks into the next.
constexpr const char* clear_registry =
    "Windows Registry Editor Version 5.00\r\n\r\n"
    "[-HKEY_CURRENT_USER\\SOFTWARE\\Aerlon2]\r\n\r\n"
    "[-HKEY_CURRENT_USER\\SOFTWARE\\Aerlon3]\r\n\r\n"
    "[-HKEY_CURRENT_USER\\System\\CurrentControlSet\\Control\\MediaProperties]\r\n\r\n"
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
    "Folders]\r\n\"Personal\"=-\r\n";

std::string windows_build() {
  const char* dir = std::getenv("MALVET_WINDOWS_BUILD");
  return dir == nullptr ? "" : dir;
}

// A Wine prefix for this test program: the one named by WINEPREFIX, or a
// fresh one in a temporary folder, removed when the program ends.
const std::string& wine_prefix() {
  static std::string prefix = [] {
    if (const char* given = std::getenv("WINEPREFIX"); given != nullptr && *given != '\0') {
      return std::string(given);
    }
    std::string dir = (fs::temp_directory_path() / "malvet-wine-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) return std::string();
    std::string made = dir + "/prefix";
    run_program("wine", {"wineboot", "-i"}, dir, {{"WINEPREFIX", made}, {"WINEDEBUG", "-all"}});
    static std::string to_remove = dir;
    std::atexit([] {
      run_program("wineserver", {"-k"}, to_remove,
                  {{"WINEPREFIX", to_remove + "/prefix"}, {"WINEDEBUG", "-all"}});
      std::error_code ec;
      fs::remove_all(to_remove, ec);
    });
    return made;
  }();
  return prefix;
}

void import_registry(const std::string& registry) {
  static const std::string clear_file = [] {
    std::string name = wine_prefix() + "/malvet-clear.reg";
    std::ofstream(name, std::ios::binary) << clear_registry;
    return name;
  }();
  run_program("wine", {"regedit", "/S", clear_file}, "/", wine_env());
  run_program("wine", {"regedit", "/S", registry}, "/", wine_env());
}

// The program as built: the Linux one, or the Windows one.
std::string built_program(const std::string& program) {
  if (windows_target()) return windows_build() + "/" + program + ".exe";
  return program == "Tavlet" ? TAVLET_EXE : BRIN23_EXE;
}

// A copy of the program in a folder of this test program's own, made once,
// without the tables that the build puts beside the programs.
std::string program_without_tables(const std::string& program) {
  static std::string folder = [] {
    std::string dir = (fs::temp_directory_path() / "malvet-programs-XXXXXX").string();
    if (mkdtemp(dir.data()) == nullptr) return std::string();
    // Started by tests that run as another user too.
    fs::permissions(dir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
    static std::string to_remove = dir;
    std::atexit([] {
      std::error_code ec;
      fs::remove_all(to_remove, ec);
    });
    return dir;
  }();
  fs::path built = built_program(program);
  fs::path copy = fs::path(folder) / built.filename();
  if (!fs::exists(copy)) fs::copy_file(built, copy);
  return copy.string();
}

std::string without_cr(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c != '\r') out.push_back(c);
  }
  return out;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> wine_env() {
  return {{"WINEPREFIX", wine_prefix()}, {"WINEDEBUG", "-all"}};
}

bool windows_target() {
#ifdef MALVET_E2E_WINDOWS
  return true;
#else
  return false;
#endif
}

std::string e2e_unavailable() {
  if (!windows_target()) return "";
  if (windows_build().empty()) return "MALVET_WINDOWS_BUILD names no Windows build";
  if (!fs::exists(windows_build() + "/Tavlet.exe")) return "no Tavlet.exe in the Windows build";
  if (run_program("wine", {"--version"}, "/", {}) != 0) return "Wine is not installed";
  return "";
}

std::string windows_helper(const std::string& program) {
  return windows_build() + "/" + program + ".exe";
}

std::string copy_program(const std::string& program, const std::string& folder) {
  fs::path built = built_program(program);
  fs::path copy = fs::path(folder) / built.filename();
  fs::create_directories(folder);
  fs::copy_file(built, copy, fs::copy_options::overwrite_existing);
  return copy.string();
}

int run_malvet(const std::string& program, const std::vector<std::string>& args,
               const std::string& cwd, const std::string& registry,
               const std::vector<std::pair<std::string, std::string>>& env, std::string* console,
               const RunOptions& options, const std::string& executable) {
  std::string started = executable.empty() ? program_without_tables(program) : executable;
  if (!windows_target()) {
    auto all_env = env;
    all_env.emplace_back("MALVET_REGISTRY", registry);
    return run_program(started, args, cwd, all_env, console, options);
  }
  import_registry(registry);
  std::vector<std::string> wine_args = {started};
  if (options.from_a_prompt) {
    std::string windows_path = "Z:" + started;
    for (char& c : windows_path) c = c == '/' ? '\\' : c;
    wine_args = {"cmd", "/c", windows_path};
  }
  wine_args.insert(wine_args.end(), args.begin(), args.end());
  auto all_env = wine_env();
  all_env.insert(all_env.end(), env.begin(), env.end());
  int status = run_program("wine", wine_args, cwd, all_env, console, options);
  if (console != nullptr) *console = without_cr(*console);
  return status;
}

WindowsHelper::WindowsHelper(const std::string& program, const std::vector<std::string>& args,
                             const std::string& cwd) {
  std::string exe =
      program.find('/') == std::string::npos ? windows_build() + "/" + program + ".exe" : program;
  std::vector<std::string> words = {"wine", exe};
  words.insert(words.end(), args.begin(), args.end());
  auto env = wine_env();
  pid_ = fork();
  if (pid_ != 0) return;
  if (chdir(cwd.c_str()) != 0) _exit(127);
  for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
  if (!freopen("/dev/null", "r", stdin) || !freopen("/dev/null", "w", stdout) ||
      dup2(fileno(stdout), 2) < 0) {
    _exit(127);
  }
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

WindowsHelper::~WindowsHelper() { wait(); }

int WindowsHelper::wait() {
  if (pid_ <= 0) return -1;
  int status = 0;
  pid_t done = waitpid(pid_, &status, 0);
  pid_ = -1;
  return done > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void set_windows_attributes(const std::string& path, const std::string& flags) {
  std::string windows_path = "Z:" + path;
  for (char& c : windows_path) {
    if (c == '/') c = '\\';
  }
  run_program("wine", {"attrib", flags, windows_path}, "/", wine_env());
}

bool wait_for_file(const std::string& path) {
  for (int i = 0; i < 6000; ++i) {
    if (fs::exists(path)) return true;
    usleep(20000);
  }
  return false;
}

std::string golden(const std::string& name) {
  std::ifstream in(std::string(MALVET_TEST_DATA_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string shown_path(const std::string& path) {
  std::string shown = (windows_target() ? "Z:" : "") + path;
  std::replace(shown.begin(), shown.end(), '/', '\\');
  return shown;
}

std::string before_receipt(const std::string& console) {
  std::size_t echo = console.rfind("\n >>> ", console.size() - 2);
  bool names_receipt = echo != std::string::npos && console.size() > 5 &&
                       console.compare(console.size() - 5, 5, ".txt\n") == 0;
  return names_receipt ? console.substr(0, echo + 1) : console;
}

void Installation::SetUp() {
  if (std::string why = e2e_unavailable(); !why.empty()) GTEST_SKIP() << why;
  fs::create_directories(dir_.file("work"));
}

void Installation::install(int version) {
  std::string folder = "Games/Aerlon" + std::to_string(version);
  write(folder + "/Aerlon.exe", "MZ");
  write(folder + "/Logs/Logfile.txt", "Aerlon version: " + std::to_string(version) + "105\r\n");
  installed_[version - 2] = true;
}

void Installation::write_registry(bool with_documents) {
  std::string reg = "Windows Registry Editor Version 5.00\r\n\r\n";
  for (int v : {2, 3}) {
    reg += "[HKEY_CURRENT_USER\\SOFTWARE\\Aerlon" + std::to_string(v) + "]\r\n";
    if (installed_[v - 2]) {
      reg += "\"InstallDir\"=\"..\\\\Games\\\\Aerlon" + std::to_string(v) + "\"\r\n";
    }
    reg += "\"LastPlayer\"=\"" + pilot_ + "\"\r\n\r\n";
  }
  if (with_documents) {
    reg +=
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
        "Folders]\r\n\"Personal\"=\"..\\\\" +
        documents_ + "\"\r\n\r\n";
  }
  reg +=
      "[HKEY_CURRENT_USER\\System\\CurrentControlSet\\Control\\MediaProperties\\"
      "PrivateProperties\\Joystick\\OEM\\VID_045E&PID_001B]\r\n"
      "\"OEMName\"=\"" +
      joystick_name_ +
      "\"\r\n\r\n"
      "[HKEY_CURRENT_USER\\System\\CurrentControlSet\\Control\\MediaProperties\\"
      "PrivateProperties\\DirectInput\\VID_045E&PID_001B\\Calibration\\0]\r\n"
      "\"GUID\"=hex:" +
      joystick_guid_hex + "\r\n";
  write("registry.reg", reg);
}

int Installation::run_program_in_work(const std::string& program, const std::string& lang,
                                      const std::vector<std::string>& args,
                                      const std::string& answers, const RunOptions& options) {
  write("answers.txt", answers);
  std::vector<std::pair<std::string, std::string>> env = {
      {"MALVET_JOYSTICKS", dir_.file("joysticks.txt")},
      {"MALVET_DIALOGS", dir_.file("answers.txt")},
      {"MALVET_DIALOG_LOG", dir_.file("dialogs.log")},
      {"LC_ALL", lang}};
  env.insert(env.end(), extra_env_.begin(), extra_env_.end());
  return run_malvet(program, args, dir_.file("work"), dir_.file("registry.reg"), env, &console_,
                    options);
}
