// The Win32 platform layer: the program, its environment and the registry,
// and the command interpreter's listing, copy and start.
#include "shared/platform-win32.h"
// The headers below need <windows.h> first.
#include <shellapi.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "shared/platform_listing.h"
#include "shared/text.h"
#include "shared/windows_rules.h"

using win32::narrow;
using win32::note_refusal;
using win32::wide;

std::string program_path() { return __argv != nullptr ? __argv[0] : ""; }

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

// A file named from the working folder is named in full before the
// interpreter runs, so that nothing it does first can change what it names.
std::string full_path_name(const std::string& path) {
  char buffer[long_path_capacity];
  DWORD n = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return n > 0 && n < sizeof buffer ? std::string(buffer, n) : path;
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
    return run_interpreter("DIR /TW /B /O-D /A-D \"" + full_path_name(pattern) + "\" > \"" +
                           full_path_name(listing) + "\"");
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
  win32::set_refusal(FileRefusal::none);
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
    status = run_interpreter("COPY /Y \"" + full_path_name(from) + "\" \"" +
                             full_path_name(passing) + "\"");
    if (status.exit_status != 0 || status.command_status != 0) note_copy_refusal(from, passing);
  } else if (CopyFileA(from.c_str(), passing.c_str(), FALSE)) {
    status.exit_status = 0;
  } else {
    status.exit_status = 1;
    DWORD error = GetLastError();
    note_refusal(passing, error);
    if (last_file_refusal() == FileRefusal::none) note_refusal(from, error);
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

std::optional<std::vector<std::string>> running_programs() {
  std::vector<std::string> programs;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return std::nullopt;
  PROCESSENTRY32W entry;
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    std::wstring path;
    if (HANDLE process =
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID)) {
      std::wstring buffer(long_path_capacity, L'\0');
      DWORD n = long_path_capacity;
      if (QueryFullProcessImageNameW(process, 0, &buffer[0], &n) != 0) path = buffer.substr(0, n);
      CloseHandle(process);
    }
    // A process of another user or an elevated one: its name alone.
    if (path.empty()) path = entry.szExeFile;
    programs.push_back(narrow(path, nullptr));
  }
  CloseHandle(snapshot);
  return programs;
}

bool same_file(const std::string& a, const std::string& b) {
  auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE file =
        CreateFileW(wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    return ok;
  };
  BY_HANDLE_FILE_INFORMATION ia;
  BY_HANDLE_FILE_INFORMATION ib;
  return identity(a, ia) && identity(b, ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}
