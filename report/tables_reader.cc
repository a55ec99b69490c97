#include "report/tables_reader.h"

#include <cstdio>

#include "shared/console.h"
#include "shared/messages.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

void report_unreadable_table(std::string_view unreadable, const std::string& fnam,
                             std::string_view title, std::string_view note) {
  std::size_t mark = unreadable.find('#');
  if (mark == std::string_view::npos) mark = unreadable.size();
  stop_run(title,
           {{std::string(unreadable.substr(0, mark)), true},
            {trim(fnam)},
            {std::string(unreadable.substr(std::min(mark + 1, unreadable.size()))), true}},
           {{std::string(note), true}});
}

// The loop both loaders share: opens the table, skips blank lines (and, with
// `comments`, lines that begin with "#"), and hands every other line, split
// at its separator, to `take` until the end of the file, `capacity` entries,
// or `take` returning false. When the table can't be opened, or a read error
// comes before one of these ends, an error box names it and the result is
// empty: a table cut short would give a shorter report without a word.
template <typename Table, typename Take>
std::optional<Table> read_table(const std::string& fnam, std::string_view unreadable,
                                std::string_view title, std::string_view note, std::size_t capacity,
                                bool comments, Take take) {
  LineReader in(trim(fnam), line_capacity);
  if (!in.is_open()) {
    report_unreadable_table(unreadable, fnam, title, note);
    return std::nullopt;
  }
  Table table;
  while (table.size() < capacity) {
    std::optional<std::string> line = in.next();
    if (!line) break;
    if (is_blank(*line) || (comments && (*line)[0] == '#')) continue;
    if (!take(table, extract_key_val(*line))) break;
  }
  if (in.failed()) {
    report_unreadable_table(unreadable, fnam, title, note);
    return std::nullopt;
  }
  return table;
}

}  // namespace

std::optional<ScanCodeTable> read_scn(std::string_view unreadable, const std::string& fnam,
                                      std::string_view title, std::string_view note) {
  // A code that does not read ends the table, its entry included.
  auto table = read_table<ScanCodeTable>(
      fnam, unreadable, title, note, maxkey, false, [](ScanCodeTable& keys, const KeyVal& kv) {
        std::optional<std::int32_t> code = read_whole_number(kv.key);
        keys.push_back({code.value_or(0), cut(kv.val, key_name_capacity)});
        return code.has_value();
      });
  if (table) console_printf(" %s %d keys\n", trim(fnam).c_str(), static_cast<int>(table->size()));
  return table;
}

std::optional<CommandTable> read_cmd(const std::string& fnam, std::string_view unreadable,
                                     std::int32_t& lmax, std::string_view title,
                                     std::string_view note) {
  auto table = read_table<CommandTable>(fnam, unreadable, title, note, maxcmd, true,
                                        [&lmax](CommandTable& commands, const KeyVal& kv) {
                                          std::int32_t length =
                                              static_cast<std::int32_t>(kv.val.size());
                                          if (length > lmax) lmax = length;
                                          commands.push_back({read_whole_number(kv.key).value_or(0),
                                                              cut(kv.val, command_name_capacity)});
                                          return true;
                                        });
  if (table) {
    console_printf(" %s %d commands\n", trim(fnam).c_str(), static_cast<int>(table->size()));
  }
  return table;
}
