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

// What the single argument asks for: a conversion (no argument, "-3" or a
// source file), one that keeps version 3's own bindings, or the last backup
// put back. A file named "-keep" is converted when named ".\-keep".
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

// How many of the old file's own bindings a conversion kept, and how many
// it left out because their value is bound anew.
struct Kept {
  std::size_t kept = 0;
  std::size_t taken = 0;
};

class Brin23 {
 public:
  // 1-3. Language, installation and log; false after the box that says no
  // version is installed.
  bool start() {
    qfr_ = IsLanguageFrench() != 0;
    std::string msgpltfldr = qfr_ ? "S\xE9lectionnez le dossier du pilote courant/Par d\xE9"
                                    "faut :"
                                  : "Please select the current pilot's folder/Default= ";
    if (check_aerlon_install(inst00_, msgpltfldr) == 0) {
      std::string msg = qfr_ ? "*** Aucune installation de Aerlon (2 ou 3) trouv\xE9"
                               "e ***"
                             : "*** No Aerlon installation found (2 or 3) ***";
      stop_with(msg);
      log_line_f({{msg, true}});
      return false;
    }
    get_active_aerlon_version(inst00_);
    log_message_f("CREATE");
    return true;
  }

  // The conversion, with -keep or without.
  int convert(int argc, char** argv, Mode mode) {
    FileName source = choose_source(argc, argv, mode);
    FileName target = pilot_file(inst00_.pilpath3, 3);
    const std::string& ctrfile_3 = target.name;
    console_printf(" %s\n %s\n", source.name.c_str(), ctrfile_3.c_str());

    std::optional<CommandMap> k_v3 = read_table(source, target);
    if (!k_v3) return 1;
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
    std::optional<Kept> kept = write_conversion(source.name, *k_v3, old->sections, keeping, writer);
    if (!kept) return 1;
    if (!writer.flush()) return stop_with(output_error(ctrfile_3, FileRefusal::none));
    std::optional<std::string> backup = back_up(ctrfile_3);
    if (!backup || !put_in_place(writer, ctrfile_3)) return 1;
    log_message_f(cut("file: " + source.name + " converted to " + ctrfile_3, message_capacity));
    if (keeping) log_line_f({{kept_line(kept->kept), true}});
    console_printf(" %s: %s\n", log_file_name().c_str(), working_folder().c_str());
    if (mode == Mode::convert && kept->kept > 0) note_what_keep_keeps(kept->kept, *backup);
    return 0;
  }

  // -undo: the newest backup put back in the target's place, the target as
  // it was first backed up under the next number, so that an undo can be
  // undone. The backup stays.
  int undo() {
    FileName target = pilot_file(inst00_.pilpath3, 3);
    const std::string& ctrfile_3 = target.name;
    console_printf(" %s\n", ctrfile_3.c_str());
    if (!target.fits) return stop_with(output_error(ctrfile_3, FileRefusal::none));
    std::optional<std::string> newest;
    if (!is_blank(ctrfile_3)) newest = newest_backup(ctrfile_3 + ".bak");
    if (!newest) {
      return stop_with(ctrfile_3 + (qfr_ ? "/aucune sauvegarde trouv\xE9"
                                           "e"
                                         : "/no backup found"));
    }
    if (file_read_only(ctrfile_3)) {
      return stop_with(output_error(ctrfile_3, FileRefusal::read_only));
    }
    // The backup is copied whole beside the target before anything else.
    ReplacingWriter writer;
    if (!writer.open(ctrfile_3)) return stop_with(output_error(ctrfile_3));
    if (!writer.copy_from(*newest)) return stop_with(*newest + error_opening());
    if (!writer.flush()) return stop_with(output_error(ctrfile_3, FileRefusal::none));
    if (!back_up(ctrfile_3)) return 1;
    if (!writer.commit()) return stop_with(output_error(ctrfile_3));
    std::string_view restored = qfr_ ? "restaur\xE9 depuis " : "restored from ";
    console_parts({{" "}, {restored, true}, {*newest}, {"\n"}});
    log_line_f({{restored, true}, {*newest}});
    console_printf(" %s: %s\n", log_file_name().c_str(), working_folder().c_str());
    return 0;
  }

 private:
  // Shows an error box titled with the run's current title; the run then
  // stops. A last line says so when a folder name lost letters to the code
  // page.
  int stop_with(std::string_view msg) const {
    return stop_run(title_, msg, lost_letters_note(qfr_));
  }

  std::string error_opening() const { return qfr_ ? "/Ouverture impossible" : "/Error opening"; }

  // The error of a target that can't be written, and why it was refused.
  std::string output_error(const std::string& target, FileRefusal why = last_file_refusal()) const {
    return output_file_error(qfr_, target, why);
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
    const std::string& ctrfile = source.name;
    if (!source.fits || !file_exists(ctrfile)) {
      stop_with(ctrfile + (qfr_ ? "/pas trouv\xE9" : "/not found"));
      return std::nullopt;
    }
    LineReader table(tables_folder({table_file}) + table_file, line_capacity);
    if (!table.is_open()) {
      stop_with(std::string(table_file) + error_opening());
      return std::nullopt;
    }
    if (!target.fits) {
      stop_with(output_error(target.name, FileRefusal::none));
      return std::nullopt;
    }
    std::optional<CommandMap> k_v3 = read_command_map(table);
    if (!k_v3) stop_with(std::string(table_file) + error_opening());
    return k_v3;
  }

  // 11-13. The source converted line by line into `writer`, with the old
  // file's own bindings kept among its lines when keeping, each line shown
  // on the console: nothing of the source is held. Nothing after the box
  // when the source can't be read to its end (the new file then goes).
  std::optional<Kept> write_conversion(const std::string& ctrfile, const CommandMap& k_v3,
                                       const std::vector<OldSection>& old, bool keeping,
                                       ReplacingWriter& writer) {
    Keeper keeper(old);
    auto write = [&](const std::vector<MergedLine>& lines) {
      for (const MergedLine& line : lines) {
        if (!keeping && line.kind != MergedLine::Kind::converted) continue;
        if (line.kind != MergedLine::Kind::taken) writer.write_line(line.text);
        console_parts({{" "}, {line.text}, {console_mark(line.kind), true}, {"\n"}});
      }
    };
    LineReader in(ctrfile, line_capacity);
    if (!convert_lines(in, k_v3, [&](const ConvertedLine& line) { write(keeper.take(line)); })) {
      stop_with(ctrfile + error_opening());
      return std::nullopt;
    }
    write(keeper.finish());
    Kept kept{keeper.kept(), keeper.taken()};
    if (keeping) {
      console_parts({{" "}, {keep_counts(kept), true}, {"\n"}});
    }
    return kept;
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
      stop_with(ctrfile_3 + error_opening());
    } else {
      stop_with(
          ctrfile_3 +
          (qfr_ ? "/plus de " + std::to_string(max_old_lines) + " lignes : trop pour les garder"
                : "/more than " + std::to_string(max_old_lines) + " lines: too many to keep"));
    }
    return std::nullopt;
  }

  // 9. The numbered backup of the target, copied under a passing name and
  // named only once whole: its name, empty when there is no target yet;
  // nothing after the box that stopped the run. A numbered name too long
  // for its field would be cut into the name of another file.
  std::optional<std::string> back_up(const std::string& ctrfile_3) {
    if (!file_exists(ctrfile_3)) return std::string();
    std::string ctrfile_bak = ctrfile_3 + ".bak";
    std::string backup_error = (qfr_ ? "Fichier de sauvegarde : " : "Backup file : ");
    if (get_new_vers(ctrfile_bak) == 0 || !name_fits(ctrfile_bak)) {
      stop_with(backup_error + cut(ctrfile_bak, path_capacity) + error_opening());
      return std::nullopt;
    }
    std::string cmd = "COPY /Y \"" + ctrfile_3 + "\" \"" + ctrfile_bak + "\"";
    console_printf(" %s\n", cmd.c_str());
    log_message_f(cmd);
    CommandStatus status = copy_file_whole(ctrfile_3, ctrfile_3 + ".partial", ctrfile_bak);
    console_printf(" %d %d\n", status.exit_status, status.command_status);
    if (status.exit_status != 0 || status.command_status > 0) {
      // The reason, as for an output file: ransomware protection, an
      // antivirus or an offline OneDrive file refuses the copy's first
      // write; another program holds the file.
      stop_with(backup_error + ctrfile_bak + error_opening() +
                refusal_line(qfr_, last_file_refusal()));
      return std::nullopt;
    }
    return ctrfile_bak;
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
        return qfr_ ? "   (gard\xE9"
                      "e)"
                    : "   (kept)";
      case MergedLine::Kind::taken:
        return qfr_ ? "   (laiss\xE9"
                      "e : sa valeur est reprise)"
                    : "   (left out: its value is bound anew)";
      case MergedLine::Kind::converted:
        break;
    }
    return "";
  }

  // The log's last line with -keep: "kept 2 bindings of version 3".
  std::string kept_line(std::size_t kept) const {
    std::string n = std::to_string(kept);
    if (qfr_) {
      return kept == 1 ? "1 assignation de la version 3 gard\xE9"
                         "e"
                       : n + " assignations de la version 3 gard\xE9"
                             "es";
    }
    return kept == 1 ? "kept 1 binding of version 3" : "kept " + n + " bindings of version 3";
  }

  std::string keep_counts(const Kept& kept) const {
    std::string line = kept_line(kept.kept);
    if (kept.taken == 0) return line;
    std::string n = std::to_string(kept.taken);
    return line + (qfr_ ? "; " + n + " laiss\xE9" + (kept.taken == 1 ? "e" : "es") +
                              ", leur valeur \xE9tant reprise par une assignation de la version 2"
                        : "; left out " + n + " whose value a binding of version 2 now has");
  }

  // Without -keep, the console ends by saying what the old file held that
  // -keep would have kept, where it is, and how to keep it.
  void note_what_keep_keeps(std::size_t kept, const std::string& backup) const {
    std::string n = std::to_string(kept);
    bool one = kept == 1;
    std::string before =
        qfr_ ? n +
                   (one ? " assignation de la version 3 n'est"
                        : " assignations de la version 3 ne sont") +
                   " pas dans le nouveau fichier : la sauvegarde "
             : n + (one ? " binding of version 3 is" : " bindings of version 3 are") +
                   " not in the new file: the backup ";
    std::string after = qfr_ ? (one ? " la contient ; Brin23 -undo, puis Brin23 -keep, la garde."
                                    : " les contient ; Brin23 -undo, puis Brin23 -keep, les garde.")
                             : (one ? " holds it; Brin23 -undo, then Brin23 -keep, keeps it."
                                    : " holds them; Brin23 -undo, then Brin23 -keep, keeps them.");
    console_parts({{" "}, {before, true}, {backup}, {after, true}, {"\n"}});
  }

  bool qfr_ = false;
  std::string title_ = "Tavlet (beta)";  // a file dialog's title from the first on
  InstallationRecord inst00_;
};

}  // namespace

int run_conversion(int argc, char** argv) {
  Brin23 run;
  if (!run.start()) return 1;
  Mode mode = mode_of(argc, argv);
  if (mode == Mode::undo) return run.undo();
  return run.convert(argc, argv, mode);
}
