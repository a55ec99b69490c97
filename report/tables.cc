#include "report/tables.h"

#include <cstdio>

#include "shared/messages.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

void report_unreadable_table(bool qfr, const std::string& fnam, std::string_view title) {
  std::string msg = qfr ? "*** Le fichier " + trim(fnam) + " ne peut pas \xEAtre ouvert  ***"
                        : "*** File " + trim(fnam) + " cannot be opened  ***";
  stop_run(title, msg);
}

}  // namespace

std::optional<ScanCodeTable> read_scn(bool qfr, const std::string& fnam, std::string_view title) {
  LineReader in(trim(fnam), line_capacity);
  if (!in.is_open()) {
    report_unreadable_table(qfr, fnam, title);
    return std::nullopt;
  }
  ScanCodeTable table;
  while (table.size() < maxkey) {
    std::optional<std::string> line = in.next();
    if (!line) break;
    if (is_blank(*line)) continue;
    KeyVal kv = extract_key_val(*line);
    std::optional<std::int32_t> code = read_whole_number(kv.key);
    table.push_back({code.value_or(0), cut(kv.val, key_name_capacity)});
    if (!code) break;
  }
  std::printf(" %s %d keys\n", trim(fnam).c_str(), static_cast<int>(table.size()));
  return table;
}

std::optional<CommandTable> read_cmd(const std::string& fnam, bool qfr, std::int32_t& lmax,
                                     std::string_view title) {
  LineReader in(trim(fnam), line_capacity);
  if (!in.is_open()) {
    report_unreadable_table(qfr, fnam, title);
    return std::nullopt;
  }
  CommandTable table;
  while (table.size() < maxcmd) {
    std::optional<std::string> line = in.next();
    if (!line) break;
    if (is_blank(*line) || (*line)[0] == '#') continue;
    KeyVal kv = extract_key_val(*line);
    std::int32_t length = static_cast<std::int32_t>(kv.val.size());
    if (length > lmax) lmax = length;
    table.push_back({read_whole_number(kv.key).value_or(0), cut(kv.val, command_name_capacity)});
  }
  std::printf(" %s %d commands\n", trim(fnam).c_str(), static_cast<int>(table.size()));
  return table;
}
