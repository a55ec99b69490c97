#include "converter/run_end.h"

#include <optional>
#include <vector>

#include "converter/backup.h"
#include "converter/keep.h"
#include "shared/console.h"
#include "shared/own_window.h"
#include "shared/platform.h"
#include "shared/text.h"
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

std::optional<OwnElsewhere> own_bindings_elsewhere(const std::string& target,
                                                   const VersionThreeOnly& own,
                                                   BackupTrace& trace) {
  std::vector<NumberedBackup> history = backup_history(target + ".bak", trace);
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
    return OwnElsewhere{history[i].name, held, undos_to_reach(states, current, states[i])};
  }
  return std::nullopt;
}

void WindowSummary::say_done() const {
  const Brin23Words& w = w_;
  std::size_t left_out = done_.keeping ? done_.taken + done_.set_aside : done_.kept;
  if (!restored_from_.empty()) {
    console_parts({{" "}, {w.done_restored, true}, {target_}, {"\n"}});
    console_parts({{" "}, {w.restored_from, true}, {restored_from_}, {"\n"}});
  } else {
    const std::string& done = check_            ? w.receipt.heading_check
                              : done_.lines > 0 ? w.done_written
                                                : w.done_unchanged;
    console_parts({{" "}, {done, true}, {check_ ? ": " : ""}, {target_}, {"\n"}});
    std::size_t kept = done_.keeping ? done_.kept : 0;
    console_parts({{" "},
                   {numbers_text(w.summary_counts, {done_.bindings, kept, left_out}), true},
                   {"\n"}});
  }
  if (check_) return;
  if (!backup_.empty()) {
    console_parts({{" "}, {w.kept_as, true}, {backup_}, {"\n"}});
  } else if (restored_from_.empty()) {
    console_parts({{" "}, {w.nothing_replaced, true}, {"\n"}});
  }
  if (!done_.keeping && left_out > 0) {
    console_parts({{" "}, {count_text(w.summary_left_out, left_out), true}, {"\n"}});
  }
}

void WindowSummary::finished() {
  if (!console_of_its_own()) return;
  console_write("\n");
  say_done();
  if (receipt_.empty()) {
    wait_for_enter(w_.shared->press_enter);
    return;
  }
  const ReceiptWords& r = w_.receipt;
  console_parts({{" "}, {first_sum(w_, sums_), true}, {"\n"}});
  console_parts({{" "}, {r.receipt_named, true}, {full_path_name(receipt_)}, {"\n"}});
  console_parts({{" "}, {r.open_it, true}, {"\n"}});
  std::optional<std::string> typed = wait_for_enter(w_.shared->press_enter);
  if (typed && case_blind_compare(*typed, "C")) start_document(receipt_);
}
