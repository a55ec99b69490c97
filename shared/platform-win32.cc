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
#include "shared/windows_rules.h"

std::string to_native_path(std::string_view path) { return std::string(path); }

std::string from_native_path(std::string_view path) { return std::string(path); }

// The longest path the programs ask Windows for: a long OneDrive path fits.
constexpr DWORD long_path_capacity = MAX_PATH * 4;

namespace {

// Why the last file step was refused.
FileRefusal last_refusal = FileRefusal::none;

bool is_hold(DWORD error) {
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// Notes why a step on `path` failed with `error`.
void note_refusal(const std::string& path, DWORD error) {
  last_refusal = windows_rules::refusal_of(error, GetFileAttributesA(path.c_str()));
}

}  // namespace

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

std::string program_path() { return __argv != nullptr ? __argv[0] : ""; }

namespace {

std::wstring wide(std::string_view text) {
  std::u16string units = ansi_to_utf16(text);
  return std::wstring(units.begin(), units.end());
}

std::string narrow(std::wstring_view text, bool* whole) {
  return utf16_to_ansi(std::u16string(text.begin(), text.end()), whole);
}

}  // namespace

std::string program_argument(int argc, char** argv, int index, bool* whole) {
  if (whole != nullptr) *whole = true;
  int n = 0;
  LPWSTR* wide_args = CommandLineToArgvW(GetCommandLineW(), &n);
  std::string argument;
  if (wide_args != nullptr && n == argc && index >= 0 && index < n) {
    argument = narrow(wide_args[index], whole);
  } else if (index >= 0 && index < argc) {
    argument = argv[index];
  }
  if (wide_args != nullptr) LocalFree(wide_args);
  return argument;
}

std::optional<std::string> program_folder(bool* whole) {
  // Read as wide text: a folder whose name the code page can't hold is
  // known to have lost letters.
  if (whole != nullptr) *whole = true;
  std::wstring buffer(long_path_capacity, L'\0');
  DWORD n = GetModuleFileNameW(nullptr, &buffer[0], long_path_capacity);
  if (n == 0 || n >= long_path_capacity) return std::nullopt;
  std::string path = narrow(std::wstring_view(buffer.data(), n), whole);
  std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return std::nullopt;
  return path.substr(0, slash + 1);
}

std::string working_folder() {
  char buffer[long_path_capacity];
  DWORD n = GetCurrentDirectoryA(sizeof buffer, buffer);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : std::string(".");
}

std::optional<std::string> environment_variable(const std::string& name, bool* whole) {
  // Read as wide text, so that a letter the code page lacks is known to be
  // lost rather than taken for a look-alike.
  std::wstring wide_name = wide(name);
  DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  DWORD n = GetEnvironmentVariableW(wide_name.c_str(), &value[0], size);
  if (n == 0 || n >= size) return std::nullopt;
  value.resize(n);
  return narrow(value, whole);
}

RegistryRead read_registry_value(RegistryRoot root, const std::string& subkey,
                                 const std::string& name, std::size_t capacity) {
  RegistryRead result;
  HKEY root_key = root == RegistryRoot::classes_root    ? HKEY_CLASSES_ROOT
                  : root == RegistryRoot::local_machine ? HKEY_LOCAL_MACHINE
                                                        : HKEY_CURRENT_USER;
  HKEY key;
  result.open_status =
      static_cast<std::int32_t>(RegOpenKeyExA(root_key, subkey.c_str(), 0, KEY_QUERY_VALUE, &key));
  if (result.open_status != ERROR_SUCCESS) return result;
  // Read as wide data: a text then comes in the code page with "?" for a
  // letter it lacks (RegQueryValueExA would give a look-alike letter).
  std::wstring wide_name = wide(name);
  DWORD type = 0, size = 0;
  LONG status = RegQueryValueExW(key, wide_name.c_str(), nullptr, &type, nullptr, &size);
  std::string data(size, '\0');
  if (status == ERROR_SUCCESS && size > 0) {
    status = RegQueryValueExW(key, wide_name.c_str(), nullptr, &type,
                              reinterpret_cast<BYTE*>(&data[0]), &size);
    data.resize(size);
  }
  if (status == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)) {
    std::u16string units = utf16le_units(data);
    while (!units.empty() && units.back() == u'\0') units.pop_back();
    if (type == REG_MULTI_SZ) units += u'\0';
    data = utf16_to_ansi(units, &result.whole) + '\0';
  }
  if (status == ERROR_SUCCESS && data.size() > capacity) status = ERROR_MORE_DATA;
  result.query_status = static_cast<std::int32_t>(status);
  if (status == ERROR_SUCCESS) result.data = data;
  result.close_status = static_cast<std::int32_t>(RegCloseKey(key));
  return result;
}

namespace {

// The command interpreter by its full path: the system folder's cmd.exe,
// whose command lines these are, whatever %ComSpec% names; never a cmd.exe
// that lies beside the program.
std::string interpreter() {
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

// How the interpreter gets its environment: this program's less DIRCMD
// (for DIR and COPY), or this program's own, untouched (for "start", whose
// document's program would otherwise get variables narrowed to the code
// page).
enum class Environment { without_dircmd, own };

// Starts the command interpreter on a command line as users have not set it
// up: no AutoRun (/d), no delayed expansion of "!" (/v:off).
bool start_interpreter(const std::string& command_line, DWORD flags, Environment environment,
                       PROCESS_INFORMATION& pi) {
  std::string program = interpreter();
  std::string line = "\"" + program + "\" /d /v:off /c " + command_line;
  std::string block =
      environment == Environment::without_dircmd ? environment_without_dircmd() : std::string();
  STARTUPINFOA si;
  std::memset(&si, 0, sizeof si);
  si.cb = sizeof si;
  return CreateProcessA(program.c_str(), &line[0], nullptr, nullptr, FALSE, flags,
                        block.size() > 1 ? &block[0] : nullptr, nullptr, &si, &pi) != 0;
}

// Runs a command line through the command interpreter and waits for it.
CommandStatus run_interpreter(const std::string& command_line) {
  CommandStatus status;
  PROCESS_INFORMATION pi;
  if (!start_interpreter(command_line, 0, Environment::without_dircmd, pi)) {
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
  char buffer[long_path_capacity];
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
    // Hidden and system files too (/A-D): a hidden backup keeps its number.
    return run_interpreter("DIR /TW /B /O-D /A-D \"" + full_path(pattern) + "\" > \"" +
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

namespace {

// Why the command interpreter's COPY failed, which it does not tell: the
// file copied refused to be read (held by another program, say), or its
// copy refused to be written.
void note_copy_refusal(const std::string& from, const std::string& passing) {
  last_refusal = FileRefusal::none;
  HANDLE source = CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (source == INVALID_HANDLE_VALUE) {
    note_refusal(from, GetLastError());
    return;
  }
  CloseHandle(source);
  HANDLE copy = CreateFileA(passing.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (copy == INVALID_HANDLE_VALUE) {
    note_refusal(passing, GetLastError());
  } else {
    CloseHandle(copy);
  }
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
  // COPY passes a hidden file over: the native copy takes it.
  if (!has_percent(from, passing) &&
      !windows_rules::hidden_from_the_interpreter(GetFileAttributesA(from.c_str()))) {
    status = run_interpreter("COPY /Y \"" + full_path(from) + "\" \"" + full_path(passing) + "\"");
    if (status.exit_status != 0 || status.command_status != 0) note_copy_refusal(from, passing);
  } else if (CopyFileA(from.c_str(), passing.c_str(), FALSE)) {
    status.exit_status = 0;
  } else {
    status.exit_status = 1;
    DWORD error = GetLastError();
    note_refusal(passing, error);
    if (last_refusal == FileRefusal::none) note_refusal(from, error);
  }
  if (status.exit_status == 0 && status.command_status == 0) {
    flush_file(passing);
    if (!rename_to_new_name(passing, to)) status.exit_status = 1;
  }
  if (status.exit_status != 0 || status.command_status != 0) DeleteFileA(passing.c_str());
  return status;
}

void start_document(const std::string& path) {
  // The full path as Windows holds it, in wide text.
  std::wstring name = wide(path);
  std::wstring full(long_path_capacity, L'\0');
  DWORD n = GetFullPathNameW(name.c_str(), long_path_capacity, &full[0], nullptr);
  full.resize(n > 0 && n < long_path_capacity ? n : 0);
  if (full.empty()) full = name;
  bool whole = true;
  std::string narrow_full = narrow(full, &whole);
  if (windows_rules::document_opener(narrow_full, whole) == windows_rules::Opener::shell) {
    ShellExecuteW(nullptr, L"open", full.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return;
  }
  // "start" through the command interpreter, which returns at once.
  PROCESS_INFORMATION pi;
  if (start_interpreter("start \"\" \"" + narrow_full + "\"", CREATE_NO_WINDOW, Environment::own,
                        pi)) {
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
  write_standard_output(ansi_to_utf16(text), text);
}

void write_standard_output(std::u16string_view units, std::string_view bytes) {
  if (!standard_output_is_console()) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return;
  }
  // What went through the C library first, then the text as wide characters
  // (a line feed starts a new line on a console by itself).
  std::fflush(stdout);
  DWORD written = 0;
  WriteConsoleW(GetStdHandle(STD_OUTPUT_HANDLE), units.data(), static_cast<DWORD>(units.size()),
                &written, nullptr);
}

std::uint32_t ansi_code_page() { return GetACP(); }

std::u16string ansi_to_utf16(std::string_view text) {
  std::u16string units;
  if (text.empty()) return units;
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return std::u16string(text.size(), u'?');
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  for (wchar_t c : out) units.push_back(c >= 0x80 && c < 0xA0 ? u'?' : static_cast<char16_t>(c));
  return units;
}

std::string utf16_to_ansi(std::u16string_view text, bool* whole) {
  if (whole != nullptr) *whole = true;
  if (text.empty()) return std::string();
  std::wstring units(text.begin(), text.end());
  const int size = static_cast<int>(units.size());
  // The flags the code page takes: with UTF-8 (Windows 10's "Beta: Use
  // Unicode UTF-8"), a name is then UTF-8, which the A functions take.
  windows_rules::Narrowing how = windows_rules::narrowing(GetACP());
  using Told = windows_rules::Narrowing::Told;
  bool by_default = how.told == Told::by_default_character;
  const char* default_character = by_default ? "?" : nullptr;
  BOOL lost = FALSE;
  BOOL* lost_at = by_default ? &lost : nullptr;
  DWORD flags = how.flags;
  bool held = true;
  int n = WideCharToMultiByte(CP_ACP, flags, units.data(), size, nullptr, 0, default_character,
                              lost_at);
  if (n <= 0 && how.told == Told::by_failure) {
    // A surrogate without its other half: turned as best the code page can.
    held = false;
    flags = 0;
    n = WideCharToMultiByte(CP_ACP, 0, units.data(), size, nullptr, 0, nullptr, nullptr);
  }
  if (n <= 0) {
    if (whole != nullptr) *whole = false;
    return std::string(text.size(), '?');
  }
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, flags, units.data(), size, &out[0], n, default_character, lost_at);
  if (lost) held = false;
  if (how.told == Told::by_turning_back && ansi_to_utf16(out) != text) held = false;
  if (whole != nullptr) *whole = held;
  return out;
}

std::optional<char> regional_list_separator() {
  char buffer[8];
  int n = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SLIST, buffer, sizeof buffer);
  if (n <= 1 || !is_list_separator(buffer[0])) return std::nullopt;
  return buffer[0];
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
  // Owned by the program's console window and brought to the front, never
  // kept above every other window.
  style |= MB_SETFOREGROUND;
  switch (MessageBoxA(GetConsoleWindow(), message.c_str(), title.c_str(), style)) {
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
                                            const std::vector<std::string>& patterns, bool multi,
                                            bool* whole) {
  if (whole != nullptr) *whole = true;
  // The filter is pairs of NUL-terminated texts: the patterns joined by ";"
  // stand for themselves, then every file.
  std::string joined;
  for (const std::string& p : patterns) joined += (joined.empty() ? "" : ";") + p;
  std::string filter;
  if (!joined.empty()) filter += joined + '\0' + joined + '\0';
  filter += std::string("*.*") + '\0' + "*.*" + '\0' + '\0';
  std::wstring wide_filter = wide(filter);
  std::wstring wide_title = wide(title);

  // The wide dialog: a chosen name's letters that the code page lacks are
  // known to be lost, never taken for look-alike letters.
  std::wstring file = wide(initial_path);
  file.resize(multi ? 32768 : long_path_capacity, L'\0');
  OPENFILENAMEW ofn;
  std::memset(&ofn, 0, sizeof ofn);
  ofn.lStructSize = sizeof ofn;
  ofn.lpstrFilter = wide_filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = &file[0];
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = wide_title.c_str();
  ofn.Flags =
      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR | (multi ? OFN_ALLOWMULTISELECT : 0);
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;

  // With several files chosen the buffer holds the folder, then each name.
  std::wstring first(file.c_str());
  const wchar_t* next = file.c_str() + first.size() + 1;
  if (!multi || *next == L'\0') return narrow(first, whole);
  std::wstring result;
  while (*next != L'\0') {
    std::wstring name(next);
    result += (result.empty() ? L"" : L"|") + first + L"\\" + name;
    next += name.size() + 1;
  }
  return narrow(result, whole);
}
