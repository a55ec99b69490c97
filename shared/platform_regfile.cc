#include "shared/platform_regfile.h"

#include <unordered_map>
#include <vector>

#include "shared/platform.h"
#include "shared/text.h"

namespace {

// The export's text: UTF-16LE (after its byte-order mark) as UTF-8, whose
// texts are narrowed to the code page value by value; single-byte text as it
// stands.
struct ExportText {
  std::string text;
  bool utf8 = false;
};

ExportText export_text(std::string_view file) {
  if (file.size() >= 2 && static_cast<unsigned char>(file[0]) == 0xFF &&
      static_cast<unsigned char>(file[1]) == 0xFE) {
    return {utf16_to_utf8(utf16le_units(file.substr(2))), true};
  }
  if (file.substr(0, 3) == "\xEF\xBB\xBF") file.remove_prefix(3);
  return {std::string(file), false};
}

std::string_view strip(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

// The lines of the export with value lines that end in "\" joined to the
// lines that carry them on.
std::vector<std::string> logical_lines(const std::string& text) {
  std::vector<std::string> lines;
  bool continuing = false;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string_view line = strip(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (continuing) {
      lines.back() += line;
    } else {
      lines.emplace_back(line);
    }
    std::string& last = lines.back();
    continuing = !last.empty() && last.back() == '\\' && last[0] != '[' && last[0] != ';';
    if (continuing) last.pop_back();
  }
  return lines;
}

std::string normalize_key(std::string_view key) {
  std::string out = trim(key);
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return out;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "40,1a,00" as bytes; nothing when it is not such a list.
std::optional<std::string> hex_bytes(std::string_view list) {
  std::string out;
  list = strip(list);
  while (!list.empty()) {
    std::size_t comma = list.find(',');
    std::string_view item = strip(list.substr(0, comma));
    if (item.empty() || item.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : item) {
      int d = hex_digit(c);
      if (d < 0) return std::nullopt;
      value = value * 16 + d;
    }
    out.push_back(static_cast<char>(value));
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  return out;
}

// A quoted text with the escapes \\ and \" starting at `s[0]`; `rest` gets
// what follows its closing quote. Nothing when it is not closed.
std::optional<std::string> quoted(std::string_view s, std::string_view& rest) {
  if (s.empty() || s[0] != '"') return std::nullopt;
  std::string out;
  for (std::size_t i = 1; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      out.push_back(s[++i]);
    } else if (s[i] == '"') {
      rest = s.substr(i + 1);
      return out;
    } else {
      out.push_back(s[i]);
    }
  }
  return std::nullopt;
}

// The bytes that the data part of a value line stands for; nothing for a
// deletion ("-") or data that does not read. `unicode`: a version 5.00
// export; `utf8`: its text came as UTF-16. `whole` is set false when a text
// held a letter that the code page lacks.
std::optional<std::string> value_data(std::string_view data, bool unicode, bool utf8, bool& whole) {
  data = strip(data);
  std::string_view rest;
  if (!data.empty() && data[0] == '"') {
    auto text = quoted(data, rest);
    if (!text) return std::nullopt;
    if (utf8) return utf16_to_ansi(utf8_to_utf16(*text), &whole) + '\0';
    return *text + '\0';
  }
  if (data.substr(0, 6) == "dword:") {
    std::string_view digits = strip(data.substr(6));
    if (digits.empty() || digits.size() > 8) return std::nullopt;
    unsigned long value = 0;
    for (char c : digits) {
      int d = hex_digit(c);
      if (d < 0) return std::nullopt;
      value = value * 16 + static_cast<unsigned long>(d);
    }
    std::string out;
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return out;
  }
  if (data.substr(0, 4) == "hex:") return hex_bytes(data.substr(4));
  if (data.substr(0, 4) == "hex(") {
    std::size_t close = data.find("):");
    if (close == std::string_view::npos) return std::nullopt;
    std::string_view type = data.substr(4, close - 4);
    auto bytes = hex_bytes(data.substr(close + 2));
    // Expandable and multiple strings are UTF-16LE in a version 5.00 file.
    if (!bytes || !unicode || (type != "2" && type != "7")) return bytes;
    return utf16_to_ansi(utf16le_units(*bytes), &whole);
  }
  return std::nullopt;
}

// The export's logical lines, made once for each file's bytes: a run reads
// many values of one file.
struct ParsedExport {
  std::string bytes;
  bool utf8 = false;
  std::vector<std::string> lines;
  // The key lines of each key, by its name as keys compare (see key_of),
  // in the file's order; a key deleted ("[-...]") has none.
  std::unordered_map<std::string, std::vector<std::size_t>> key_lines;
};

// A key's name as keys compare: normalized, without trailing blanks, in
// capitals.
std::string key_of(std::string_view key) {
  std::string name = trim(normalize_key(key));
  for (char& c : name) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return name;
}

const ParsedExport& parsed(std::string_view file) {
  static ParsedExport last;
  static bool made = false;
  if (!made || file != last.bytes) {
    ExportText text = export_text(file);
    last = {std::string(file), text.utf8, logical_lines(text.text), {}};
    for (std::size_t i = 0; i < last.lines.size(); ++i) {
      const std::string& line = last.lines[i];
      if (line.empty() || line[0] != '[') continue;
      std::size_t close = line.rfind(']');
      std::string_view inside =
          std::string_view(line).substr(1, close == std::string::npos ? line.npos : close - 1);
      if (inside.empty() || inside[0] == '-') continue;
      std::string key = key_of(inside);
      if (!key.empty()) last.key_lines[key].push_back(i);
    }
    made = true;
  }
  return last;
}

// True when the line sets the value `wanted_name`: `found` then holds what
// it sets, nothing for data that does not read.
bool sets_value(std::string_view line, const std::string& wanted_name, bool unicode, bool utf8,
                std::optional<std::string>& found, bool* whole) {
  if (line.empty() || line[0] == ';') return false;
  std::string value_name;
  std::string_view rest;
  if (line[0] == '@') {
    rest = line.substr(1);
  } else if (auto n = quoted(line, rest)) {
    value_name = *n;
  } else {
    return false;
  }
  rest = strip(rest);
  if (rest.empty() || rest[0] != '=') return false;
  if (!case_blind_compare(value_name, wanted_name) || value_name.size() != wanted_name.size()) {
    return false;
  }
  bool held = true;
  found = value_data(rest.substr(1), unicode, utf8, held);
  if (whole != nullptr) *whole = held;
  return true;
}

}  // namespace

std::optional<std::string> find_reg_value(std::string_view file, std::string_view root,
                                          std::string_view subkey, std::string_view name,
                                          bool* whole) {
  const ParsedExport& text = parsed(file);
  const std::vector<std::string>& lines = text.lines;
  std::size_t first = 0;
  while (first < lines.size() && lines[first].empty()) ++first;
  if (first == lines.size()) return std::nullopt;
  bool unicode = lines[first] == "Windows Registry Editor Version 5.00";
  if (!unicode && lines[first] != "REGEDIT4") return std::nullopt;

  auto key = text.key_lines.find(key_of(std::string(root) + "\\" + std::string(subkey)));
  if (key == text.key_lines.end()) return std::nullopt;
  std::string wanted_name = name == "@" ? std::string() : std::string(name);
  std::optional<std::string> found;
  for (std::size_t at : key->second) {
    for (std::size_t i = at + 1; i < lines.size() && (lines[i].empty() || lines[i][0] != '['); ++i) {
      sets_value(lines[i], wanted_name, unicode, text.utf8, found, whole);
    }
  }
  return found;
}


