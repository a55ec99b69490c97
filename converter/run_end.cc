#include "converter/run_end.h"

#include <optional>
#include <vector>

#include "converter/backup.h"
#include "converter/keep.h"
#include "converter/undo.h"
#include "shared/console.h"
#include "shared/own_window.h"
#include "shared/platform.h"
#include "shared/text.h"
#include "shared/textfile.h"


std::optional<OwnElsewhere> own_bindings_elsewhere(const std::string& target,
                                                   const VersionThreeOnly& own,
                                                   BackupTrace& trace) {
  std::string unread;
  std::optional<WeighedBackups> backups = weigh_backups(target, trace, unread);
  if (!backups) return std::nullopt;
  for (std::size_t i = backups->names.size(); i-- > 0;) {
    LineReader in(backups->names[i], line_capacity);
    std::size_t held = read_old_file(in, own).own_bindings();
    if (held == 0) continue;
    std::optional<Digest> current = file_digest(target);
    std::optional<std::size_t> undos;
    if (current) {
      undos = undos_to_reach(backups->states, *current, read_history(history_name(target)),
                             backups->states[i].digest);
    }
    return OwnElsewhere{backups->names[i], held, undos};
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
