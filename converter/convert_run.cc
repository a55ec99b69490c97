#include "converter/convert_run.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "converter/backup.h"
#include "converter/conversion.h"
#include "converter/keep.h"
#include "converter/run_end.h"
#include "converter/words.h"
#include "shared/console.h"
#include "shared/install.h"
#include "shared/limits.h"
#include "shared/log.h"
#include "shared/messages.h"
#include "shared/pilot_folder.h"
#include "shared/platform.h"
#include "shared/system.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

constexpr std::size_t dialog_path_capacity = 120;
constexpr const char* table_file = "A2-A3.txt";
// Tries at reading the source twice alike, while Aerlon 2 may write it.
constexpr int source_reads = 3;

// What the single argument asks for: a conversion (no argument, "-3" or a
// source file), one that keeps version 3's own bindings, or the file put
// back as it was before. A file named "-keep" is converted when named
// ".\-keep".
enum class Mode { convert, keep, undo };

Mode mode_of(int argc, char** argv) {
  if (argc != 2) return Mode::convert;
  if (case_blind_compare(argv[1], "-keep")) return Mode::keep;
  if (case_blind_compare(argv[1], "-undo")) return Mode::undo;
  return Mode::convert;
}

// A file name as its field keeps it, and whether it fitted there: a name cut
// at its field's end would name another file.
struct FileName {
  std::string name;
  bool fits = true;
};

FileName file_name(const std::string& name, std::size_t capacity) {
  return {cut(name, capacity), name_fits(name, capacity)};
}

class Brin23 {
 public:
  // 1-3. Language, the simulator not running, installation and log; false
  // after the box that says why the run can't go on.
  bool start() {
    words_ = &brin23_words(IsLanguageFrench() != 0);
    const Brin23Words& w = *words_;
    // Before anything of the simulator is read: a running simulator holds
    // its log, and would write its bindings back over the new file.
    bool running = false;
    std::vector<std::string> simulators = running_simulators();
    // Version 2 never touches the file that Brin23 writes.
    std::string instpath2 = simulators.empty() ? "" : registered_install_folder(2);
    for (const std::string& simulator : simulators) {
      running = running || running_version(simulator, instpath2, "") != 2;
    }
    if (running) {
      stop_with(w.simulator_running);
      log_line_f({{w.simulator_running, true}});
      return false;
    }
    if (check_aerlon_install(inst00_, w.msgpltfldr) == 0) {
      stop_with(w.no_installation);
      log_line_f({{w.no_installation, true}});
      return false;
    }
    get_active_aerlon_version(inst00_);
    log_message_f("CREATE");
    return true;
  }

  // The conversion, with -keep or without.
  int convert(int argc, char** argv, Mode mode) {
    const Brin23Words& w = *words_;
    FileName source = choose_source(argc, argv, mode);
    FileName target = pilot_file(inst00_.pilpath3, 3);
    const std::string& ctrfile_3 = target.name;
    console_printf(" %s\n %s\n", source.name.c_str(), ctrfile_3.c_str());

    std::optional<CommandMap> k_v3 = read_table(source, target);
    if (!k_v3) return 1;
    // The new file is written beside the target under a passing name, which
    // a file of that name left by a run cut short gives up first: never the
    // source itself.
    if (same_file(source.name, ReplacingWriter::temporary_name(ctrfile_3))) {
      return stop_with(source.name + w.own_temporary_file);
    }
    // The old version-3 file's own bindings, kept with -keep; without, only
    // counted, and not when the old file is the source itself ("-3").
    bool keeping = mode == Mode::keep && file_exists(ctrfile_3);
    std::optional<OldFile> old = OldFile();
    if (keeping || (mode == Mode::convert && source.name != ctrfile_3)) {
      old = read_old_file(ctrfile_3, *k_v3, keeping);
      if (!old) return 1;
    }

    // A read-only target can't be replaced: said before a backup is made, so
    // that each try does not leave one more copy.
    if (file_read_only(ctrfile_3)) {
      return stop_with(output_error(ctrfile_3, FileRefusal::read_only));
    }
    // 11-13. The new file written beside the target as the source is read;
    // then the backup, then the new file in the target's place.
    ReplacingWriter writer;
    if (!writer.open(ctrfile_3)) return stop_with(output_error(ctrfile_3));
    std::optional<Keeper> keeper;
    if (!write_conversion(source.name, *k_v3, keeping, *old, keeper, ctrfile_3, writer)) return 1;
    if (!writer.flush()) return stop_with(output_error(ctrfile_3, FileRefusal::none));
    std::optional<std::string> backup = back_up(ctrfile_3);
    if (!backup || !put_in_place(writer, ctrfile_3)) return 1;
    log_message_f(cut("file: " + source.name + " converted to " + ctrfile_3, message_capacity));
    if (keeping) log_line_f({{count_text(w.kept, keeper->kept()), true}});
    console_printf(" %s: %s\n", log_file_name().c_str(), working_folder().c_str());

    std::size_t kept = keeper->kept();
    done_ = {ctrfile_3,
             *backup,
             "",
             writer.lines() > 0,
             converted_,
             keeping ? kept : 0,
             keeping ? keeper->taken() : kept,
             keeping};
    if (mode == Mode::convert && kept > 0) note_what_keep_keeps(w, kept, *backup);
    if (keeping && kept == 0 && old->own_bindings() == 0) {
      hint_where_own_bindings_are(w, ctrfile_3, VersionThreeOnly(*k_v3));
    }
    return 0;
  }

  // -undo: the file walked back through its history, to the newest backup
  // older than the file's own place there that differs from it. The file is
  // first backed up when no backup holds its bytes, so that nothing it ever
  // held is lost; the backups stay.
  int undo() {
    const Brin23Words& w = *words_;
    FileName target = pilot_file(inst00_.pilpath3, 3);
    const std::string& ctrfile_3 = target.name;
    console_printf(" %s\n", ctrfile_3.c_str());
    if (!target.fits) return stop_with(output_error(ctrfile_3, FileRefusal::none));
    std::vector<NumberedBackup> history;
    if (!is_blank(ctrfile_3)) history = backup_history(ctrfile_3 + ".bak");
    if (history.empty()) return stop_with(ctrfile_3 + w.no_backup);
    UndoPlan plan;
    plan.restore = history.size() - 1;
    if (file_exists(ctrfile_3)) {
      std::vector<bool> same;
      for (const NumberedBackup& b : history) same.push_back(same_bytes(b.name, ctrfile_3));
      plan = plan_undo(same);
      if (!plan.restore) return stop_with(ctrfile_3 + w.no_older_backup);
    }
    if (file_read_only(ctrfile_3)) {
      return stop_with(output_error(ctrfile_3, FileRefusal::read_only));
    }
    for (std::size_t i : plan.passed_over) {
      console_parts({{" "}, {w.same_as_current, true}, {history[i].name}, {"\n"}});
    }
    // The backup is copied whole beside the target before anything else.
    const std::string& restored = history[*plan.restore].name;
    ReplacingWriter writer;
    if (!writer.open(ctrfile_3)) return stop_with(output_error(ctrfile_3));
    if (!writer.copy_from(restored)) return stop_with(restored + w.error_opening);
    if (!writer.flush()) return stop_with(output_error(ctrfile_3, FileRefusal::none));
    std::optional<std::string> backup = std::string();
    if (plan.back_up_current) backup = back_up(ctrfile_3);
    if (!backup) return 1;
    if (!writer.commit()) return stop_with(output_error(ctrfile_3));
    console_parts({{" "}, {w.restored_from, true}, {restored}, {"\n"}});
    log_line_f({{w.restored_from, true}, {restored}});
    console_printf(" %s: %s\n", log_file_name().c_str(), working_folder().c_str());
    done_ = {ctrfile_3, *backup, restored, true, 0, 0, 0, false};
    return 0;
  }

  // What the run did, for the summary of a window of its own.
  const RunDone& done() const { return done_; }
  const Brin23Words& words() const { return *words_; }

 private:
  // Shows an error box titled with the run's current title; the run then
  // stops. A last line says so when a folder name lost letters to the code
  // page.
  int stop_with(std::string_view msg) const {
    return stop_run(title_, msg, lost_letters_note(words_->qfr));
  }
  bool stopped(std::string_view msg) const {
    stop_with(msg);
    return false;
  }

  // The error of a target that can't be written, and why it was refused.
  std::string output_error(const std::string& target, FileRefusal why = last_file_refusal()) const {
    return output_file_error(words_->qfr, target, why);
  }

  // The controls.ini of a pilot folder, or the file chosen in a dialog when
  // the folder is not known.
  FileName pilot_file(const std::string& folder, int version) {
    if (!is_blank(folder)) return file_name(trim(folder) + controls_file, path_capacity);
    title_ = "Brin23 : Looking for A" + std::to_string(version) + " controls.ini";
    std::optional<std::string> chosen =
        GetFileName(title_, "", "*.ini", "Configuration files (*.ini)", false);
    return chosen ? file_name(*chosen, dialog_path_capacity) : FileName();
  }

  // 4. The source: the file given on the command line, the version-3 file
  // with "-3", else the version-2 pilot's.
  FileName choose_source(int argc, char** argv, Mode mode) {
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

  // 7-8 and 10. The source must be there; the table, read whole before
  // anything is written: one that can't be read to its end would drop every
  // binding it lost. A name too long for its field is not looked for under
  // the cut name.
  std::optional<CommandMap> read_table(const FileName& source, const FileName& target) {
    const Brin23Words& w = *words_;
    const std::string& ctrfile = source.name;
    if (!source.fits || !file_exists(ctrfile)) {
      stop_with(ctrfile + w.not_found);
      return std::nullopt;
    }
    LineReader table(tables_folder({table_file}) + table_file, line_capacity);
    if (!table.is_open()) {
      stop_with(table_file + w.error_opening);
      return std::nullopt;
    }
    if (!target.fits) {
      stop_with(output_error(target.name, FileRefusal::none));
      return std::nullopt;
    }
    std::optional<CommandMap> k_v3 = read_command_map(table);
    if (!k_v3) stop_with(table_file + w.error_opening);
    return k_v3;
  }

  // 11-13. The source converted line by line into `writer`, with the old
  // file's own bindings kept among its lines when keeping, each line shown
  // on the console: nothing of the source is held. When bindings of the old
  // file's own are kept, the source is first gone over for what its
  // bindings take; the second pass counts only when it converted what the
  // first did (Aerlon 2 may write the file meanwhile). Nothing after the box
  // when the source can't be read to its end (the new file then goes).
  bool write_conversion(const std::string& ctrfile, const CommandMap& k_v3, bool keeping,
                        const OldFile& old, std::optional<Keeper>& keeper,
                        const std::string& ctrfile_3, ReplacingWriter& writer) {
    const Brin23Words& w = *words_;
    const bool two_passes = keeping && old.own_bindings() > 0;
    for (int attempt = 0; attempt < source_reads; ++attempt) {
      keeper.emplace(old.sections);
      converted_ = 0;
      LineDigest first, second;
      if (two_passes) {
        LineReader in(ctrfile, line_capacity);
        if (!convert_lines(in, k_v3, [&](const ConvertedLine& line) {
              first.add(line.text);
              keeper->look_at(line);
            })) {
          return stopped(ctrfile + w.error_opening);
        }
      }
      if (attempt > 0 && !writer.open(ctrfile_3)) {
        return stopped(output_error(ctrfile_3));
      }
      auto write = [&](const std::vector<MergedLine>& lines) {
        for (const MergedLine& line : lines) {
          if (!keeping && line.kind != MergedLine::Kind::converted) continue;
          if (line.kind != MergedLine::Kind::taken) writer.write_line(line.text);
          console_parts({{" "}, {line.text}, {console_mark(line.kind), true}, {"\n"}});
        }
      };
      LineReader in(ctrfile, line_capacity);
      bool read = convert_lines(in, k_v3, [&](const ConvertedLine& line) {
        if (!line.header) ++converted_;
        second.add(line.text);
        if (!two_passes) keeper->look_at(line);
        write(keeping ? keeper->take(line)
                      : std::vector<MergedLine>{{MergedLine::Kind::converted, line.text}});
      });
      if (!read) return stopped(ctrfile + w.error_opening);
      if (two_passes && !(first == second)) continue;
      if (keeping) write(keeper->finish());
      if (keeping) {
        std::string counts = count_text(w.kept, keeper->kept());
        if (keeper->taken() > 0) counts += count_text(w.taken, keeper->taken());
        console_parts({{" "}, {counts, true}, {"\n"}});
      }
      return true;
    }
    return stopped(ctrfile + w.changed_while_read);
  }

  // The old version-3 file's headers and bindings, read whole: none when
  // there is no such file. When keeping, one that can't be read stops the
  // run (nothing when it did); else it is only not counted.
  std::optional<OldFile> read_old_file(const std::string& ctrfile_3, const CommandMap& k_v3,
                                       bool keeping) {
    if (!file_exists(ctrfile_3)) return OldFile();
    LineReader in(ctrfile_3, line_capacity);
    OldFile old = ::read_old_file(in, VersionThreeOnly(k_v3));
    if (old.read == OldFile::Read::whole || !keeping) return old;
    if (old.read == OldFile::Read::failed) {
      stop_with(ctrfile_3 + words_->error_opening);
    } else {
      stop_with(ctrfile_3 + count_text({"", words_->too_many_to_keep}, max_old_lines));
    }
    return std::nullopt;
  }

  // 9. The numbered backup of the target: its name, empty when there is no
  // target yet; nothing after the box that stopped the run.
  std::optional<std::string> back_up(const std::string& ctrfile_3) {
    BackupWords words{words_->backup_file, words_->error_opening,
                      [qfr = words_->qfr](FileRefusal why) { return refusal_line(qfr, why); }};
    return back_up_target(ctrfile_3, words, [&](const std::string& msg) { stop_with(msg); });
  }

  // 14. The new file put in the target's place; a target that would get no
  // line keeps its content.
  bool put_in_place(ReplacingWriter& writer, const std::string& ctrfile_3) {
    if (writer.lines() == 0) {
      writer.discard();
    } else if (!writer.commit()) {
      stop_with(output_error(ctrfile_3));
      return false;
    }
    return true;
  }

  const char* console_mark(MergedLine::Kind kind) const {
    switch (kind) {
      case MergedLine::Kind::kept:
        return words_->mark_kept.c_str();
      case MergedLine::Kind::taken:
        return words_->mark_taken.c_str();
      case MergedLine::Kind::converted:
        break;
    }
    return "";
  }

  const Brin23Words* words_ = nullptr;
  std::string title_ = "Tavlet (beta)";  // a file dialog's title from the first on
  InstallationRecord inst00_;
  std::size_t converted_ = 0;  // the bindings written from the source
  RunDone done_;
};

}  // namespace

int run_conversion(int argc, char** argv) {
  Brin23 run;
  if (!run.start()) return 1;
  Mode mode = mode_of(argc, argv);
  int status = mode == Mode::undo ? run.undo() : run.convert(argc, argv, mode);
  if (status == 0) end_in_own_window(run.words(), run.done());
  return status;
}
