#include "converter/convert_run.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "converter/backup.h"
#include "converter/conversion.h"
#include "shared/console.h"
#include "shared/install.h"
#include "shared/limits.h"
#include "shared/log.h"
#include "shared/messages.h"
#include "shared/platform.h"
#include "shared/system.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

constexpr std::size_t dialog_path_capacity = 120;
constexpr const char* table_file = "A2-A3.txt";

// A file name as its field keeps it, and whether it fitted there: a name cut
// at its field's end would name another file.
struct FileName {
  std::string name;
  bool fits = true;
};

FileName file_name(const std::string& name, std::size_t capacity) {
  return {cut(name, capacity), name_fits(name, capacity)};
}

class Conversion {
 public:
  explicit Conversion(bool qfr) : qfr_(qfr) {}

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
    if (!is_blank(folder)) return file_name(trim(folder) + "\\controls.ini", path_capacity);
    title_ = "Brin23 : Looking for A" + std::to_string(version) + " controls.ini";
    std::optional<std::string> chosen =
        GetFileName(title_, "", "*.ini", "Configuration files (*.ini)", false);
    return chosen ? file_name(*chosen, dialog_path_capacity) : FileName();
  }

 private:
  bool qfr_;
  std::string title_ = "Tavlet (beta)";  // a file dialog's title from the first on
};

}  // namespace

int run_conversion(int argc, char** argv) {
  // 1. Language.
  bool qfr = IsLanguageFrench() != 0;
  Conversion run(qfr);
  std::string msgpltfldr = qfr ? "S\xE9lectionnez le dossier du pilote courant/Par d\xE9"
                                 "faut :"
                               : "Please select the current pilot's folder/Default= ";

  // 2-3. Installation and log.
  InstallationRecord inst00;
  if (check_aerlon_install(inst00, msgpltfldr) == 0) {
    std::string msg = qfr ? "*** Aucune installation de Aerlon (2 ou 3) trouv\xE9"
                            "e ***"
                          : "*** No Aerlon installation found (2 or 3) ***";
    run.stop_with(msg);
    log_message_f(msg);
    return 1;
  }
  get_active_aerlon_version(inst00);
  log_message_f("CREATE");

  // 4-6. Source and target.
  FileName source;
  if (argc == 2 && std::strcmp(argv[1], "-3") == 0) {
    source = file_name(trim(inst00.pilpath3) + "\\controls.ini", path_capacity);
  } else if (argc == 2) {
    bool whole = true;
    source = file_name(from_native_path(program_argument(argc, argv, 1, &whole)), path_capacity);
    note_machine_name(whole);
  } else {
    source = run.pilot_file(inst00.pilpath2, 2);
  }
  FileName target = run.pilot_file(inst00.pilpath3, 3);
  const std::string& ctrfile = source.name;
  const std::string& ctrfile_3 = target.name;
  console_printf(" %s\n %s\n", ctrfile.c_str(), ctrfile_3.c_str());

  // 7-8. The source and the table must be there; a name too long for its
  // field is not looked for under the cut name. The table and the source
  // are read whole before anything is copied or replaced: one that can't be
  // read to its end stops the run with both files as they were.
  if (!source.fits || !file_exists(ctrfile))
    return run.stop_with(ctrfile + (qfr ? "/pas trouv\xE9" : "/not found"));
  LineReader table(delivered_table(table_file), line_capacity);
  if (!table.is_open()) return run.stop_with(std::string(table_file) + run.error_opening());
  if (!target.fits) return run.stop_with(run.output_error(ctrfile_3, FileRefusal::none));

  // 10-11. The table of command numbers, then the source converted through
  // it (the source may be the target itself: "-3").
  std::optional<CommandMap> k_v3 = read_command_map(table);
  table.close();
  if (!k_v3) return run.stop_with(std::string(table_file) + run.error_opening());
  LineReader in(ctrfile, line_capacity);
  std::optional<std::vector<std::string>> converted = convert_lines(in, *k_v3);
  in.close();
  if (!converted) return run.stop_with(ctrfile + run.error_opening());

  // A read-only target can't be replaced: said before a backup is made, so
  // that each try does not leave one more copy.
  if (file_read_only(ctrfile_3)) {
    return run.stop_with(run.output_error(ctrfile_3, FileRefusal::read_only));
  }

  // 9. The numbered backup of the target, copied under a passing name and
  // named only once whole. A numbered name too long for its field would be
  // cut into the name of another file.
  if (file_exists(ctrfile_3)) {
    std::string ctrfile_bak = ctrfile_3 + ".bak";
    std::string backup_error = (qfr ? "Fichier de sauvegarde : " : "Backup file : ");
    if (get_new_vers(ctrfile_bak) == 0 || !name_fits(ctrfile_bak)) {
      return run.stop_with(backup_error + cut(ctrfile_bak, path_capacity) + run.error_opening());
    }
    std::string cmd = "COPY /Y \"" + ctrfile_3 + "\" \"" + ctrfile_bak + "\"";
    console_printf(" %s\n", cmd.c_str());
    log_message_f(cmd);
    CommandStatus status = copy_file_whole(ctrfile_3, ctrfile_3 + ".partial", ctrfile_bak);
    console_printf(" %d %d\n", status.exit_status, status.command_status);
    if (status.exit_status != 0 || status.command_status > 0) {
      return run.stop_with(backup_error + ctrfile_bak + run.error_opening());
    }
  }

  // 12-14. The target, written beside itself and put in its place when
  // complete. A target that would get no line keeps its content.
  ReplacingWriter writer;
  if (!writer.open(ctrfile_3)) return run.stop_with(run.output_error(ctrfile_3));
  for (const std::string& line : *converted) {
    writer.write_line(line);
    console_printf(" %s\n", line.c_str());
  }
  if (writer.lines() == 0) {
    writer.discard();
  } else if (!writer.commit()) {
    return run.stop_with(run.output_error(ctrfile_3));
  }
  log_message_f(cut("file: " + ctrfile + " converted to " + ctrfile_3, message_capacity));
  console_printf(" %s: %s\n", log_file_name().c_str(), working_folder().c_str());
  return 0;
}
