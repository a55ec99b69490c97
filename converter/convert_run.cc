#include "converter/convert_run.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "converter/backup.h"
#include "converter/brin23_run.h"
#include "converter/conversion.h"
#include "converter/converting.h"
#include "converter/keep.h"
#include "converter/run_end.h"
#include "shared/console.h"
#include "shared/limits.h"
#include "shared/log.h"
#include "shared/platform.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

// The files of a conversion and what it keeps, once all is known that may
// stop it before anything is written.
struct Plan {
  FileName source, target;
  CommandMap k_v3;
  bool keeping = false;
  OldFile old;
};

// 4-10. The source, the target, the table and the old version-3 file;
// nothing after the box that stopped the run.
std::optional<Plan> plan_conversion(Brin23Run& run, int argc, char** argv, Mode mode) {
  Plan plan;
  plan.source = run.choose_source(argc, argv, mode);
  plan.target = run.pilot_file(run.installation().pilpath3, 3);
  const std::string& ctrfile_3 = plan.target.name;
  console_printf(" %s\n %s\n", plan.source.name.c_str(), ctrfile_3.c_str());
  std::optional<CommandMap> k_v3 = run.read_table(plan.source, plan.target);
  if (!k_v3) return std::nullopt;
  plan.k_v3 = std::move(*k_v3);
  // The new file is written beside the target under a passing name, which
  // a file of that name left by a run cut short gives up first: never the
  // source itself.
  if (same_file(plan.source.name, ReplacingWriter::temporary_name(ctrfile_3))) {
    run.stop_with(Brin23Run::named(plan.source.name, run.words().own_temporary_file));
    return std::nullopt;
  }
  // The old version-3 file's own bindings, kept with -keep; without, only
  // counted, and not when the old file is the source itself ("-3").
  plan.keeping = mode == Mode::keep && file_exists(ctrfile_3);
  if (plan.keeping || (mode == Mode::convert && plan.source.name != ctrfile_3)) {
    std::optional<OldFile> old = run.read_old_file(ctrfile_3, plan.k_v3, plan.keeping);
    if (!old) return std::nullopt;
    plan.old = std::move(*old);
  }
  // A read-only target can't be replaced: said before a backup is made, so
  // that each try does not leave one more copy.
  if (file_read_only(ctrfile_3)) {
    run.stop_with(run.output_error(ctrfile_3, FileRefusal::read_only));
    return std::nullopt;
  }
  return plan;
}

// The conversion, with -keep or without: its plan, the new file written
// beside the target as the source is read, then the backup, then the new
// file in the target's place, and what the console ends with.
int convert(Brin23Run& run, int argc, char** argv, Mode mode, RunDone& done) {
  const Brin23Words& w = run.words();
  std::optional<Plan> plan = plan_conversion(run, argc, argv, mode);
  if (!plan) return 1;
  const std::string& ctrfile_3 = plan->target.name;
  ReplacingWriter writer;
  if (!writer.open(ctrfile_3)) return run.stop_with(run.output_error(ctrfile_3));
  const std::string& ctrfile = plan->source.name;
  std::optional<Converted> converted = write_conversion(
      run, ctrfile, [&] { return std::make_unique<LineReader>(ctrfile, line_capacity); },
      plan->k_v3, plan->keeping, plan->old, ctrfile_3, writer);
  if (!converted) return 1;
  if (!writer.flush()) return run.stop_with(run.output_error(ctrfile_3, FileRefusal::none));
  std::optional<std::string> backup = run.back_up(ctrfile_3);
  if (!backup || !run.put_in_place(writer, ctrfile_3)) return 1;
  log_message_f(cut("file: " + plan->source.name + " converted to " + ctrfile_3, message_capacity));
  if (plan->keeping) log_line_f({{count_text(w.kept, converted->kept), true}});
  console_printf(" %s: %s\n", log_file_name().c_str(), working_folder().c_str());

  bool keeping = plan->keeping;
  done = {ctrfile_3,
          *backup,
          "",
          writer.lines() > 0,
          converted->bindings,
          keeping ? converted->kept : 0,
          keeping ? converted->taken : converted->kept,
          keeping};
  if (mode == Mode::convert && converted->kept > 0) {
    note_what_keep_keeps(w, converted->kept, *backup);
  }
  if (keeping && converted->kept == 0 && plan->old.own_bindings() == 0) {
    hint_where_own_bindings_are(w, ctrfile_3, VersionThreeOnly(plan->k_v3));
  }
  return 0;
}

// Where -undo goes in the target's history; nothing after the box that
// stopped the run (no backup, nothing older).
std::optional<UndoPlan> plan_undo_of(Brin23Run& run, const std::string& ctrfile_3,
                                     std::vector<NumberedBackup>& history) {
  const Brin23Words& w = run.words();
  if (!is_blank(ctrfile_3)) history = backup_history(ctrfile_3 + ".bak");
  if (history.empty()) {
    run.stop_with(Brin23Run::named(ctrfile_3, w.no_backup));
    return std::nullopt;
  }
  // No current file: the newest backup, with no new one.
  UndoPlan plan;
  plan.restore = history.size() - 1;
  if (file_exists(ctrfile_3)) {
    std::vector<bool> same;
    for (const NumberedBackup& b : history) same.push_back(same_bytes(b.name, ctrfile_3));
    plan = plan_undo(same);
    if (!plan.restore) {
      run.stop_with(Brin23Run::named(ctrfile_3, w.no_older_backup));
      return std::nullopt;
    }
  }
  return plan;
}

// -undo: the file walked back through its history, to the newest backup
// older than the file's own place there that differs from it. The file is
// first backed up when no backup holds its bytes, so that nothing it ever
// held is lost; the backups stay. The backup is copied whole beside the
// target before anything else.
int undo(Brin23Run& run, RunDone& done) {
  const Brin23Words& w = run.words();
  FileName target = run.pilot_file(run.installation().pilpath3, 3);
  const std::string& ctrfile_3 = target.name;
  console_printf(" %s\n", ctrfile_3.c_str());
  if (!target.fits) return run.stop_with(run.output_error(ctrfile_3, FileRefusal::none));
  std::vector<NumberedBackup> history;
  std::optional<UndoPlan> plan = plan_undo_of(run, ctrfile_3, history);
  if (!plan) return 1;
  if (file_read_only(ctrfile_3)) {
    return run.stop_with(run.output_error(ctrfile_3, FileRefusal::read_only));
  }
  for (std::size_t i : plan->passed_over) {
    console_parts({{" "}, {w.same_as_current, true}, {history[i].name}, {"\n"}});
  }
  const std::string& restored = history[*plan->restore].name;
  ReplacingWriter writer;
  if (!writer.open(ctrfile_3)) return run.stop_with(run.output_error(ctrfile_3));
  if (!writer.copy_from(restored))
    return run.stop_with(Brin23Run::named(restored, w.shared->error_opening));
  if (!writer.flush()) return run.stop_with(run.output_error(ctrfile_3, FileRefusal::none));
  std::optional<std::string> backup = std::string();
  if (plan->back_up_current) backup = run.back_up(ctrfile_3);
  if (!backup) return 1;
  if (!writer.commit()) return run.stop_with(run.output_error(ctrfile_3));
  console_parts({{" "}, {w.restored_from, true}, {restored}, {"\n"}});
  log_line_f({{w.restored_from, true}, {restored}});
  console_printf(" %s: %s\n", log_file_name().c_str(), working_folder().c_str());
  done = {ctrfile_3, *backup, restored, true, 0, 0, 0, false};
  return 0;
}

}  // namespace

int run_conversion(int argc, char** argv) {
  Brin23Run run;
  if (!run.start()) return 1;
  Mode mode = mode_of(argc, argv);
  RunDone done;
  int status = mode == Mode::undo ? undo(run, done) : convert(run, argc, argv, mode, done);
  if (status == 0) end_in_own_window(run.words(), done);
  return status;
}
