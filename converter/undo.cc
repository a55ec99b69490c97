#include "converter/undo.h"

#include <vector>

#include "converter/backup.h"
#include "converter/read_back.h"
#include "shared/messages.h"
#include "shared/platform.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

// The plan of the walk, the backups it weighed and the file's bytes;
// nothing after the box that stopped the run (no backup, one that can't be
// read, nothing older).
struct Walk {
  WeighedBackups backups;
  std::optional<Digest> current;
  UndoPlan plan;
  bool record_kept = false;  // a record there was, honoured or not
};

std::optional<Walk> plan_walk(Brin23Run& run, const std::string& ctrfile_3, BackupTrace& trace) {
  const Brin23Words& w = run.words();
  auto unreadable = [&](const std::string& name) {
    run.stop_with(Brin23Run::named(
        name, w.shared->error_opening + input_refusal_line(*w.shared, last_file_refusal())));
    return std::nullopt;
  };
  Walk walk;
  std::string unread;
  std::optional<WeighedBackups> backups;
  if (!is_blank(ctrfile_3)) backups = weigh_backups(ctrfile_3, trace, unread);
  if (!unread.empty()) return unreadable(unread);
  if (!backups || backups->names.empty()) {
    run.stop_with(Brin23Run::named(ctrfile_3, w.no_backup));
    return std::nullopt;
  }
  walk.backups = std::move(*backups);
  if (file_exists(ctrfile_3)) {
    walk.current = file_digest(ctrfile_3);
    if (!walk.current) return unreadable(ctrfile_3);
  }
  std::optional<std::vector<HistoryEntry>> record = read_history(history_name(ctrfile_3));
  walk.record_kept = !record || !record->empty();
  walk.plan = plan_undo(walk.backups.states, walk.current, record);
  if (!walk.plan.restore) {
    run.stop_with(Brin23Run::named(ctrfile_3, w.no_older_backup));
    return std::nullopt;
  }
  return walk;
}

}  // namespace

std::optional<WeighedBackups> weigh_backups(const std::string& target, BackupTrace& trace,
                                            std::string& unread) {
  WeighedBackups weighed;
  for (const NumberedBackup& b : backup_history(target + ".bak", trace)) {
    // The file itself under another name (a hard link) is no copy of it.
    if (same_file(b.name, target)) continue;
    std::optional<Digest> digest = file_digest(b.name);
    if (!digest) {
      unread = b.name;
      return std::nullopt;
    }
    weighed.names.push_back(b.name);
    weighed.states.push_back({b.number, *digest});
  }
  return weighed;
}

void record_conversion(const std::string& target, const std::string& backup) {
  std::optional<Digest> result = file_digest(target);
  if (!result) return;
  HistoryEntry entry;
  entry.made = backup.empty() ? std::nullopt : backup_number(backup);
  entry.result = *result;
  add_to_history(history_name(target), entry);
}

// The backup copied whole beside the target and read back as the backup:
// false, the run stopped, when it could not be.
bool copied_back(Brin23Run& run, const std::string& restored, const std::string& ctrfile_3,
                 ReplacingWriter& writer) {
  const Brin23Words& w = run.words();
  std::optional<MixedText> stop;
  if (!writer.open(ctrfile_3)) {
    stop = run.output_error(ctrfile_3);
  } else if (!writer.copy_from(restored)) {
    stop = Brin23Run::named(restored, w.shared->error_opening);
  } else if (!writer.flush() || !writer.close_written()) {
    stop = run.output_error(ctrfile_3, FileRefusal::none);
  } else if (std::optional<LineDifference> d = compare_copy(writer.temporary(), restored)) {
    writer.discard();
    run.stop_unread(writer.temporary(), w.copy_differs, *d, w.copy_removed, "");
    return false;
  }
  if (stop) run.stop_with(*stop);
  return !stop;
}

// -undo: the file walked back through its history (history.h). The file is
// first backed up when no backup holds its bytes, so that nothing it ever
// held is lost; the backups stay. The backup is copied whole beside the
// target and read back before anything else.
int undo(Brin23Run& run, Listener& events) {
  FileName target = run.pilot_file(run.installation().pilpath3, 3);
  const std::string& ctrfile_3 = target.name;
  events.undo_file(ctrfile_3);
  if (!target.fits) return run.stop_with(run.output_error(ctrfile_3, FileRefusal::none));
  // What a copy cut short left goes before the walk looks at the backups.
  const std::string partial = ctrfile_3 + ".partial";
  if (file_exists(partial) && !is_link(partial)) delete_file(partial);
  std::optional<Walk> walk = plan_walk(run, ctrfile_3, events);
  if (!walk) return 1;
  if (file_read_only(ctrfile_3)) {
    return run.stop_with(run.output_error(ctrfile_3, FileRefusal::read_only));
  }
  const UndoPlan& plan = walk->plan;
  if (!plan.from_record && walk->record_kept && walk->current) events.undo_from_newest();
  for (std::size_t i : plan.passed_over) events.passed_over(walk->backups.names[i]);
  const std::string& restored = walk->backups.names[*plan.restore];
  ReplacingWriter writer;
  if (!copied_back(run, restored, ctrfile_3, writer)) return 1;
  std::optional<std::string> backup = std::string();
  if (plan.back_up_current) backup = run.back_up(ctrfile_3, events);
  if (!backup) return 1;
  if (!writer.commit()) return run.stop_with(run.output_error(ctrfile_3));
  const BackupState& put_back = walk->backups.states[*plan.restore];
  HistoryEntry entry{HistoryEntry::Kind::undo, std::nullopt, put_back.number, put_back.digest,
                     walk->current.value_or(0)};
  if (!backup->empty()) {
    entry.made = backup_number(*backup);
    events.backup_made(*backup);
  }
  add_to_history(history_name(ctrfile_3), entry);
  events.restored(restored);
  events.run_files();
  return 0;
}
