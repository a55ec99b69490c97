// The Win32 implementation of the platform layer: what pilots run.
#include <windows.h>
// The headers below need <windows.h> first.
#include <commdlg.h>
#include <fcntl.h>
#include <io.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "shared/platform.h"
#include "shared/platform_listing.h"
#include "shared/retry.h"
#include "shared/text.h"

std::string to_native_path(std::string_view path) { return std::string(path); }

std::string from_native_path(std::string_view path) { return std::string(path); }

namespace {

// Whether the last file step that failed was refused by another program's
// hold on the file.
bool held_by_another = false;

bool is_hold(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

}  // namespace

bool file_held_by_another_program() { return held_by_another; }

std::FILE* open_file(const std::string& path, const char* mode) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (std::strchr(mode, 'r') != nullptr && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return nullptr;
  }
  std::FILE* file = std::fopen(path.c_str(), mode);
  // The C library keeps the system's own reason in _doserrno.
  if (file == nullptr) held_by_another = is_hold(static_cast<DWORD>(_doserrno));
  return file;
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
  held_by_another = !moved && is_hold(error);
  if (!moved && error == ERROR_ACCESS_DENIED) {
    // A file held open without leave to delete it refuses a replace as
    // "access denied"; asking for that leave tells it from a read-only one.
    HANDLE probe =
        CreateFileA(to.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
      held_by_another = is_hold(GetLastError());
    } else {
      CloseHandle(probe);
    }
  }
  return moved;
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

std::FILE* create_passing_file(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    // Only a plain file of an earlier run goes; a folder or a link stays.
    if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0 ||
        !DeleteFileA(path.c_str())) {
      return nullptr;
    }
  }
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
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

std::string program_path() { return __argv != nullptr ? __argv[0] : ""; }

std::optional<std::string> environment_variable(const std::string& name) {
  DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::string value(size, '\0');
  DWORD n = GetEnvironmentVariableA(name.c_str(), &value[0], size);
  if (n == 0 || n >= size) return std::nullopt;
  value.resize(n);
  return value;
}

RegistryRead read_registry_value(bool classes_root, const std::string& subkey,
                                 const std::string& name, std::size_t capacity) {
  RegistryRead result;
  HKEY key;
  result.open_status =
      static_cast<std::int32_t>(RegOpenKeyExA(classes_root ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER,
                                              subkey.c_str(), 0, KEY_QUERY_VALUE, &key));
  if (result.open_status != ERROR_SUCCESS) return result;
  std::string buffer(capacity, '\0');
  DWORD size = static_cast<DWORD>(capacity);
  result.query_status = static_cast<std::int32_t>(RegQueryValueExA(
      key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&buffer[0]), &size));
  if (result.query_status == ERROR_SUCCESS) result.data = buffer.substr(0, size);
  result.close_status = static_cast<std::int32_t>(RegCloseKey(key));
  return result;
}

namespace {

// The command interpreter by its full path: %ComSpec%, else the system
// folder's cmd.exe; never a cmd.exe that lies beside the program.
std::string interpreter() {
  if (std::optional<std::string> comspec = environment_variable("ComSpec");
      comspec && !comspec->empty()) {
    return *comspec;
  }
  char folder[MAX_PATH];
  UINT n = GetSystemDirectoryA(folder, MAX_PATH);
  return (n > 0 && n < MAX_PATH ? std::string(folder, n) : std::string("C:\\Windows\\System32")) +
         "\\cmd.exe";
}

// This program's environment less DIRCMD, whose switches would change what
// DIR lists: a block of NUL-terminated "NAME=value" texts.
std::string environment_without_dircmd() {
  std::string block;
  char* strings = GetEnvironmentStringsA();
  if (strings == nullptr) return block;
  for (const char* entry = strings; *entry != '\0'; entry += std::strlen(entry) + 1) {
    if (_strnicmp(entry, "DIRCMD=", 7) == 0) continue;
    block += entry;
    block += '\0';
  }
  FreeEnvironmentStringsA(strings);
  block += '\0';
  return block;
}

// Starts the command interpreter on a command line as users have not set it
// up: no AutoRun (/d), no delayed expansion of "!" (/v:off), no DIRCMD.
bool start_interpreter(const std::string& command_line, DWORD flags, PROCESS_INFORMATION& pi) {
  std::string program = interpreter();
  std::string line = "\"" + program + "\" /d /v:off /c " + command_line;
  std::string environment = environment_without_dircmd();
  STARTUPINFOA si;
  std::memset(&si, 0, sizeof si);
  si.cb = sizeof si;
  return CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, flags,
                        environment.size() > 1 ? &environment[0] : nullptr, nullptr, &si, &pi) != 0;
}

// Runs a command line through the command interpreter and waits for it.
CommandStatus run_interpreter(const std::string& command_line) {
  CommandStatus status;
  PROCESS_INFORMATION pi;
  if (!start_interpreter(command_line, 0, pi)) {
    status.command_status = static_cast<int>(GetLastError());
    status.exit_status = -1;
    return status;
  }
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  status.exit_status = static_cast<int>(code);
  return status;
}

// The full name of a file named from the working folder, so that nothing the
// interpreter does first can change what it names.
std::string full_path(const std::string& path) {
  char buffer[MAX_PATH * 4];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : path;
}

bool has_percent(const std::string& a, const std::string& b) {
  return a.find('%') != std::string::npos || b.find('%') != std::string::npos;
}

}  // namespace

CommandStatus list_newest_first(const std::string& pattern, const std::string& listing) {
  if (!has_percent(pattern, listing)) {
    // The listing is made new here, so that the interpreter's redirection
    // writes over a file of this run and never through a link.
    std::FILE* made = create_passing_file(listing);
    if (made == nullptr) {
      CommandStatus status;
      status.exit_status = 1;
      status.command_status = 1;
      return status;
    }
    std::fclose(made);
    return run_interpreter("DIR /TW /B /O-D \"" + full_path(pattern) + "\" > \"" +
                           full_path(listing) + "\"");
  }
  // A name the interpreter would expand: listed natively.
  std::vector<ListedFile> files;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      ULARGE_INTEGER t;
      t.LowPart = found.ftLastWriteTime.dwLowDateTime;
      t.HighPart = found.ftLastWriteTime.dwHighDateTime;
      files.push_back({name, static_cast<std::int64_t>(t.QuadPart)});
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  return write_listing(std::move(files), listing);
}

namespace {

// Writes a file that another program wrote through to the disk, when it can
// be opened for that (a copy of a read-only file is read-only too).
void flush_file(const std::string& path) {
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  FlushFileBuffers(handle);
  CloseHandle(handle);
}

}  // namespace

CommandStatus copy_file_whole(const std::string& from, const std::string& passing,
                              const std::string& to) {
  CommandStatus status;
  std::FILE* made = create_passing_file(passing);
  if (made == nullptr) {
    status.exit_status = 1;
    return status;
  }
  std::fclose(made);
  if (!has_percent(from, passing)) {
    status = run_interpreter("COPY /Y \"" + full_path(from) + "\" \"" + full_path(passing) + "\"");
  } else {
    status.exit_status = CopyFileA(from.c_str(), passing.c_str(), FALSE) ? 0 : 1;
  }
  if (status.exit_status == 0 && status.command_status == 0) {
    flush_file(passing);
    if (!rename_to_new_name(passing, to)) status.exit_status = 1;
  }
  if (status.exit_status != 0 || status.command_status != 0) DeleteFileA(passing.c_str());
  return status;
}

void start_document(const std::string& path) {
  // A name holding "%" would be expanded by the command interpreter.
  if (path.find('%') != std::string::npos) {
    ShellExecuteA(nullptr, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  // "start" through the command interpreter, which returns at once.
  PROCESS_INFORMATION pi;
  if (start_interpreter("start \"\" \"" + full_path(path) + "\"", CREATE_NO_WINDOW, pi)) {
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
}

std::string key_name_text(std::uint32_t lparam, std::size_t capacity) {
  std::string buffer(capacity, '\0');
  int n = GetKeyNameTextA(static_cast<LONG>(lparam), &buffer[0], static_cast<int>(capacity));
  if (n <= 0) return std::string();
  buffer.resize(static_cast<std::size_t>(n));
  return buffer;
}

std::uint32_t joystick_slots() { return joyGetNumDevs(); }

std::optional<JoystickCaps> joystick_caps(std::uint32_t slot) {
  JOYCAPSA caps;
  std::memset(&caps, 0, sizeof caps);
  if (joyGetDevCapsA(slot, &caps, sizeof caps) != JOYERR_NOERROR) return std::nullopt;
  JoystickCaps out;
  out.axes = static_cast<std::int32_t>(caps.wNumAxes);
  out.buttons = static_cast<std::int32_t>(caps.wNumButtons);
  out.vendor = caps.wMid;
  out.product = caps.wPid;
  out.name = std::string(caps.szPname, strnlen(caps.szPname, sizeof caps.szPname));
  out.registry_key = std::string(caps.szRegKey, strnlen(caps.szRegKey, sizeof caps.szRegKey));
  return out;
}

bool folder_exists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool standard_output_is_console() {
  static const bool console = [] {
    HANDLE handle = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
           GetConsoleMode(handle, &mode) != 0;
  }();
  return console;
}

void write_standard_output(std::string_view text) {
  if (!standard_output_is_console()) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return;
  }
  // What went through the C library first, then the text as wide characters
  // (a line feed starts a new line on a console by itself).
  std::fflush(stdout);
  std::u16string wide = cp1252_to_utf16(text);
  DWORD written = 0;
  WriteConsoleW(GetStdHandle(STD_OUTPUT_HANDLE), wide.data(), static_cast<DWORD>(wide.size()),
                &written, nullptr);
}

std::uint16_t user_ui_language() { return GetUserDefaultUILanguage(); }

int native_message_box(const std::string& title, const std::string& message,
                       const std::string& dialog_type, const std::string& icon,
                       int default_button) {
  UINT style = MB_OK;
  if (dialog_type == "yesno") style = MB_YESNO;
  if (dialog_type == "okcancel") style = MB_OKCANCEL;
  if (dialog_type == "yesnocancel") style = MB_YESNOCANCEL;
  if (icon == "info") style |= MB_ICONINFORMATION;
  if (icon == "warning") style |= MB_ICONWARNING;
  if (icon == "error") style |= MB_ICONERROR;
  if (icon == "question") style |= MB_ICONQUESTION;
  style |= default_button == 2   ? MB_DEFBUTTON2
           : default_button == 3 ? MB_DEFBUTTON3
                                 : MB_DEFBUTTON1;
  style |= MB_TOPMOST;
  switch (MessageBoxA(nullptr, message.c_str(), title.c_str(), style)) {
    case IDOK:
    case IDYES:
      return 1;
    case IDNO:
      return dialog_type == "yesnocancel" ? 2 : 0;
    default:
      return 0;
  }
}

std::optional<std::string> native_open_file(const std::string& title,
                                            const std::string& initial_path,
                                            const std::vector<std::string>& patterns, bool multi) {
  // The filter is pairs of NUL-terminated texts: the patterns joined by ";"
  // stand for themselves, then every file.
  std::string joined;
  for (const std::string& p : patterns) joined += (joined.empty() ? "" : ";") + p;
  std::string filter;
  if (!joined.empty()) filter += joined + '\0' + joined + '\0';
  filter += std::string("*.*") + '\0' + "*.*" + '\0' + '\0';

  std::string file = initial_path;
  file.resize(multi ? 32768 : MAX_PATH * 4, '\0');
  OPENFILENAMEA ofn;
  std::memset(&ofn, 0, sizeof ofn);
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFilter = filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = &file[0];
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = title.c_str();
  ofn.Flags =
      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR | (multi ? OFN_ALLOWMULTISELECT : 0);
  if (!GetOpenFileNameA(&ofn)) return std::nullopt;

  // With several files chosen the buffer holds the folder, then each name.
  std::string first(file.c_str());
  const char* next = file.c_str() + first.size() + 1;
  if (!multi || *next == '\0') return first;
  std::string result;
  while (*next != '\0') {
    std::string name(next);
    result += (result.empty() ? "" : "|") + first + "\\" + name;
    next += name.size() + 1;
  }
  return result;
}
