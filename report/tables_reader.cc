#include "report/tables_reader.h"

#include <cstdio>
#include <utility>

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

// Opens the table and loads it with `load`; when the table can't be opened,
// or a read error comes before its end, an error box names it and the result
// is empty: a table cut short would give a shorter report without a word.
template <typename Load>
auto read_table(const std::string& fnam, std::string_view unreadable, std::string_view title,
                std::string_view note, Load load) -> decltype(load(std::declval<LineSource&>())) {
  LineReader in(trim(fnam), line_capacity);
  decltype(load(in)) table;
  if (in.is_open()) table = load(in);
  if (!table) report_unreadable_table(unreadable, fnam, title, note);
  return table;
}

}  // namespace

std::optional<ScanCodeTable> read_scn(std::string_view unreadable, const std::string& fnam,
                                      std::string_view title, std::string_view note) {
  auto table = read_table(fnam, unreadable, title, note, load_scan_codes);
  if (table) console_printf(" %s %d keys\n", trim(fnam).c_str(), static_cast<int>(table->size()));
  return table;
}

std::optional<CommandTable> read_cmd(const std::string& fnam, std::string_view unreadable,
                                     std::int32_t& lmax, std::string_view title,
                                     std::string_view note) {
  auto table = read_table(fnam, unreadable, title, note,
                          [&lmax](LineSource& in) { return load_commands(in, lmax); });
  if (table) {
    console_printf(" %s %d commands\n", trim(fnam).c_str(), static_cast<int>(table->size()));
  }
  return table;
}
