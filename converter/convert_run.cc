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
#include "converter/trace.h"
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
  RunFiles files;
  CommandMap k_v3;
  bool keeping = false;
  OldFile old;
};

// 4-10. The source, the target, the table and the old version-3 file;
// nothing after the box that stopped the run.
std::optional<Plan> plan_conversion(Brin23Run& run, int argc, char** argv, Mode mode,
                                    Listener& events) {
  Plan plan;
  plan.source = run.choose_source(argc, argv, mode);
  plan.target = run.pilot_file(run.installation().pilpath3, 3);
  const std::string& ctrfile_3 = plan.target.name;
  plan.files = {plan.source.name, ctrfile_3, "", mode, plan.source.name == ctrfile_3};
  events.files(plan.files);
  std::optional<CommandMap> k_v3 = run.read_table(plan.source, plan.target);
  if (!k_v3) return std::nullopt;
  plan.files.table = run.table_path();
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
// file in the target's place, and what the run ends with.
int convert(Brin23Run& run, int argc, char** argv, Mode mode, Listener& events) {
  std::optional<Plan> plan = plan_conversion(run, argc, argv, mode, events);
  if (!plan) return 1;
  const std::string& ctrfile_3 = plan->target.name;
  ReplacingWriter writer;
  if (!writer.open(ctrfile_3)) return run.stop_with(run.output_error(ctrfile_3));
  const std::string& ctrfile = plan->source.name;
  ConversionRules rules{plan->k_v3, plan->old, plan->keeping, nullptr};
  std::optional<Converted> converted = write_conversion(
      run, ctrfile, [&] { return std::make_unique<LineReader>(ctrfile, line_capacity); }, rules,
      ctrfile_3, writer, events);
  if (!converted) return 1;
  if (!writer.flush()) return run.stop_with(run.output_error(ctrfile_3, FileRefusal::none));
  std::optional<std::string> backup = run.back_up(ctrfile_3, events);
  if (!backup || !run.put_in_place(writer, ctrfile_3)) return 1;
  if (!backup->empty()) events.backup_made(*backup);
  events.converted(plan->files, *converted);
  events.run_files();
  if (mode == Mode::convert && converted->kept > 0) events.own_left_out(converted->kept, *backup);
  if (plan->keeping && converted->kept == 0 && plan->old.own_bindings() == 0) {
    std::optional<OwnElsewhere> where =
        own_bindings_elsewhere(ctrfile_3, VersionThreeOnly(plan->k_v3), events);
    if (where) events.own_elsewhere(*where);
  }
  return 0;
}

// Where -undo goes in the target's history; nothing after the box that
// stopped the run (no backup, nothing older).
std::optional<UndoPlan> plan_undo_of(Brin23Run& run, const std::string& ctrfile_3,
                                     std::vector<NumberedBackup>& history, BackupTrace& trace) {
  const Brin23Words& w = run.words();
  if (!is_blank(ctrfile_3)) history = backup_history(ctrfile_3 + ".bak", trace);
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
int undo(Brin23Run& run, Listener& events) {
  const Brin23Words& w = run.words();
  FileName target = run.pilot_file(run.installation().pilpath3, 3);
  const std::string& ctrfile_3 = target.name;
  events.undo_file(ctrfile_3);
  if (!target.fits) return run.stop_with(run.output_error(ctrfile_3, FileRefusal::none));
  std::vector<NumberedBackup> history;
  std::optional<UndoPlan> plan = plan_undo_of(run, ctrfile_3, history, events);
  if (!plan) return 1;
  if (file_read_only(ctrfile_3)) {
    return run.stop_with(run.output_error(ctrfile_3, FileRefusal::read_only));
  }
  for (std::size_t i : plan->passed_over) events.passed_over(history[i].name);
  const std::string& restored = history[*plan->restore].name;
  ReplacingWriter writer;
  if (!writer.open(ctrfile_3)) return run.stop_with(run.output_error(ctrfile_3));
  if (!writer.copy_from(restored))
    return run.stop_with(Brin23Run::named(restored, w.shared->error_opening));
  if (!writer.flush()) return run.stop_with(run.output_error(ctrfile_3, FileRefusal::none));
  std::optional<std::string> backup = std::string();
  if (plan->back_up_current) backup = run.back_up(ctrfile_3, events);
  if (!backup) return 1;
  if (!writer.commit()) return run.stop_with(run.output_error(ctrfile_3));
  if (!backup->empty()) events.backup_made(*backup);
  events.restored(restored);
  events.run_files();
  return 0;
}

}  // namespace

int run_conversion(int argc, char** argv) {
  Brin23Run run;
  if (!run.start()) return 1;
  const Brin23Words& w = run.words();
  ConsoleTrace console(w);
  LogLines log(w);
  WindowSummary window(w);
  Events events;
  for (Listener* listener : std::initializer_list<Listener*>{&console, &log, &window}) {
    events.add(*listener);
  }
  Mode mode = mode_of(argc, argv);
  int status = mode == Mode::undo ? undo(run, events) : convert(run, argc, argv, mode, events);
  if (status == 0) events.finished();
  return status;
}
