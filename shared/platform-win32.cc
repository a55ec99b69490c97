// The Win32 implementation of the platform layer, what pilots run: paths,
// files and why Windows refused a file step. The system, the desktop and the
// locale are in the platform-win32-*.cc files beside it.
#include "shared/platform-win32.h"
// The headers below need <windows.h> first.
#include <fcntl.h>
#include <io.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

#include "shared/retry.h"
#include "shared/windows_rules.h"

std::string to_native_path(std::string_view path) { return std::string(path); }

std::string from_native_path(std::string_view path) { return std::string(path); }

namespace {

// Why the last file step was refused.
FileRefusal last_refusal = FileRefusal::none;

}  // namespace

namespace win32 {

bool is_hold(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

void note_refusal(const std::string& path, DWORD error) {
  last_refusal = windows_rules::refusal_of(error, GetFileAttributesA(path.c_str()));
}

void set_refusal(FileRefusal refusal) { last_refusal = refusal; }

}  // namespace win32

using win32::is_hold;
using win32::note_refusal;

FileRefusal last_file_refusal() { return last_refusal; }

bool file_read_only(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

std::FILE* open_file(const std::string& path, const char* mode) {
  last_refusal = FileRefusal::none;
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (std::strchr(mode, 'r') != nullptr && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return nullptr;
  }
  std::FILE* file = std::fopen(path.c_str(), mode);
  // The C library keeps the system's own reason in _doserrno.
  if (file == nullptr) note_refusal(path, static_cast<DWORD>(_doserrno));
  return file;
}

bool truncate_open_file(std::FILE* file) {
  return std::fflush(file) == 0 && _chsize_s(_fileno(file), 0) == 0 &&
         std::fseek(file, 0, SEEK_SET) == 0;
}

bool delete_file(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool flush_to_disk(std::FILE* file) {
  if (std::fflush(file) != 0) return false;
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
}

namespace {

// MoveFileEx, tried again for about two seconds while it is refused (access
// denied, or the file held by another program).
bool move_file(const std::string& from, const std::string& to, DWORD flags) {
  DWORD error = 0;
  bool moved = retry_while_refused(
      [&] {
        if (MoveFileExA(from.c_str(), to.c_str(), flags)) return StepOutcome::done;
        error = GetLastError();
        return error == ERROR_ACCESS_DENIED || is_hold(error) ? StepOutcome::refused
                                                              : StepOutcome::failed;
      },
      [] { Sleep(replace_pause_ms); }, replace_tries);
  last_refusal = FileRefusal::none;
  if (moved) return true;
  note_refusal(to, error);
  if (error == ERROR_ACCESS_DENIED) {
    // A file held open without leave to delete it refuses a replace as
    // "access denied"; asking for that leave tells it from a read-only one.
    HANDLE probe =
        CreateFileA(to.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
      if (is_hold(GetLastError())) last_refusal = FileRefusal::held;
    } else {
      CloseHandle(probe);
    }
  }
  return false;
}

}  // namespace

bool replace_file(const std::string& from, const std::string& to) {
  return move_file(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool file_exists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool name_taken(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool is_link(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

namespace {

// The reparse tag of what stands under `path`, 0 for none.
DWORD reparse_tag(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  FindClose(search);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? found.dwReserved0 : 0;
}

// Removes a leftover file of an earlier run under `path`, read-only or a
// cloud placeholder as it may be; false when something else stands there
// or it can't go.
bool remove_leftover(const std::string& path, DWORD attributes) {
  if (!windows_rules::leftover_removable(attributes, reparse_tag(path))) return false;
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetFileAttributesA(path.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  }
  if (DeleteFileA(path.c_str())) return true;
  note_refusal(path, GetLastError());
  return false;
}

}  // namespace

std::FILE* create_passing_file(const std::string& path) {
  last_refusal = FileRefusal::none;
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && !remove_leftover(path, attributes)) return nullptr;
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    note_refusal(path, GetLastError());
    return nullptr;
  }
  int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE* file = _fdopen(fd, "wb");
  if (file == nullptr) _close(fd);
  return file;
}

bool rename_to_new_name(const std::string& from, const std::string& to) {
  return move_file(from, to, MOVEFILE_WRITE_THROUGH);
}

std::optional<std::string> virtual_store_copy(const std::string& path) {
  char buffer[long_path_capacity];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  if (n == 0 || n >= sizeof buffer) return std::nullopt;
  std::vector<std::string> program_files;
  for (const char* name : {"ProgramFiles", "ProgramFiles(x86)", "ProgramW6432"}) {
    if (std::optional<std::string> folder = environment_variable(name)) {
      program_files.push_back(*folder);
    }
  }
  std::optional<std::string> local = environment_variable("LOCALAPPDATA");
  return windows_rules::virtual_store_path(std::string(buffer, n), program_files,
                                           local.value_or(""));
}

std::tm local_time_now() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_s(&tm, &now);
  return tm;
}

std::optional<std::int64_t> file_modified_time(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    return std::nullopt;
  }
  // File times count 100-nanosecond steps from 1601-01-01.
  ULARGE_INTEGER t;
  t.LowPart = data.ftLastWriteTime.dwLowDateTime;
  t.HighPart = data.ftLastWriteTime.dwHighDateTime;
  constexpr std::int64_t epoch_1970 = 116444736000000000LL;
  return (static_cast<std::int64_t>(t.QuadPart) - epoch_1970) / 10000000;
}

bool folder_exists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
