#include "converter/conversion.h"

#include "shared/text.h"

namespace {

constexpr std::size_t number_capacity = 8;

std::optional<std::int32_t> command_number(std::string_view text) {
  std::optional<std::int32_t> n = read_whole_number(text);
  if (!n || *n < 0 || *n > highest_command) return std::nullopt;
  return n;
}

}  // namespace

std::optional<CommandMap> read_command_map(LineSource& table) {
  CommandMap k_v3(highest_command + 1, -1);
  while (std::optional<std::string> line = table.next()) {
    if (is_blank(*line)) continue;
    KeyVal kv = extract_key_val(*line);
    std::optional<std::int32_t> v3 = command_number(kv.key);
    std::optional<std::int32_t> v2 = command_number(kv.val);
    if (kv.val.empty() || !v3 || !v2) continue;
    k_v3[static_cast<std::size_t>(*v2)] = *v3;
  }
  if (table.failed()) return std::nullopt;
  return k_v3;
}

std::optional<std::vector<std::string>> convert_lines(LineSource& source, const CommandMap& k_v3) {
  std::vector<std::string> out;
  while (std::optional<std::string> line = source.next()) {
    if (is_blank(*line)) continue;
    if ((*line)[0] == '[') {
      out.push_back(trim(*line));
      continue;
    }
    KeyVal kv = extract_key_val(*line);
    std::optional<std::int32_t> mcmd = command_number(kv.key);
    if (!mcmd || k_v3[static_cast<std::size_t>(*mcmd)] < 0) continue;
    out.push_back(i2b(k_v3[static_cast<std::size_t>(*mcmd)], number_capacity) + "=" + trim(kv.val));
  }
  if (source.failed()) return std::nullopt;
  return out;
}
