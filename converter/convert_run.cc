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
#include "converter/names.h"
#include "converter/read_back.h"
#include "converter/receipt.h"
#include "converter/run_end.h"
#include "converter/trace.h"
#include "converter/undo.h"
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
  plan.files = {plan.source.name, ctrfile_3, mode, plan.source.name == ctrfile_3};
  events.files(plan.files);
  std::optional<CommandMap> k_v3 = run.read_table(plan.source, plan.target);
  if (!k_v3) return std::nullopt;
  events.table(run.table_path());
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
  bool plain = mode == Mode::convert || mode == Mode::check;
  if (plan.keeping || (plain && plan.source.name != ctrfile_3)) {
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

// The new file's lines as the source gives them, told to `out`: a pass
// over the source, as the conversion made them.
void tell_again(const LineOpener& source, const ConversionRules& rules, Listener& out) {
  PassFailure failure;
  make_new_file(source, rules, out, [] { return true; }, failure);
}

// True when the new file would leave the pilot's file, which has bindings,
// with none: the source has bindings and not one is carried (the
// version-3 file dropped on Brin23, a wrong file chosen), yet its headers
// would be written.
bool would_empty(const Plan& plan, const Converted& done) {
  std::size_t kept = done.keeping ? done.kept : 0;
  std::size_t target_bindings = plan.files.in_place ? done.read : plan.old.bindings();
  return done.read > 0 && done.bindings == 0 && kept == 0 && done.lines > 0 &&
         target_bindings > 0;
}

// 9 and the read-back. The new file, written, read back as meant; then the
// backup of the target, read back as its copy (a check only names the
// backup a conversion would make). Nothing after the box that stopped the
// run: what was written stays out of the target's place.
std::optional<std::string> written_and_backed_up(Brin23Run& run, const Plan& plan,
                                                  const ConversionRules& rules,
                                                  const MeantLines& meant,
                                                  ReplacingWriter& writer, Listener& events) {
  const Brin23Words& w = run.words();
  const std::string& ctrfile_3 = plan.target.name;
  if (!writer.flush() || !writer.close_written()) {
    run.stop_with(run.output_error(ctrfile_3, FileRefusal::none));
    return std::nullopt;
  }
  const std::string& ctrfile = plan.source.name;
  auto source = [&] { return std::make_unique<LineReader>(ctrfile, line_capacity); };
  if (std::optional<LineDifference> d = read_back(writer.temporary(), meant, [&](Listener& out) {
        tell_again(source, rules, out);
      })) {
    std::string kept_as = ctrfile_3 + ".written";
    writer.keep_as(kept_as);
    run.stop_unread(ctrfile_3, w.new_differs, *d, w.new_kept_as, kept_as);
    return std::nullopt;
  }
  events.read_back(meant.lines());
  if (plan.files.mode == Mode::check) {
    std::string backup;
    if (file_exists(ctrfile_3)) {
      backup = ctrfile_3 + ".bak";
      get_new_vers(backup, events);
      events.backup_would_be(backup);
    }
    return backup;
  }
  std::optional<std::string> backup = run.back_up(ctrfile_3, events);
  if (!backup || backup->empty()) return backup;
  if (std::optional<LineDifference> d = compare_copy(*backup, ctrfile_3)) {
    delete_file(*backup);
    run.stop_unread(*backup, w.copy_differs, *d, w.copy_removed, "");
    return std::nullopt;
  }
  events.backup_made(*backup);
  return backup;
}

// The stop of a conversion that would leave the pilot's file with no
// binding, its receipt written first.
int stop_before_emptying(Brin23Run& run, const std::string& source, Receipt& receipt,
                         Listener& events) {
  const Brin23Words& w = run.words();
  if (std::optional<std::string> path = receipt.write(w.receipt.heading_would_empty)) {
    events.receipt(*path);
  }
  return run.stop_with(Brin23Run::named(source, w.receipt.would_empty));
}

// What a conversion ends with: the files it wrote, what a plain run left
// out of the old file, where -keep may find the file's own bindings when it
// had none, and the receipt.
void tell_the_end(Brin23Run& run, Mode mode, const Plan& plan, const Converted& converted,
                  const std::string& backup, Receipt& receipt, Listener& events) {
  const Brin23Words& w = run.words();
  events.run_files();
  if (mode == Mode::convert && converted.kept > 0) events.own_left_out(converted.kept, backup);
  if (plan.keeping && converted.kept == 0 && plan.old.own_bindings() == 0) {
    std::optional<OwnElsewhere> where =
        own_bindings_elsewhere(plan.target.name, VersionThreeOnly(plan.k_v3), events);
    if (where) events.own_elsewhere(*where);
  }
  const std::string& heading =
      mode == Mode::check ? w.receipt.heading_check : w.receipt.heading_done;
  if (std::optional<std::string> path = receipt.write(heading)) events.receipt(*path);
}

// The conversion, with -keep or without, or its check: its plan, the new
// file written beside the target as the source is read (a check's in the
// working folder), read back, then the backup, then the new file in the
// target's place, and what the run ends with; the receipt of all that it
// did, or would do.
int convert(Brin23Run& run, int argc, char** argv, Mode mode, Names& names, Receipt& receipt,
            Listener& events) {
  const Brin23Words& w = run.words();
  std::optional<Plan> plan = plan_conversion(run, argc, argv, mode, events);
  if (!plan) return 1;
  names = Names::read(run.tables(), w.language);
  const std::string& ctrfile = plan->source.name;
  const std::string& ctrfile_3 = plan->target.name;
  const bool check = mode == Mode::check;
  const std::string new_file = check ? receipt.check_file() : ctrfile_3;
  ReplacingWriter writer;
  if (!writer.open(new_file)) return run.stop_with(run.output_error(new_file));
  ConversionRules rules{plan->k_v3, plan->old, plan->keeping,
                        [&names](std::int32_t v2, std::int32_t v3) { return names.renamed(v2, v3); }};
  MeantLines meant;
  Events told;
  told.add(meant);
  told.add(events);
  std::optional<Converted> converted = write_conversion(
      run, ctrfile, [&] { return std::make_unique<LineReader>(ctrfile, line_capacity); }, rules,
      new_file, writer, told);
  if (!converted) return 1;
  if (would_empty(*plan, *converted)) return stop_before_emptying(run, ctrfile, receipt, events);
  std::optional<std::string> backup =
      written_and_backed_up(run, *plan, rules, meant, writer, events);
  if (!backup) return 1;
  if (check) {
    writer.discard();
  } else if (!run.put_in_place(writer, ctrfile_3)) {
    return 1;
  } else {
    record_conversion(ctrfile_3, *backup);
    events.converted(plan->files, *converted);
  }
  tell_the_end(run, mode, *plan, *converted, *backup, receipt, events);
  return 0;
}

}  // namespace

int run_conversion(int argc, char** argv) {
  Brin23Run run;
  if (!run.start()) return 1;
  const Brin23Words& w = run.words();
  Names names;
  ConsoleTrace console(w);
  LogLines log(w);
  Receipt receipt(w, names);
  WindowSummary window(w);
  Events events;
  for (Listener* listener :
       std::initializer_list<Listener*>{&console, &log, &receipt, &window}) {
    events.add(*listener);
  }
  Mode mode = mode_of(argc, argv);
  int status = mode == Mode::undo ? undo(run, events)
                                  : convert(run, argc, argv, mode, names, receipt, events);
  if (status == 0) events.finished();
  return status;
}
