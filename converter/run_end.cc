#include "converter/run_end.h"

#include <optional>
#include <vector>

#include "converter/backup.h"
#include "converter/keep.h"
#include "shared/console.h"
#include "shared/own_window.h"
#include "shared/platform.h"
#include "shared/textfile.h"

namespace {

// For each file, a number that two files share when they hold the same
// bytes.
std::vector<int> byte_states(const std::vector<std::string>& names) {
  std::vector<std::string> seen;
  std::vector<int> states;
  for (const std::string& name : names) {
    std::size_t s = 0;
    while (s < seen.size() && !same_bytes(seen[s], name)) ++s;
    if (s == seen.size()) seen.push_back(name);
    states.push_back(static_cast<int>(s));
  }
  return states;
}

}  // namespace

void note_what_keep_keeps(const Brin23Words& w, std::size_t kept, const std::string& backup) {
  console_parts({{" "},
                 {count_text(w.note_before, kept), true},
                 {backup},
                 {count_text(w.note_after, kept), true},
                 {"\n"}});
}

void hint_where_own_bindings_are(const Brin23Words& w, const std::string& target,
                                 const VersionThreeOnly& own) {
  std::vector<NumberedBackup> history = backup_history(target + ".bak");
  for (std::size_t i = history.size(); i-- > 0;) {
    LineReader in(history[i].name, line_capacity);
    std::size_t held = read_old_file(in, own).own_bindings();
    if (held == 0) continue;
    std::vector<std::string> names;
    for (const NumberedBackup& b : history) names.push_back(b.name);
    names.push_back(target);
    std::vector<int> states = byte_states(names);
    int current = states.back();
    states.pop_back();
    std::optional<std::size_t> undos = undos_to_reach(states, current, states[i]);
    std::string how = undos ? count_text(w.hint_undos, *undos) : w.hint_undos_unknown;
    console_parts({{" "},
                   {w.hint, true},
                   {history[i].name},
                   {count_text(w.hint_holds, held) + how + count_text(w.hint_then, held), true},
                   {"\n"}});
    return;
  }
}

void end_in_own_window(const Brin23Words& w, const RunDone& done) {
  if (!console_of_its_own()) return;
  console_write("\n");
  if (!done.restored_from.empty()) {
    console_parts({{" "}, {w.done_restored, true}, {done.target}, {"\n"}});
    console_parts({{" "}, {w.restored_from, true}, {done.restored_from}, {"\n"}});
  } else {
    console_parts(
        {{" "}, {done.written ? w.done_written : w.done_unchanged, true}, {done.target}, {"\n"}});
    console_parts(
        {{" "},
         {numbers_text(w.summary_counts, {done.converted, done.kept, done.left_out}), true},
         {"\n"}});
  }
  if (!done.backup.empty()) {
    console_parts({{" "}, {w.kept_as, true}, {done.backup}, {"\n"}});
  } else if (done.restored_from.empty()) {
    console_parts({{" "}, {w.nothing_replaced, true}, {"\n"}});
  }
  if (!done.keeping && done.left_out > 0) {
    console_parts({{" "}, {count_text(w.summary_left_out, done.left_out), true}, {"\n"}});
  }
  wait_for_enter(w.shared->press_enter);
}
