#include "report/html_text.h"

#include <algorithm>
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

}  // namespace

void append_html(std::string& out, std::string_view text, bool own) {
  std::string converted;
  std::string_view utf8 = utf8_of(text, own, converted);
  // What needs no reference goes in stretches.
  std::size_t start = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
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
        if (!is_control(static_cast<unsigned char>(utf8[i]))) continue;
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
  for (char c : utf8_of(text, own, converted)) {
    unsigned char b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (is_control(b) || c == '<' || c == '>' || c == '&') {
      out += "\\u00";
      out.push_back(hex[b >> 4]);
      out.push_back(hex[b & 15]);
    } else {
      out.push_back(c);  // a byte of UTF-8, or a character that needs nothing
    }
  }
}

PageText& PageText::operator<<(std::string_view s) {
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
  *this << static_cast<std::int32_t>(thousandths / 1000);
  long rest = thousandths % 1000;
  if (rest != 0) {
    text.push_back('.');
    for (long unit = 100; rest != 0; unit /= 10) {
      text.push_back(static_cast<char>('0' + rest / unit));
      rest %= unit;
    }
  }
  return *this;
}
