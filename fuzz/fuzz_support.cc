#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

std::string& work_dir() {
  static std::string dir;
  return dir;
}

}  // namespace

int prepare_fuzzing() {
  std::string dir = (std::filesystem::temp_directory_path() / "malvet-fuzz-XXXXXX").string();
  if (mkdtemp(dir.data()) == nullptr || chdir(dir.c_str()) != 0) std::abort();
  work_dir() = dir;
  std::atexit([] {
    std::error_code ec;
    std::filesystem::remove_all(work_dir(), ec);
  });
  std::FILE* empty = std::fopen("answers.txt", "wb");
  if (empty != nullptr) std::fclose(empty);
  setenv("MALVET_DIALOGS", (dir + "/answers.txt").c_str(), 1);
  unsetenv("MALVET_DIALOG_LOG");
  unsetenv("MALVET_REGISTRY");
  unsetenv("MALVET_JOYSTICKS");
  if (std::freopen("/dev/null", "w", stdout) == nullptr) std::abort();
  return 0;
}

void write_input(const std::string& name, const std::uint8_t* data, std::size_t size) {
  std::FILE* f = std::fopen(name.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}
