#include "report/sibling_reader.h"

#include <cstdio>

#include "shared/console.h"
#include "shared/devices.h"
#include "shared/platform.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

// The first entry of the table that `matches` (at most the first 512), -1
// when none does.
template <typename Match>
std::int32_t first_entry(const ScanCodeTable& keys, Match matches) {
  for (std::size_t j = 0; j < keys.size() && j < maxkey; ++j) {
    if (matches(keys[j])) return static_cast<std::int32_t>(j);
  }
  return -1;
}

// The number written right after `mark` in `value`.
std::optional<std::int32_t> number_after(const std::string& value, std::size_t mark) {
  return read_whole_number(std::string_view(value).substr(mark + 3));
}

}  // namespace

std::optional<ToolKeys> read_tool_ini(const std::string& tool, const std::string& fnam,
                                      const ScanCodeTable& keys) {
  std::string path = trim(fnam);
  bool exists = file_exists(path);
  console_printf(" %s %c\n", path.c_str(), exists ? 'T' : 'F');
  if (!exists) return std::nullopt;
  // One that can't be opened is listed all the same, as not read.
  LineReader in(path, line_capacity);
  return read_tool_keys(tool, path, in, keys);
}

ToolKeys read_tool_keys(const std::string& tool, const std::string& path, LineSource& in,
                        const ScanCodeTable& keys) {
  ToolKeys taken{tool, path, {}, true};
  while (std::optional<std::string> line = in.next()) {
    if (is_blank(*line) || (*line)[0] == '#') continue;
    KeyVal kv = extract_key_val(*line);
    if (kv.key.compare(0, 3, "Key") != 0) continue;
    const std::string& value = kv.val;

    std::string text;
    std::int32_t entry = -1;
    std::size_t mark;
    if ((mark = value.find('"')) != std::string::npos) {
      char c = mark + 1 < value.size() ? value[mark + 1] : ' ';
      text = std::string(1, c);
      entry = first_entry(keys, [&](const ScanCode& k) { return same_text(k.name, text); });
    } else if ((mark = value.find("SCN")) != std::string::npos) {
      std::optional<std::int32_t> s = number_after(value, mark);
      if (!s) continue;
      std::int32_t c = key_value_of(*s);
      entry = first_entry(keys, [&](const ScanCode& k) { return k.code == c; });
      text = scan_code_name(*s);
    } else if ((mark = value.find("ASC")) != std::string::npos) {
      std::optional<std::int32_t> a = number_after(value, mark);
      if (!a) continue;
      text = std::string(1, static_cast<char>(*a & 0xFF));
      entry = first_entry(keys, [&](const ScanCode& k) { return same_text(k.name, text); });
    } else {
      continue;
    }
    std::int32_t code = entry < 0 ? -1 : keys[static_cast<std::size_t>(entry)].code;
    taken.keys.push_back({kv.key, trim(text), code, entry});
  }
  taken.whole = !in.failed();
  return taken;
}
