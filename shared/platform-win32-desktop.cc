// The Win32 platform layer: the keyboard's key names, the joysticks, the
// console, the message box and the open-file dialog.
#include "shared/platform-win32.h"
// The headers below need <windows.h> first.
#include <commdlg.h>
#include <mmsystem.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shared/windows_rules.h"

using win32::narrow;
using win32::wide;

std::string key_name_text(std::uint32_t lparam, std::size_t capacity) {
  std::string buffer(capacity, '\0');
  int n = GetKeyNameTextA(static_cast<LONG>(lparam), &buffer[0], static_cast<int>(capacity));
  if (n <= 0) return std::string();
  buffer.resize(static_cast<std::size_t>(n));
  return buffer;
}

std::uint16_t keyboard_layout_language() {
  // The keyboard layout's own identifier ("00000407", a German keyboard),
  // not the input language's, which a console host's thread may hold for
  // another: its low 16 bits.
  wchar_t name[KL_NAMELENGTH] = {};
  if (GetKeyboardLayoutNameW(name) != 0) {
    std::string digits;
    for (const wchar_t* c = name; *c != L'\0'; ++c) digits.push_back(static_cast<char>(*c & 0x7F));
    if (std::optional<std::uint16_t> layout = windows_rules::layout_of_name(digits)) {
      return *layout;
    }
  }
  HKL layout = GetKeyboardLayout(0);
  return static_cast<std::uint16_t>(reinterpret_cast<std::uintptr_t>(layout) & 0xFFFF);
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

bool console_of_its_own() {
  // A window nobody sees (no window at all, or one started hidden by a
  // launcher or a scheduled task) never waits for an Enter nobody can type.
  if (!standard_output_is_console() || GetConsoleWindow() == nullptr) return false;
  STARTUPINFOW startup;
  GetStartupInfoW(&startup);
  if ((startup.dwFlags & STARTF_USESHOWWINDOW) != 0 && startup.wShowWindow == SW_HIDE) {
    return false;
  }
  // A prompt, or the interpreter of a .cmd file, shares the console: the
  // release's .cmd files ask for the window's end all the same.
  const wchar_t* asked = _wgetenv(L"MALVET_WINDOW");
  if (asked != nullptr && std::wstring_view(asked) == L"1") return true;
  DWORD processes[2];
  return GetConsoleProcessList(processes, 2) == 1;
}

void drop_typed_ahead() {
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(input, &mode) != 0) FlushConsoleInputBuffer(input);
}

int native_message_box(const std::string& title, std::u16string_view units,
                       std::string_view /*bytes: a window shows the wide text*/,
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
  // Wide text, so that every letter shows whatever the code page.
  std::wstring text(units.begin(), units.end());
  switch (MessageBoxW(GetConsoleWindow(), text.c_str(), wide(title).c_str(), style)) {
    case IDOK:
    case IDYES:
      return 1;
    case IDNO:
      return dialog_type == "yesnocancel" ? 2 : 0;
    default:
      return 0;
  }
}

namespace {

// The dialog's filter: pairs of NUL-terminated texts, the patterns joined by
// ";" standing for themselves, then every file.
std::string file_filter(const std::vector<std::string>& patterns) {
  std::string joined;
  for (const std::string& p : patterns) joined += (joined.empty() ? "" : ";") + p;
  std::string filter;
  if (!joined.empty()) filter += joined + '\0' + joined + '\0';
  return filter + std::string("*.*") + '\0' + "*.*" + '\0' + '\0';
}

}  // namespace

std::optional<std::string> native_open_file(const std::string& title,
                                            const std::string& initial_path,
                                            const std::vector<std::string>& patterns, bool multi,
                                            bool* whole) {
  if (whole != nullptr) *whole = true;
  std::wstring wide_filter = wide(file_filter(patterns));
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
