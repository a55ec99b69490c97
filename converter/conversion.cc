#include "converter/conversion.h"

#include "shared/text.h"

namespace {

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

VersionThreeOnly::VersionThreeOnly(const CommandMap& k_v3)
    : converted_to_(highest_command + 1, false) {
  for (std::int32_t v3 : k_v3) {
    if (v3 >= 0) converted_to_[static_cast<std::size_t>(v3)] = true;
  }
}

bool VersionThreeOnly::operator()(std::int32_t v3) const {
  return v3 < 0 || v3 > highest_command || !converted_to_[static_cast<std::size_t>(v3)];
}

std::string binding_line(std::int32_t number, std::string_view value) {
  // i2b's widest field holds every number whole, its sign included.
  return i2b(number) + "=" + trim(value);
}

std::optional<ConvertedLine> convert_line(std::string_view line, const CommandMap& k_v3) {
  if (is_blank(line)) return std::nullopt;
  if (line[0] == '[') return ConvertedLine{trim(line), true, ""};
  KeyVal kv = extract_key_val(line);
  std::optional<std::int32_t> mcmd = command_number(kv.key);
  if (!mcmd || k_v3[static_cast<std::size_t>(*mcmd)] < 0) return std::nullopt;
  std::int32_t v3 = k_v3[static_cast<std::size_t>(*mcmd)];
  return ConvertedLine{binding_line(v3, kv.val), false, trim(kv.val), v3};
}

bool convert_lines(LineSource& source, const CommandMap& k_v3,
                   const std::function<void(const ConvertedLine&)>& emit) {
  while (std::optional<std::string> line = source.next()) {
    if (std::optional<ConvertedLine> converted = convert_line(*line, k_v3)) emit(*converted);
  }
  return !source.failed();
}
