// The POSIX stand-in's code page and regional settings: the Windows code page
// that MALVET_CODEPAGE names (through glibc's iconv, which knows every one of
// them), else 1252, the list separator of MALVET_LIST_SEPARATOR, and the
// user interface's language from the locale.
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "shared/own_text.h"
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
// none and for the control characters above 0x7F; and the bytes of the upper
// half by their character, in the characters' order, for the way back.
struct CodePage {
  int number = 0;
  std::array<char16_t, 256> to_unicode{};
  std::vector<std::pair<char16_t, unsigned char>> from_unicode;
};

// The upper half of a code page that gives one character a byte whatever
// comes before it, in as few calls as its bytes that stand for none: false
// when the converter does not give a character a byte.
bool load_upper_half(iconv_t cd, CodePage& cp) {
  char in[128];
  for (int i = 0; i < 128; ++i) in[i] = static_cast<char>(0x80 + i);
  for (int at = 0; at < 128;) {
    unsigned char out[256];
    char* in_at = in + at;
    char* out_at = reinterpret_cast<char*>(out);
    std::size_t in_left = static_cast<std::size_t>(128 - at), out_left = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    bool stopped = iconv(cd, &in_at, &in_left, &out_at, &out_left) == static_cast<std::size_t>(-1);
    int taken = static_cast<int>(in_at - (in + at));
    if (sizeof out - out_left != 2 * static_cast<std::size_t>(taken)) return false;
    for (int i = 0; i < taken; ++i) {
      char16_t u = static_cast<char16_t>(out[2 * i] | out[2 * i + 1] << 8);
      cp.to_unicode[static_cast<std::size_t>(0x80 + at + i)] = u >= 0x80 && u < 0xA0 ? u'?' : u;
    }
    at += taken;
    if (stopped) cp.to_unicode[static_cast<std::size_t>(0x80 + at++)] = u'?';  // stands for none
  }
  return true;
}

// One byte converted alone, from a fresh state: "?" for none, a C1
// control included.
char16_t byte_alone(iconv_t cd, char in) {
  if (cd == reinterpret_cast<iconv_t>(-1)) return u'?';
  unsigned char out[4] = {0, 0, 0, 0};
  char* in_at = &in;
  char* out_at = reinterpret_cast<char*>(out);
  std::size_t in_left = 1, out_left = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &in_at, &in_left, &out_at, &out_left) == static_cast<std::size_t>(-1) ||
      // A stateful code page (1258's combining marks) holds the letter
      // back until what follows: the state flushed gives it.
      iconv(cd, nullptr, nullptr, &out_at, &out_left) == static_cast<std::size_t>(-1) ||
      out_left != 2) {
    return u'?';
  }
  char16_t u = static_cast<char16_t>(out[0] | out[1] << 8);
  return u >= 0x80 && u < 0xA0 ? u'?' : u;
}

CodePage load(int number) {
  CodePage cp;
  cp.number = number;
  // Windows-1252, the default, is the program's own: no converter to load.
  std::string name = "CP" + std::to_string(number);
  const bool own = static_cast<std::uint32_t>(number) == own_code_page;
  iconv_t cd = own ? reinterpret_cast<iconv_t>(-1) : iconv_open("UTF-16LE", name.c_str());
  if (own) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    std::u16string units = own_to_utf16(all);
    std::copy(units.begin(), units.end(), cp.to_unicode.begin());
  }
  for (int b = 0; b < 0x80; ++b)
    cp.to_unicode[static_cast<std::size_t>(b)] = static_cast<char16_t>(b);
  // The code pages that compose letters (1255's points, 1258's marks) hold
  // them back: each byte is converted alone.
  bool stateful = number == 1255 || number == 1258;
  bool whole = own ||
               (cd != reinterpret_cast<iconv_t>(-1) && !stateful && load_upper_half(cd, cp));
  for (int b = whole ? 256 : 0x80; b < 256; ++b) {
    cp.to_unicode[static_cast<std::size_t>(b)] = byte_alone(cd, static_cast<char>(b));
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  for (int b = 0x80; b < 256; ++b) {
    char16_t u = cp.to_unicode[static_cast<std::size_t>(b)];
    if (u != u'?') cp.from_unicode.emplace_back(u, static_cast<unsigned char>(b));
  }
  // The lowest byte first among those of one character.
  std::stable_sort(cp.from_unicode.begin(), cp.from_unicode.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
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
  std::u16string out;
  out.reserve(text.size());
  const CodePage* cp = nullptr;  // looked up at the first letter past ASCII
  for (char c : text) {
    unsigned char b = static_cast<unsigned char>(c);
    if (b >= 0x80 && cp == nullptr) cp = &code_page();
    out.push_back(b < 0x80 ? static_cast<char16_t>(b) : cp->to_unicode[b]);
  }
  return out;
}

std::string utf16_to_ansi(std::u16string_view text, bool* whole) {
  const CodePage* cp = nullptr;  // looked up at the first letter past ASCII
  std::string out;
  out.reserve(text.size());
  bool held = true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t u = text[i];
    int byte = -1;
    if (u < 0x80) {
      byte = u;
    } else {
      if (cp == nullptr) cp = &code_page();
      auto found = std::lower_bound(cp->from_unicode.begin(), cp->from_unicode.end(), u,
                                    [](const auto& entry, char16_t c) { return entry.first < c; });
      if (found != cp->from_unicode.end() && found->first == u) byte = found->second;
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
