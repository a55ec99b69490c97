#include "shared/tables.h"

#include "shared/text.h"

namespace {

// The loop both loaders share: blank lines skipped (and, with `comments`,
// lines that begin with "#"), every other line handed, split at its
// separator, to `take` until the end, `capacity` entries, or `take`
// returning false.
template <typename Table, typename Take>
std::optional<Table> load(LineSource& in, std::size_t capacity, bool comments, Take take) {
  Table table;
  while (table.size() < capacity) {
    std::optional<std::string> line = in.next();
    if (!line) break;
    if (is_blank(*line) || (comments && (*line)[0] == '#')) continue;
    if (!take(table, split_key_val(*line))) break;
  }
  if (in.failed()) return std::nullopt;
  return table;
}

}  // namespace

std::optional<std::int32_t> in_command_table(std::optional<std::int32_t> n) {
  if (!n || *n < 0 || *n > highest_command) return std::nullopt;
  return n;
}

std::optional<CommandMap> read_command_map(LineSource& table) {
  CommandMap k_v3(highest_command + 1, -1);
  while (std::optional<std::string> line = table.next()) {
    if (is_blank(*line)) continue;
    KeyVal kv = extract_key_val(*line);
    std::optional<std::int32_t> v3 = in_command_table(read_whole_number(kv.key));
    std::optional<std::int32_t> v2 = in_command_table(read_whole_number(kv.val));
    if (kv.val.empty() || !v3 || !v2) continue;
    k_v3[static_cast<std::size_t>(*v2)] = *v3;
  }
  if (table.failed()) return std::nullopt;
  return k_v3;
}

ScanTableChoice scan_table_of(Language language) {
  if (language == Language::french) return {"SCN_AZERTY_FR.txt", true};
  return {};
}

std::optional<ScanCodeTable> load_scan_codes(LineSource& in) {
  // A code that does not read ends the table, its entry included.
  return load<ScanCodeTable>(in, maxkey, false, [](ScanCodeTable& keys, const KeyValView& kv) {
    std::optional<std::int32_t> code = read_whole_number(kv.key);
    keys.push_back({code.value_or(0), cut(kv.val, key_name_capacity)});
    return code.has_value();
  });
}

std::optional<CommandTable> load_commands(LineSource& in, std::int32_t& lmax) {
  return load<
      CommandTable>(in, maxcmd, true, [&lmax](CommandTable& commands, const KeyValView& kv) {
    std::int32_t length = static_cast<std::int32_t>(kv.val.size());
    if (length > lmax) lmax = length;
    commands.push_back({read_whole_number(kv.key).value_or(0), cut(kv.val, command_name_capacity)});
    return true;
  });
}

const std::string* command_name(const CommandTable& table, std::int32_t number) {
  for (const Command& command : table) {
    if (command.number == number) return &command.name;
  }
  return nullptr;
}
