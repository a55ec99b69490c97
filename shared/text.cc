#include "shared/text.h"

#include <array>
#include <limits>

namespace {

constexpr std::size_t path_work_capacity = 1024;
constexpr std::size_t list_item_capacity = 256;
constexpr std::size_t i2b_max_width = 16;

// The relational operators, in the order in which they are looked for.
constexpr std::array<std::string_view, 7> reltxt = {"=", "!=", "<", "<=", ">", ">=", "[]"};

bool is_number_end(char c) { return c == ' ' || c == '\t' || c == ',' || c == '/'; }

}  // namespace

void append_utf8(std::string& out, char32_t u) {
  if (u < 0x80) {
    out.push_back(static_cast<char>(u));
  } else if (u < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (u >> 6)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  } else if (u < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (u >> 12)));
    out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (u >> 18)));
    out.push_back(static_cast<char>(0x80 | ((u >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
  }
}

bool is_utf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    // The bytes that follow a lead byte; 4 for a byte that leads nothing.
    std::size_t extra = c < 0x80                ? 0
                        : c >= 0xC2 && c < 0xE0 ? 1
                        : c >= 0xE0 && c < 0xF0 ? 2
                        : c >= 0xF0 && c < 0xF5 ? 3
                                                : 4;
    if (extra == 4 || bytes.size() - i <= extra) return false;
    char32_t u = extra == 0 ? c : c & (0x3F >> extra);
    for (std::size_t k = 1; k <= extra; ++k) {
      unsigned char t = static_cast<unsigned char>(bytes[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      u = (u << 6) | (t & 0x3F);
    }
    static constexpr char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (u < least[extra] || u > 0x10FFFF || (u >= 0xD800 && u < 0xE000)) return false;
    i += extra + 1;
  }
  return true;
}

namespace {

bool is_high_surrogate(char32_t u) { return u >= 0xD800 && u < 0xDC00; }
bool is_low_surrogate(char32_t u) { return u >= 0xDC00 && u < 0xE000; }

}  // namespace

std::string utf16_to_utf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t u = text[i];
    if (is_high_surrogate(u) && i + 1 < text.size() && is_low_surrogate(text[i + 1])) {
      u = 0x10000 + ((u - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (is_high_surrogate(u) || is_low_surrogate(u)) {
      u = U'?';
    }
    append_utf8(out, u);
  }
  return out;
}

std::u16string utf8_to_utf16(std::string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    // The longest well-formed character that starts here, if any.
    std::size_t length = 0;
    for (std::size_t n = 1; n <= 4 && i + n <= text.size(); ++n) {
      if (is_utf8(text.substr(i, n))) {
        length = n;
        break;
      }
    }
    if (length == 0) {
      out.push_back(u'?');
      ++i;
      continue;
    }
    unsigned char lead = static_cast<unsigned char>(text[i]);
    char32_t u = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
      u = (u << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    if (u >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((u - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((u - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(u));
    }
    i += length;
  }
  return out;
}

std::u16string utf16le_units(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                        static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return out;
}

bool is_blank(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

std::string_view trimmed(std::string_view s) {
  std::size_t end = s.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : s.substr(0, end + 1);
}

std::string trim(std::string_view s) { return std::string(trimmed(s)); }

std::string left_justify(std::string_view s) { return std::string(justified(s)); }

std::string cut(std::string_view s, std::size_t capacity) { return trim(s.substr(0, capacity)); }

std::string pad(std::string_view s, std::size_t capacity) {
  std::string out(s.substr(0, capacity));
  out.resize(capacity, ' ');
  return out;
}

bool same_text(std::string_view a, std::string_view b) { return trimmed(a) == trimmed(b); }

std::optional<std::int32_t> read_whole_number(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  std::size_t first_digit = i;
  std::int64_t value = 0;
  for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
      return std::nullopt;
    }
  }
  if (i == first_digit) return std::nullopt;
  if (i < s.size() && !is_number_end(s[i])) return std::nullopt;
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

KeyVal extract_key_val(std::string_view ligne) {
  KeyValView parts = split_key_val(ligne);
  return {std::string(parts.key), std::string(parts.val)};
}

std::string_view justified(std::string_view s) {
  std::size_t start = s.find_first_not_of(' ');
  return start == std::string_view::npos ? std::string_view() : trimmed(s.substr(start));
}

KeyValView split_key_val(std::string_view ligne) {
  std::size_t p = ligne.find('=');
  if (p == std::string_view::npos) p = ligne.find(':');
  if (p == std::string_view::npos) return {trimmed(ligne), std::string_view()};
  return {justified(ligne.substr(0, p)), justified(ligne.substr(p + 1))};
}

KeyRelVal extract_key_val_rel(std::string_view ligne) {
  std::size_t found_at = std::string_view::npos;
  std::string_view found;
  for (std::string_view op : reltxt) {
    std::size_t p = ligne.find(op);
    if (p != std::string_view::npos) {
      found_at = p;
      found = op;
    }
  }
  if (found_at == std::string_view::npos) return {trim(ligne), "", ""};
  return {left_justify(ligne.substr(0, found_at)), std::string(found),
          left_justify(ligne.substr(found_at + found.size()))};
}

std::string extract_list(std::string& val, char sep) {
  if (is_blank(val)) {
    val.clear();
    return std::string();
  }
  std::size_t c = val.find(sep);
  if (c == std::string::npos) {
    std::string buff = trim(val);
    val.clear();
    return buff;
  }
  std::size_t open = val.find('"');
  if (open < c) {
    std::size_t close = val.find('"', open + 1);
    if (close != std::string::npos) {
      std::size_t after = val.find(sep, close + 1);
      c = after != std::string::npos ? after : close + 1;
    }
  }
  std::string buff = left_justify(std::string_view(val).substr(0, c));
  val = c + 1 < val.size() ? trim(std::string_view(val).substr(c + 1)) : std::string();
  return buff;
}

std::string extract_comma(std::string& val) { return extract_list(val, ','); }

std::vector<std::string> read_list(std::string& val, char sep, std::size_t item_capacity) {
  std::vector<std::string> lst;
  for (;;) {
    std::string item = cut(extract_list(val, sep), list_item_capacity);
    if (item.empty()) break;
    lst.push_back(cut(item, item_capacity));
  }
  return lst;
}

bool case_blind_compare(std::string_view s1, std::string_view s2) {
  std::string_view a = trimmed(s1);
  std::string_view b = trimmed(s2);
  if (a.size() != b.size()) return false;
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

std::string i2b(std::int32_t ii4, std::size_t capacity) {
  std::size_t width = capacity < i2b_max_width ? capacity : i2b_max_width;
  std::string digits = std::to_string(ii4);
  if (digits.size() > width) return std::string(width, '*');
  return digits;
}

std::string strcpy_c2f(const char* in_str, std::size_t ls, std::size_t capacity) {
  std::size_t limit = (ls == 0 || ls > capacity) ? capacity : ls;
  std::string out;
  for (std::size_t i = 0; i < limit && in_str[i] != '\0'; ++i) {
    out.push_back(in_str[i]);
  }
  return out;
}

std::string strcpy_f2c(std::string_view in_str) { return trim(in_str); }

void remove_trail_0(std::string& buff) {
  std::size_t nul = buff.find('\0');
  if (nul != std::string::npos) buff = trim(std::string_view(buff).substr(0, nul));
}

void make_printable(std::string& str) {
  for (char& c : str) {
    if (c == '\n') c = '/';
  }
}

std::string extract_name(std::string_view path) {
  if (is_blank(path)) return std::string();
  std::size_t last = path.rfind(fld_sep);
  return trim(last == std::string_view::npos ? path : path.substr(last + 1));
}

PathName extract_path_name(std::string_view path) {
  std::string copy = cut(path, path_work_capacity);
  if (copy.empty()) return {};
  if (trim(path) == "..") return {std::string(fld_up), std::string()};
  std::size_t last = copy.rfind(fld_sep);
  if (last == std::string::npos) return {std::string(fld_loc), copy};
  return {copy.substr(0, last + 1), copy.substr(last + 1)};
}
