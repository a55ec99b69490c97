#include "report/html_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "shared/own_text.h"
#include "shared/platform.h"
#include "shared/text.h"

namespace {

bool is_control(unsigned char b) { return b < 0x20 || b == 0x7F; }

// The text in UTF-8: the code page's letters (or with `own`, Windows-1252's)
// converted, ASCII as it stands.
std::string_view utf8_of(std::string_view text, bool own, std::string& converted) {
  bool ascii = std::all_of(text.begin(), text.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) return text;
  converted = utf16_to_utf8(own ? own_to_utf16(text) : ansi_to_utf16(text));
  return converted;
}

// Of each byte of a text, what HTML makes of it: 0 as it stands, 1 a
// reference or a blank, 2 a letter past ASCII (to convert first).
constexpr std::array<unsigned char, 256> html_kinds() {
  std::array<unsigned char, 256> kinds{};
  for (int b = 0; b < 256; ++b) {
    bool special = b == '&' || b == '<' || b == '>' || b == '"' || b < 0x20 || b == 0x7F;
    kinds[static_cast<std::size_t>(b)] = special ? 1 : b >= 0x80 ? 2 : 0;
  }
  return kinds;
}
constexpr std::array<unsigned char, 256> html_kind = html_kinds();

}  // namespace

void append_html(std::string& out, std::string_view text, bool own) {
  // Most texts need nothing: they go whole.
  unsigned char seen = 0;
  for (char c : text) seen |= html_kind[static_cast<unsigned char>(c)];
  if (seen == 0) {
    out.append(text);
    return;
  }
  std::string converted;
  std::string_view utf8 = (seen & 2) != 0 ? utf8_of(text, own, converted) : text;
  // What needs no reference goes in stretches.
  std::size_t start = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (html_kind[static_cast<unsigned char>(utf8[i])] != 1) continue;
    const char* reference = nullptr;
    switch (utf8[i]) {
      case '&':
        reference = "&amp;";
        break;
      case '<':
        reference = "&lt;";
        break;
      case '>':
        reference = "&gt;";
        break;
      case '"':
        reference = "&quot;";
        break;
      default:
        reference = " ";
    }
    out.append(utf8, start, i - start);
    out += reference;
    start = i + 1;
  }
  out.append(utf8, start);
}

void append_json(std::string& out, std::string_view text, bool own) {
  static const char hex[] = "0123456789abcdef";
  std::string converted;
  std::string_view utf8 = utf8_of(text, own, converted);
  // What needs no escape (a byte of UTF-8, a plain character) goes in
  // stretches.
  std::size_t start = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    char c = utf8[i];
    unsigned char b = static_cast<unsigned char>(c);
    bool quoted = c == '"' || c == '\\';
    if (!quoted && !is_control(b) && c != '<' && c != '>' && c != '&') continue;
    out.append(utf8, start, i - start);
    if (quoted) {
      out.push_back('\\');
      out.push_back(c);
    } else {
      char escape[] = {'\\', 'u', '0', '0', hex[b >> 4], hex[b & 15]};
      out.append(escape, sizeof escape);
    }
    start = i + 1;
  }
  out.append(utf8, start);
}

PageText& PageText::with_line_ends(std::string_view s) {
  for (std::size_t start = 0;;) {
    std::size_t end = s.find('\n', start);
    if (end == std::string_view::npos) {
      text.append(s, start);
      return *this;
    }
    text.append(s, start, end - start).append("\r\n");
    start = end + 1;
  }
}

PageText& PageText::operator<<(std::int32_t n) {
  char buf[16];
  auto end = std::to_chars(buf, buf + sizeof buf, n).ptr;
  text.append(buf, end);
  return *this;
}

PageText& PageText::operator<<(Html h) {
  append_html(text, h.text, h.own);
  return *this;
}

PageText& PageText::operator<<(Json j) {
  text.push_back('"');
  append_json(text, j.text, j.own);
  text.push_back('"');
  return *this;
}

PageText& PageText::operator<<(Units u) {
  long thousandths = std::lround(u.value * 1000);
  char buf[32];
  char* end = buf;
  if (thousandths < 0) {
    *end++ = '-';
    thousandths = -thousandths;
  }
  end = std::to_chars(end, buf + 24, thousandths / 1000).ptr;
  long rest = thousandths % 1000;
  if (rest != 0) {
    *end++ = '.';
    for (long unit = 100; rest != 0; unit /= 10) {
      *end++ = static_cast<char>('0' + rest / unit);
      rest %= unit;
    }
  }
  text.append(buf, static_cast<std::size_t>(end - buf));
  return *this;
}
