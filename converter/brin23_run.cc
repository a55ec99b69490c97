#include "converter/brin23_run.h"

#include <cstring>
#include <vector>

#include "converter/backup.h"
#include "shared/limits.h"
#include "shared/log.h"
#include "shared/messages.h"
#include "shared/pilot_folder.h"
#include "shared/system.h"
#include "shared/text.h"

namespace {

constexpr std::size_t dialog_path_capacity = 120;

FileName file_name(const std::string& name, std::size_t capacity) {
  return {cut(name, capacity), name_fits(name, capacity)};
}

// What stops a conversion before anything of the simulator is read: a
// simulator running that may touch the version-3 file (any but version
// 2's, which never does), or programs running that can't be listed, which
// may hold one. Nothing when none.
const std::string* simulator_in_the_way(const Brin23Words& w) {
  std::optional<std::vector<std::string>> simulators = running_simulators();
  if (!simulators) return &w.running_unknown;
  std::string instpath2 = simulators->empty() ? "" : registered_install_folder(2);
  for (const std::string& simulator : *simulators) {
    if (running_version(simulator, instpath2, "") != 2) return &w.simulator_running;
  }
  return nullptr;
}

}  // namespace

Mode mode_of(int argc, char** argv) {
  if (argc != 2) return Mode::convert;
  if (case_blind_compare(argv[1], "-keep")) return Mode::keep;
  if (case_blind_compare(argv[1], "-undo")) return Mode::undo;
  if (case_blind_compare(argv[1], "-check")) return Mode::check;
  return Mode::convert;
}

bool Brin23Run::start() {
  words_ = &brin23_words(ui_language());
  const Brin23Words& w = *words_;
  // Before anything of the simulator is read: a running simulator holds
  // its log, and would write its bindings back over the new file.
  const std::string* stop = simulator_in_the_way(w);
  if (stop == nullptr && check_aerlon_install(inst00_, w.msgpltfldr) == 0) {
    stop = &w.no_installation;
  }
  if (stop != nullptr) {
    stop_with({{*stop, true}});
    log_line_f({{*stop, true}});
    return false;
  }
  get_active_aerlon_version(inst00_);
  log_message_f("CREATE");
  return true;
}

int Brin23Run::stop_with(const MixedText& msg) const {
  return stop_run(title_, msg, {{lost_letters_note(*words_->shared), true}});
}

int Brin23Run::stop_unread(const std::string& name, const std::string& what, const LineDifference& d,
                           const std::string& after, const std::string& kept_as) const {
  const Brin23Words& w = *words_;
  std::string line = numbers_text(w.line_written, {d.line});
  log_line_f({{name}, {": " + what.substr(1) + line, true}, {d.meant}, {w.line_read, true},
              {d.read}, {w.line_end, true}});
  return stop_with({{name},
                    {what + line, true},
                    {d.meant},
                    {w.line_read, true},
                    {d.read},
                    {w.line_end + after, true},
                    {kept_as}});
}

MixedText Brin23Run::output_error(const std::string& target, FileRefusal why) const {
  return output_file_error(*words_->shared, target, why);
}

FileName Brin23Run::pilot_file(const std::string& folder, int version) {
  if (!is_blank(folder)) return file_name(trim(folder) + controls_file, path_capacity);
  title_ = "Brin23 : Looking for A" + std::to_string(version) + " controls.ini";
  // A simulator's log that another program holds leaves its folder
  // unknown: said before the dialog asks.
  for (const auto& [logged, log] : inst00_.unreadable_logs) {
    if (logged != version) continue;
    std::int32_t msg_status = s_info;
    error_message_tit(msg_status, title_, named(log, words_->log_unread_choose), false);
  }
  std::optional<std::string> chosen =
      GetFileName(title_, "", "*.ini", "Configuration files (*.ini)", false, *words_->shared);
  return chosen ? file_name(*chosen, dialog_path_capacity) : FileName();
}

FileName Brin23Run::choose_source(int argc, char** argv, Mode mode) {
  if (mode != Mode::convert || argc != 2) return pilot_file(inst00_.pilpath2, 2);
  if (std::strcmp(argv[1], "-3") == 0) {
    return file_name(trim(inst00_.pilpath3) + controls_file, path_capacity);
  }
  bool whole = true;
  FileName source =
      file_name(from_native_path(program_argument(argc, argv, 1, &whole)), path_capacity);
  note_machine_name(whole);
  return source;
}

std::optional<CommandMap> Brin23Run::read_table(const FileName& source, const FileName& target) {
  // A table that can't be read to its end would drop every binding it
  // lost; a name too long for its field is not looked for under the cut
  // name.
  const SharedWords& w = *words_->shared;
  const std::string& ctrfile = source.name;
  if (!source.fits || !file_exists(ctrfile)) {
    stop_with(named(ctrfile, w.not_found));
    return std::nullopt;
  }
  tables_ = tables_folder({conversion_table});
  table_path_ = tables_ + conversion_table;
  LineReader table(table_path_, line_capacity);
  if (!table.is_open()) {
    stop_with(named(conversion_table, w.error_opening));
    return std::nullopt;
  }
  if (!target.fits) {
    stop_with(output_error(target.name, FileRefusal::none));
    return std::nullopt;
  }
  std::optional<CommandMap> k_v3 = read_command_map(table);
  if (!k_v3) stop_with(named(conversion_table, w.error_opening));
  return k_v3;
}

std::optional<OldFile> Brin23Run::read_old_file(const std::string& ctrfile_3,
                                                const CommandMap& k_v3, bool keeping) {
  if (!file_exists(ctrfile_3)) return OldFile();
  LineReader in(ctrfile_3, line_capacity);
  OldFile old = ::read_old_file(in, VersionThreeOnly(k_v3));
  if (old.read == OldFile::Read::whole || !keeping) return old;
  if (old.read == OldFile::Read::failed) {
    stop_with(named(ctrfile_3, words_->shared->error_opening));
  } else {
    stop_with(named(ctrfile_3, count_text({"", words_->too_many_to_keep}, max_old_lines)));
  }
  return std::nullopt;
}

std::optional<std::string> Brin23Run::back_up(const std::string& ctrfile_3, BackupTrace& trace) {
  const SharedWords& shared = *words_->shared;
  BackupWords words{words_->backup_file, shared.error_opening,
                    [&shared](FileRefusal why) { return refusal_line(shared, why); }};
  return back_up_target(
      ctrfile_3, words, [&](const MixedText& msg) { stop_with(msg); }, trace);
}

bool Brin23Run::put_in_place(ReplacingWriter& writer, const std::string& ctrfile_3) {
  if (writer.lines() == 0) {
    writer.discard();
  } else if (!writer.commit()) {
    stop_with(output_error(ctrfile_3));
    return false;
  }
  return true;
}
