// The POSIX stand-in of the platform layer: what Windows would answer, taken
// from the file system and the MALVET_* stand-in files: paths and files, the
// program, its environment and registry, the listing and the copy. The
// desktop and the locale are in platform-posix-desktop.cc and -locale.cc.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

#include "shared/limits.h"
#include "shared/platform-posix.h"
#include "shared/platform.h"
#include "shared/platform_listing.h"
#include "shared/platform_regfile.h"
#include "shared/text.h"

namespace {

// The bytes of a file; nothing when it can't be opened or read to its end.
std::optional<std::string> read_whole_file(const char* name) {
  std::FILE* in = std::fopen(name, "rb");
  if (in == nullptr) return std::nullopt;
  std::string bytes;
  char buf[file_block];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, in)) > 0) bytes.append(buf, n);
  bool whole = std::ferror(in) == 0;
  std::fclose(in);
  if (!whole) return std::nullopt;
  return bytes;
}

}  // namespace

const std::string* stand_in_file(const char* name) {
  // The files a run read, each as it stood: the same file, its size and
  // times (a change of its permissions too) unchanged.
  struct Read {
    struct stat st;
    std::string bytes;
  };
  static std::vector<std::pair<std::string, std::unique_ptr<Read>>> files;
  struct stat st;
  if (stat(name, &st) != 0) return nullptr;
  auto same = [&](const struct stat& a) {
    return a.st_dev == st.st_dev && a.st_ino == st.st_ino && a.st_size == st.st_size &&
           a.st_mtim.tv_sec == st.st_mtim.tv_sec && a.st_mtim.tv_nsec == st.st_mtim.tv_nsec &&
           a.st_ctim.tv_sec == st.st_ctim.tv_sec && a.st_ctim.tv_nsec == st.st_ctim.tv_nsec;
  };
  for (const auto& [path, read] : files) {
    if (path == name && same(read->st)) return &read->bytes;
  }
  std::optional<std::string> bytes = read_whole_file(name);
  if (!bytes) return nullptr;
  for (auto& [path, read] : files) {
    if (path == name) {
      *read = {st, std::move(*bytes)};
      return &read->bytes;
    }
  }
  files.emplace_back(name, std::make_unique<Read>(Read{st, std::move(*bytes)}));
  return &files.back().second->bytes;
}

namespace {

std::string replace_all(std::string_view text, char from, char to) {
  std::string out(text);
  for (char& c : out) {
    if (c == from) c = to;
  }
  return out;
}

}  // namespace

std::string to_native_path(std::string_view path) { return replace_all(path, '\\', '/'); }

std::string from_native_path(std::string_view path) { return replace_all(path, '/', '\\'); }

namespace {

FileRefusal last_refusal = FileRefusal::none;

// The refusal of a step on `path` that failed: read-only or none.
FileRefusal refusal_of(const std::string& path) {
  return file_read_only(path) ? FileRefusal::read_only : FileRefusal::none;
}

}  // namespace

FileRefusal last_file_refusal() { return last_refusal; }

bool file_read_only(const std::string& path) {
  struct stat st;
  return stat(to_native_path(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode) &&
         (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::FILE* open_file(const std::string& path, const char* mode) {
  std::string native = to_native_path(path);
  struct stat st;
  last_refusal = FileRefusal::none;
  if (std::strchr(mode, 'r') != nullptr && stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    return nullptr;
  }
  std::FILE* file = std::fopen(native.c_str(), mode);
  if (file == nullptr) last_refusal = refusal_of(path);
  return file;
}

bool truncate_open_file(std::FILE* file) {
  return std::fflush(file) == 0 && ftruncate(fileno(file), 0) == 0 &&
         std::fseek(file, 0, SEEK_SET) == 0;
}

bool delete_file(const std::string& path) { return std::remove(to_native_path(path).c_str()) == 0; }

bool flush_to_disk(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

bool replace_file(const std::string& from, const std::string& to) {
  last_refusal = FileRefusal::none;
  return std::rename(to_native_path(from).c_str(), to_native_path(to).c_str()) == 0;
}

bool file_exists(const std::string& path) {
  struct stat st;
  return stat(to_native_path(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool name_taken(const std::string& path) {
  struct stat st;
  return lstat(to_native_path(path).c_str(), &st) == 0;
}

bool is_link(const std::string& path) {
  struct stat st;
  return lstat(to_native_path(path).c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::FILE* create_passing_file(const std::string& path) {
  std::string native = to_native_path(path);
  last_refusal = FileRefusal::none;
  struct stat st;
  if (lstat(native.c_str(), &st) == 0) {
    if (!S_ISREG(st.st_mode) || unlink(native.c_str()) != 0) return nullptr;
  }
  int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, "wb");
  if (file == nullptr) close(fd);
  return file;
}

bool rename_to_new_name(const std::string& from, const std::string& to) {
  last_refusal = FileRefusal::none;
  std::string native_from = to_native_path(from);
  std::string native_to = to_native_path(to);
  // A second link under the new name fails when that name is taken.
  if (link(native_from.c_str(), native_to.c_str()) == 0) {
    unlink(native_from.c_str());
    return true;
  }
  if (errno == EEXIST) return false;
  // A file system without links: the name is looked at, then taken.
  struct stat st;
  if (lstat(native_to.c_str(), &st) == 0) return false;
  return std::rename(native_from.c_str(), native_to.c_str()) == 0;
}

std::optional<std::string> virtual_store_copy(const std::string&) { return std::nullopt; }

std::tm local_time_now() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return tm;
}

std::optional<std::int64_t> file_modified_time(const std::string& path) {
  struct stat st;
  if (stat(to_native_path(path).c_str(), &st) != 0) return std::nullopt;
  return static_cast<std::int64_t>(st.st_mtime);
}

std::string program_path() {
  // Argument 0 as the program was started, which /proc keeps as given.
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  std::string arg0;
  std::getline(in, arg0, '\0');
  return from_native_path(arg0);
}

std::string program_argument(int argc, char** argv, int index, bool* whole) {
  if (whole != nullptr) *whole = true;
  return index >= 0 && index < argc ? std::string(argv[index]) : std::string();
}

std::optional<std::string> program_folder(bool* whole) {
  if (whole != nullptr) *whole = true;
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return std::nullopt;
  std::string path(buffer, static_cast<std::size_t>(n));
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::nullopt;
  return from_native_path(path.substr(0, slash + 1));
}

std::string working_folder() {
  char buffer[4096];
  if (getcwd(buffer, sizeof buffer) == nullptr) return ".";
  return from_native_path(buffer);
}

std::optional<std::string> environment_variable(const std::string& name, bool* whole) {
  const char* value = std::getenv(name.c_str());
  if (whole != nullptr) *whole = true;  // bytes, as they stand
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

RegistryRead read_registry_value(RegistryRoot root, const std::string& subkey,
                                 const std::string& name, std::size_t capacity) {
  RegistryRead result;
  const char* file_name = std::getenv("MALVET_REGISTRY");
  if (file_name == nullptr || *file_name == '\0') return result;
  // A file that can't be read to its end is as good as none: every value
  // is then missing.
  const std::string* file = stand_in_file(file_name);
  if (file == nullptr) return result;
  result.open_status = 0;
  const char* root_name = root == RegistryRoot::classes_root    ? "HKEY_CLASSES_ROOT"
                          : root == RegistryRoot::local_machine ? "HKEY_LOCAL_MACHINE"
                                                                : "HKEY_CURRENT_USER";
  auto value = find_reg_value(*file, root_name, subkey, name, &result.whole);
  if (!value) return result;
  if (value->size() > capacity) {
    result.query_status = status_more_data;
    return result;
  }
  result.query_status = 0;
  result.data = *value;
  return result;
}

namespace {

// A name matched without regard to case, as Windows does, "?" standing for
// one character.
bool wildcard_match(std::string_view name, std::string_view pattern) {
  if (name.size() != pattern.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    char a = static_cast<char>(std::tolower(static_cast<unsigned char>(name[i])));
    char b = static_cast<char>(std::tolower(static_cast<unsigned char>(pattern[i])));
    if (b != '?' && a != b) return false;
  }
  return true;
}

}  // namespace

CommandStatus list_newest_first(const std::string& pattern, const std::string& listing) {
  std::string native = to_native_path(pattern);
  std::size_t slash = native.rfind('/');
  std::string folder = slash == std::string::npos ? "." : native.substr(0, slash + 1);
  std::string name_pattern = slash == std::string::npos ? native : native.substr(slash + 1);

  std::vector<ListedFile> files;
  if (DIR* dir = opendir(folder.c_str())) {
    while (dirent* e = readdir(dir)) {
      std::string name = e->d_name;
      if (name == "." || name == ".." || !wildcard_match(name, name_pattern)) continue;
      struct stat st;
      std::string full = (slash == std::string::npos ? "" : folder) + name;
      if (stat(full.c_str(), &st) != 0) continue;
      files.push_back({name, static_cast<std::int64_t>(st.st_mtime)});
    }
    closedir(dir);
  }
  return write_listing(std::move(files), listing);
}

CommandStatus copy_file_whole(const std::string& from, const std::string& passing,
                              const std::string& to) {
  CommandStatus status;
  status.exit_status = 1;
  std::FILE* in = open_file(from, "rb");
  if (in == nullptr) return status;
  std::FILE* out = create_passing_file(passing);
  if (out == nullptr) {
    std::fclose(in);
    return status;
  }
  char buf[file_block];
  bool ok = true;
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, in)) > 0) {
    if (std::fwrite(buf, 1, n, out) != n) ok = false;
  }
  if (std::ferror(in)) ok = false;
  std::fclose(in);
  ok = flush_to_disk(out) && ok;
  if (std::fclose(out) != 0) ok = false;
  if (ok && rename_to_new_name(passing, to)) {
    status.exit_status = 0;
  } else {
    delete_file(passing);
  }
  return status;
}

bool folder_exists(const std::string& path) {
  struct stat st;
  return stat(to_native_path(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::vector<std::string>> running_programs() {
  std::vector<std::string> programs;
  const char* file_name = std::getenv("MALVET_PROCESSES");
  if (file_name == nullptr || *file_name == '\0') return programs;
  const std::string* file = stand_in_file(file_name);
  if (file == nullptr) {
    struct stat st;
    if (stat(file_name, &st) != 0) return programs;  // missing: nothing runs
    return std::nullopt;
  }
  std::string_view rest(*file);
  while (!rest.empty()) {
    std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    std::size_t first = line.find_first_not_of(" \t\r");
    std::size_t last = line.find_last_not_of(" \t\r");
    if (first != std::string_view::npos) {
      programs.emplace_back(line.substr(first, last - first + 1));
    }
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return programs;
}

std::string full_path_name(const std::string& path) {
  std::string native = to_native_path(path);
  if (native.empty() || native[0] != '/') native = to_native_path(working_folder()) + "/" + native;
  // "." and ".." resolved by the names alone, as GetFullPathNameA does.
  std::vector<std::string> parts;
  std::size_t at = 0;
  while (at <= native.size()) {
    std::size_t slash = native.find('/', at);
    if (slash == std::string::npos) slash = native.size();
    std::string part = native.substr(at, slash - at);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = slash + 1;
  }
  std::string full;
  for (const std::string& part : parts) full += "\\" + part;
  return full.empty() ? "\\" : full;
}

bool same_file(const std::string& a, const std::string& b) {
  struct stat sa;
  struct stat sb;
  return stat(to_native_path(a).c_str(), &sa) == 0 && stat(to_native_path(b).c_str(), &sb) == 0 &&
         sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
