#include "report/report_run.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "report/analysis.h"
#include "report/bindings.h"
#include "report/controls_reader.h"
#include "report/devices_reader.h"
#include "report/keyboard_layout.h"
#include "report/page_writer.h"
#include "report/report_writer.h"
#include "report/sibling_reader.h"
#include "report/tables_reader.h"
#include "report/texts.h"
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

constexpr const char* title = "Tavlet (beta)";
constexpr std::size_t key_log_capacity = 80;
constexpr const char* text_report = "Controls.txt";
constexpr const char* csv_report = "Controls.csv";
constexpr const char* page_report = "Controls.html";

// The sibling tools and their settings files, from the working folder.
constexpr std::pair<const char*, const char*> sibling_tools[] = {
    {"Palvik", "..\\Palvik\\Settings\\Palvik.ini"}, {"Serunt", "..\\Serunt\\Serunt.ini"}};

// Shows an error box, with a last line when a file or folder name lost
// letters to the code page; the run then stops.
int stop_with(bool qfr, std::string_view msg) {
  return stop_run(title, msg, lost_letters_note(qfr));
}

// Reads the controls.ini of a version's pilot folder into a new part of the
// model, the keys whose names differ from the table's logged. Nothing when
// it was read; else the message of the error box that stops the run, the
// part kept with how it failed (its heading is still written when the file
// is there).
std::optional<std::string> read_version(int version, const std::string& pilot_folder,
                                        const CommandTable& commands, const ReportTexts& texts,
                                        const Layout& layout, ReportModel& model) {
  bool qfr = texts.qfr;
  std::string whole_name = trim(pilot_folder) + controls_file;
  VersionModel& v = model.versions.emplace_back();
  v.version = version;
  v.ctrfile = cut(whole_name, path_capacity);
  console_printf(" %s\n", v.ctrfile.c_str());
  // A name cut at its field's end would be another file's: not looked for.
  if (!name_fits(whole_name) || !file_exists(v.ctrfile)) {
    v.outcome = FileOutcome::not_found;
    return v.ctrfile + (qfr ? "/pas trouv\xE9" : "/not found");
  }
  // A file that can't be opened, or read to its end, would give a shorter
  // block without a word.
  LineOpener open = [&] { return std::make_unique<LineReader>(v.ctrfile, line_capacity); };
  if (!read_controls_file(open, commands, {model.keys, model.joysticks, qfr}, v)) {
    v.outcome = FileOutcome::unreadable;
    return v.ctrfile + (qfr ? "/Ouverture impossible" : "/Error opening");
  }
  for (const KeyNameDifference& d : v.key_name_differences) {
    log_text_f(cut(key_log_row(layout, d.table_name, d.display_name), key_log_capacity));
  }
  add_unbound_commands(commands, texts, v.bindings);
  return std::nullopt;
}

// What the model shows once every version is read: the sibling tools' keys,
// the differences, the conflicts, the unused keys, axes and buttons, and the
// names of the drawing's keys; each traced on the console.
void find_what_is_found(ReportModel& model, const CommandTable (&commands)[2],
                        const ReportTexts& texts) {
  if (model.versions.size() == 2) {
    model.compared = true;
    model.differences =
        find_differences(commands[0], model.versions[0], commands[1], model.versions[1]);
  }
  for (auto [tool, settings] : sibling_tools) {
    if (std::optional<ToolKeys> taken = read_tool_ini(tool, settings, model.keys)) {
      if (!taken->whole) log_line_f({{taken->path}, {texts.unread_tool, true}});
      model.tools.push_back(std::move(*taken));
    }
  }
  // Only the tools whose settings were read to their end count as taking
  // their keys on the page.
  std::vector<ToolKeys> counted;
  for (const ToolKeys& t : model.tools) {
    if (t.whole) counted.push_back(t);
  }
  for (VersionModel& v : model.versions) {
    v.conflicts = find_conflicts(v.bindings, counted, texts);
    for (const Conflict& c : v.conflicts) {
      console_printf(" Conflict %d %s\n", v.version, conflict_line(c).c_str());
    }
  }
  for (std::int32_t code : unused_key_codes(model.keys, model.versions, model.tools)) {
    std::string name = key_display_name(code, texts.qfr);
    console_printf(" %d %s\n", code, name.c_str());
    model.unused_keys.push_back({code, name});
  }
  model.free_controls = free_controls(model.joysticks, model.versions);
  for (std::size_t k = 0; k < model.joysticks.size(); ++k) {
    const Joystick& joy = model.joysticks[k];
    console_printf(" %d %d %d %s\n", static_cast<int>(k + 1), joy.axes, joy.buttons,
                   trim(joy.name).c_str());
  }
  for (const KeyPlace& p : keyboard_places(model.keyboard)) {
    // The name the report gives the key, else the table's.
    std::string name = key_display_name(p.code, texts.qfr, Trace::no);
    auto entry = std::find_if(model.keys.begin(), model.keys.end(),
                              [&](const ScanCode& k) { return k.code == p.code; });
    if (name.empty() && entry != model.keys.end()) name = entry->name;
    model.key_names.emplace_back(p.code, name);
  }
}

}  // namespace

int run_report(int argc, char** argv) {
  const bool english_forced = argc == 2 && std::strcmp(argv[1], "-EN") == 0;

  // 1-3. Installation.
  InstallationRecord inst00;
  if (check_aerlon_install(inst00, "") == 0) {
    std::string msg = "No Aerlon installation detected";
    stop_with(IsLanguageFrench() != 0 && !english_forced, msg);
    log_message_f(msg);
    return 1;
  }
  get_active_aerlon_version(inst00);

  // 4-6. Language and texts: French by the user interface unless "-EN".
  bool qfr = IsLanguageFrench() != 0;
  if (english_forced) qfr = false;
  console_printf(" %c %c %c\n", qfr ? 'T' : 'F', inst00.qv2 ? 'T' : 'F', inst00.qv3 ? 'T' : 'F');
  const ReportTexts texts = report_texts(qfr);
  const std::string fnam = qfr ? "SCN_AZERTY_FR.txt" : "SCN_QWERTY.txt";

  // 7. Log.
  log_message_f("CREATE");

  // 8. Joysticks; and why a version is left out when it is.
  ReportModel model;
  model.qfr = qfr;
  model.unreadable_logs = inst00.unreadable_logs;
  for (const auto& [version, log] : model.unreadable_logs) {
    log_line_f({{log}, {unreadable_log_words(texts, version), true}});
  }
  model.keyboard = qfr ? KeyboardKind::iso : KeyboardKind::ansi;
  model.joysticks = read_joysticks();

  // 9-11. Tables and layout.
  const std::string tables =
      tables_folder({"CMD.txt", "CMD_A3.txt", "SCN_QWERTY.txt", "SCN_AZERTY_FR.txt"});
  std::int32_t lmax = 0;
  CommandTable commands[2];
  if (inst00.qv2) {
    auto table = read_cmd(tables + "CMD.txt", qfr, lmax, title);
    if (!table) return 1;
    commands[0] = *table;
  }
  if (inst00.qv3) {
    auto table = read_cmd(tables + "CMD_A3.txt", qfr, lmax, title);
    if (!table) return 1;
    commands[1] = *table;
  }
  Layout layout = make_layout(lmax, qfr, regional_list_separator());
  console_printf(" %s\n %s\n %s\n", layout.fmtstr.c_str(), layout.csvstr.c_str(),
                 layout.csvnum.c_str());
  std::optional<ScanCodeTable> keys = read_scn(qfr, tables + fnam, title);
  if (!keys) return 1;
  model.keys = std::move(*keys);

  // 12. Report files.
  ReportFiles report;
  report.set_layout(layout);
  report.set_utf8(system_code_page_is_utf8());
  if (!report.open_text(text_report)) {
    return stop_with(qfr, output_file_error(qfr, text_report, last_file_refusal()));
  }
  if (!report.open_csv(csv_report)) {
    return stop_with(qfr, output_file_error(qfr, csv_report, last_file_refusal()));
  }

  // 13-14. Each installed version's controls.ini, read into the model; a
  // version that can't be read ends the reading.
  std::optional<std::string> stop;
  if (inst00.qv2) stop = read_version(2, inst00.pilpath2, commands[0], texts, layout, model);
  if (!stop && inst00.qv3) {
    stop = read_version(3, inst00.pilpath3, commands[1], texts, layout, model);
  }

  // 15-17. What the bindings show, all of it before anything is written;
  // then both reports, as far as the run got.
  if (!stop) find_what_is_found(model, commands, texts);
  // The reports hold the program's words among the machine's names, in its
  // code page.
  write_reports(report, model, in_code_page(texts));
  ReportFiles::Closed closed = report.close();
  if (stop) return stop_with(qfr, *stop);
  if (!closed.text_ok)
    return stop_with(qfr, output_file_error(qfr, text_report, FileRefusal::none));
  if (!closed.csv_ok) return stop_with(qfr, output_file_error(qfr, csv_report, FileRefusal::none));

  // The reference card, drawn from the same model.
  std::string not_written = write_page(page_report, model, texts);
  if (not_written.empty()) {
    console_printf(" %s written\n", page_report);
  } else {
    console_printf(" %s NOT WRITTEN: %s\n", page_report, not_written.c_str());
  }

  // The reports and the log lie in the working folder, wherever the tables
  // came from.
  console_printf(" %s, %s, %s, %s: %s\n", text_report, csv_report, page_report,
                 log_file_name().c_str(), working_folder().c_str());

  // 19-20. Offer to open the text report.
  std::string msg = qfr ? "La table d'assignation des commandes a \xE9t\xE9 \xE9"
                          "crite dans : "
                          "controls.txt/Voulez vous l'ouvrir (avec l'\xE9"
                          "diteur de texte par "
                          "d\xE9"
                          "faut) ?"
                        : "The controls assignment table has been written to : controls.txt/Do you "
                          "want to open it (with the default text editor) ?";
  std::int32_t msg_status = s_yesno;
  error_message_tit(msg_status, title, msg, false);
  if (msg_status == 1) start_document(text_report);
  return 0;
}
