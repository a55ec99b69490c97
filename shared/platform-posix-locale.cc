// The POSIX stand-in's code page and regional settings: the Windows code page
// that MALVET_CODEPAGE names (through glibc's iconv, which knows every one of
// them), else 1252, the list separator of MALVET_LIST_SEPARATOR, and the
// user interface's language from the locale.
#include <iconv.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

#include "shared/platform.h"

namespace {

constexpr int default_code_page = 1252;
constexpr std::uint16_t lang_french = 0x040C;
constexpr std::uint16_t lang_german = 0x0407;
constexpr std::uint16_t lang_english = 0x0409;

// The Windows single-byte code pages: Thai, then Central European to
// Vietnamese.
bool is_single_byte_code_page(long n) { return n == 874 || (n >= 1250 && n <= 1258); }

int code_page_number() {
  const char* value = std::getenv("MALVET_CODEPAGE");
  if (value == nullptr || *value == '\0') return default_code_page;
  char* end = nullptr;
  long n = std::strtol(value, &end, 10);
  return *end == '\0' && is_single_byte_code_page(n) ? static_cast<int>(n) : default_code_page;
}

// The character of each byte of a code page, "?" for a byte that stands for
// none and for the control characters above 0x7F.
struct CodePage {
  int number = 0;
  std::array<char16_t, 256> to_unicode{};
};

CodePage load(int number) {
  CodePage cp;
  cp.number = number;
  std::string name = "CP" + std::to_string(number);
  iconv_t cd = iconv_open("UTF-16LE", name.c_str());
  for (int b = 0; b < 256; ++b) {
    char in = static_cast<char>(b);
    unsigned char out[4] = {0, 0, 0, 0};
    char* in_at = &in;
    char* out_at = reinterpret_cast<char*>(out);
    std::size_t in_left = 1, out_left = sizeof out;
    char16_t u = u'?';
    // Each byte from a fresh state.
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (b < 0x80) {
      u = static_cast<char16_t>(b);
    } else if (cd != reinterpret_cast<iconv_t>(-1) &&
               iconv(cd, &in_at, &in_left, &out_at, &out_left) != static_cast<std::size_t>(-1) &&
               // A stateful code page (1258's combining marks) holds the
               // letter back until what follows: the state flushed gives it.
               iconv(cd, nullptr, nullptr, &out_at, &out_left) != static_cast<std::size_t>(-1) &&
               out_left == 2) {
      u = static_cast<char16_t>(out[0] | out[1] << 8);
      if (u >= 0x80 && u < 0xA0) u = u'?';
    }
    cp.to_unicode[static_cast<std::size_t>(b)] = u;
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  return cp;
}

// The code page in force, loaded again should MALVET_CODEPAGE change.
const CodePage& code_page() {
  static CodePage cp;
  int number = code_page_number();
  if (cp.number != number) cp = load(number);
  return cp;
}

}  // namespace

std::uint32_t ansi_code_page() { return static_cast<std::uint32_t>(code_page_number()); }

std::u16string ansi_to_utf16(std::string_view text) {
  const CodePage& cp = code_page();
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) out.push_back(cp.to_unicode[static_cast<unsigned char>(c)]);
  return out;
}

std::string utf16_to_ansi(std::u16string_view text, bool* whole) {
  const CodePage& cp = code_page();
  std::string out;
  out.reserve(text.size());
  bool held = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t u = text[i];
    int byte = -1;
    if (u < 0x80) {
      byte = u;
    } else {
      for (int b = 0x80; b < 256 && byte < 0; ++b) {
        if (cp.to_unicode[static_cast<std::size_t>(b)] == u) byte = b;
      }
    }
    if (byte < 0) {
      held = false;
      byte = '?';
      // A pair stands for one character.
      if (u >= 0xD800 && u < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
          text[i + 1] < 0xE000) {
        ++i;
      }
    }
    out.push_back(static_cast<char>(byte));
  }
  if (whole != nullptr) *whole = held;
  return out;
}

std::optional<char> regional_list_separator() {
  const char* value = std::getenv("MALVET_LIST_SEPARATOR");
  if (value == nullptr) return std::nullopt;
  if (!is_list_separator(value[0])) return std::nullopt;
  return value[0];
}

std::uint16_t user_ui_language() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    if (std::strncmp(value, "fr", 2) == 0) return lang_french;
    return std::strncmp(value, "de", 2) == 0 ? lang_german : lang_english;
  }
  return lang_english;
}
