// The Win32 platform layer: the machine's code page, the region's list
// separator and the user interface's language.
#include "shared/platform-win32.h"
#include "shared/windows_rules.h"

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

namespace win32 {

std::wstring wide(std::string_view text) {
  std::u16string units = ansi_to_utf16(text);
  return std::wstring(units.begin(), units.end());
}

std::string narrow(std::wstring_view text, bool* whole) {
  return utf16_to_ansi(std::u16string(text.begin(), text.end()), whole);
}

}  // namespace win32
