#include "report/sibling.h"

#include <cstdio>

#include "report/probing.h"
#include "shared/console.h"
#include "shared/platform.h"
#include "shared/text.h"

namespace {

// Marks the first entry of the table that `matches`; its scan code, -1 when
// none matches.
template <typename Match>
std::int32_t mark_first(const ScanCodeTable& keys, std::vector<bool>& q_key, Match matches) {
  for (std::size_t j = 0; j < keys.size() && j < q_key.size(); ++j) {
    if (matches(keys[j])) {
      q_key[j] = true;
      return keys[j].code;
    }
  }
  return -1;
}

// The number written right after `mark` in `value`.
std::optional<std::int32_t> number_after(const std::string& value, std::size_t mark) {
  return read_whole_number(std::string_view(value).substr(mark + 3));
}

}  // namespace

bool read_tool_ini(bool qfr, const std::string& fnam, const ScanCodeTable& keys,
                   std::vector<bool>& q_key, ReportFiles& report, std::vector<TakenKey>* taken) {
  const std::string kbdnam = qfr ? "Clavier" : "Keyboard";
  std::string path = trim(fnam);
  bool exists = file_exists(path);
  console_printf(" %s %c\n", path.c_str(), exists ? 'T' : 'F');
  if (!exists) return false;
  LineReader in(path, line_capacity);
  if (!in.is_open()) return false;

  report.write_blank();
  report.write_both(path);
  report.write_blank();

  while (std::optional<std::string> line = in.next()) {
    if (is_blank(*line) || (*line)[0] == '#') continue;
    KeyVal kv = extract_key_val(*line);
    if (kv.key.compare(0, 3, "Key") != 0) continue;
    const std::string& value = kv.val;

    std::string text;
    std::int32_t code = -1;
    std::size_t mark;
    if ((mark = value.find('"')) != std::string::npos) {
      char c = mark + 1 < value.size() ? value[mark + 1] : ' ';
      text = std::string(1, c);
      code = mark_first(keys, q_key, [&](const ScanCode& k) { return same_text(k.name, text); });
    } else if ((mark = value.find("SCN")) != std::string::npos) {
      std::optional<std::int32_t> s = number_after(value, mark);
      if (!s) continue;
      std::int32_t c = *s > 256 ? *s - 128 : *s;  // no overflow: *s > 256
      code = mark_first(keys, q_key, [&](const ScanCode& k) { return k.code == c; });
      text = scan_code_name(*s);
    } else if ((mark = value.find("ASC")) != std::string::npos) {
      std::optional<std::int32_t> a = number_after(value, mark);
      if (!a) continue;
      text = std::string(1, static_cast<char>(*a & 0xFF));
      code = mark_first(keys, q_key, [&](const ScanCode& k) { return same_text(k.name, text); });
    } else {
      continue;
    }
    report.write_row(kv.key, trim(text), kbdnam);
    if (taken) taken->push_back({kv.key, trim(text), code});
  }
  return !in.failed();
}
