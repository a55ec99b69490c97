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
#include "shared/own_window.h"
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

// What the run's first steps settle: the installation and the language.
struct Start {
  InstallationRecord inst00;
  ReportTexts texts;
};

// The command tables of the versions installed (empty for one that is
// not), and the layout of the reports' columns.
struct Tables {
  CommandTable commands[2];
  Layout layout;
};

// 1-7. The installation, the language (French by the user interface unless
// "-EN") and the log; nothing after the box that says no version is
// installed.
std::optional<Start> start_report(int argc, char** argv) {
  const bool english_forced = argc == 2 && std::strcmp(argv[1], "-EN") == 0;
  Start start;
  if (check_aerlon_install(start.inst00, "") == 0) {
    std::string msg = "No Aerlon installation detected";
    stop_with(IsLanguageFrench() != 0 && !english_forced, msg);
    log_message_f(msg);
    return std::nullopt;
  }
  get_active_aerlon_version(start.inst00);
  bool qfr = IsLanguageFrench() != 0 && !english_forced;
  const InstallationRecord& inst00 = start.inst00;
  console_printf(" %c %c %c\n", qfr ? 'T' : 'F', inst00.qv2 ? 'T' : 'F', inst00.qv3 ? 'T' : 'F');
  start.texts = report_texts(qfr);
  log_message_f("CREATE");
  return start;
}

// 8. The model's start: the keyboard it draws, the joysticks attached, and
// the versions left out because their log could not be read (logged).
ReportModel new_model(const Start& start) {
  const ReportTexts& texts = start.texts;
  ReportModel model;
  model.qfr = texts.qfr;
  model.keyboard = keyboard_of_layout(keyboard_layout_language());
  model.joysticks = read_joysticks();
  // A simulator running may hold changes it has not written yet, or write
  // its bindings back when it closes: the reports say so first.
  for (const std::string& simulator : running_simulators()) {
    std::int32_t version =
        running_version(simulator, start.inst00.instpath2, start.inst00.instpath3);
    if (std::find(model.running.begin(), model.running.end(), version) != model.running.end()) {
      continue;
    }
    model.running.push_back(version);
    console_parts({{" "}, {simulator_running_words(texts, version), true}, {"\n"}});
  }
  model.unreadable_logs = start.inst00.unreadable_logs;
  for (const auto& [version, log] : model.unreadable_logs) {
    log_line_f({{log}, {unreadable_log_words(texts, version), true}});
  }
  return model;
}

// 9-11. The command tables of the installed versions and the scan-code
// table of the language, one set from one folder; nothing after the box
// that names one that can't be read.
std::optional<Tables> read_tables(const InstallationRecord& inst00, bool qfr, ReportModel& model) {
  const std::string folder =
      tables_folder({"CMD.txt", "CMD_A3.txt", "SCN_QWERTY.txt", "SCN_AZERTY_FR.txt"});
  Tables tables;
  std::int32_t lmax = 0;
  const std::pair<bool, const char*> versions[] = {{inst00.qv2, "CMD.txt"},
                                                   {inst00.qv3, "CMD_A3.txt"}};
  for (std::size_t v = 0; v < 2; ++v) {
    if (!versions[v].first) continue;
    std::optional<CommandTable> table = read_cmd(folder + versions[v].second, qfr, lmax, title);
    if (!table) return std::nullopt;
    tables.commands[v] = std::move(*table);
  }
  tables.layout = make_layout(lmax, qfr, regional_list_separator());
  const Layout& layout = tables.layout;
  console_printf(" %s\n %s\n %s\n", layout.fmtstr.c_str(), layout.csvstr.c_str(),
                 layout.csvnum.c_str());
  const char* scn = qfr ? "SCN_AZERTY_FR.txt" : "SCN_QWERTY.txt";
  std::optional<ScanCodeTable> keys = read_scn(qfr, folder + scn, title);
  if (!keys) return std::nullopt;
  model.keys = std::move(*keys);
  return tables;
}

// 12. Both report files opened, each keeping its content until its first
// line; false after the box that names one that can't be.
bool open_reports(ReportFiles& report, const Layout& layout, bool qfr) {
  report.set_layout(layout);
  report.set_utf8(system_code_page_is_utf8());
  if (!report.open_text(text_report)) {
    stop_with(qfr, output_file_error(qfr, text_report, last_file_refusal()));
    return false;
  }
  if (!report.open_csv(csv_report)) {
    stop_with(qfr, output_file_error(qfr, csv_report, last_file_refusal()));
    return false;
  }
  return true;
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

// 13-14. Each installed version's controls.ini, 2 before 3; a version that
// can't be read ends the reading, with the message of its box.
std::optional<std::string> read_versions(const InstallationRecord& inst00, const Tables& tables,
                                         const ReportTexts& texts, ReportModel& model) {
  std::optional<std::string> stop;
  if (inst00.qv2) {
    stop = read_version(2, inst00.pilpath2, tables.commands[0], texts, tables.layout, model);
  }
  if (!stop && inst00.qv3) {
    stop = read_version(3, inst00.pilpath3, tables.commands[1], texts, tables.layout, model);
  }
  return stop;
}

// 15. The sibling tools' settings files: their keys, and a line in the log
// for one that could not be read to its end.
void read_sibling_tools(const ReportTexts& texts, ReportModel& model) {
  for (auto [tool, settings] : sibling_tools) {
    if (std::optional<ToolKeys> taken = read_tool_ini(tool, settings, model.keys)) {
      if (!taken->whole) log_line_f({{taken->path}, {texts.unread_tool, true}});
      model.tools.push_back(std::move(*taken));
    }
  }
}

// 16. What the model shows once every version is read: the differences,
// the conflicts (only the tools read to their end take keys), the unused
// keys, axes and buttons, and the names of the drawing's keys.
void analyse(const Tables& tables, const ReportTexts& texts, ReportModel& model) {
  if (model.versions.size() == 2) {
    model.compared = true;
    model.differences = find_differences(tables.commands[0], model.versions[0], tables.commands[1],
                                         model.versions[1]);
  }
  std::vector<ToolKeys> counted;
  for (const ToolKeys& t : model.tools) {
    if (t.whole) counted.push_back(t);
  }
  for (VersionModel& v : model.versions) v.conflicts = find_conflicts(v.bindings, counted, texts);
  for (std::int32_t code : unused_key_codes(model.keys, model.versions, model.tools)) {
    model.unused_keys.push_back({code, key_display_name(code, texts.qfr)});
  }
  model.free_controls = free_controls(model.joysticks, model.versions);
  for (const KeyPlace& p : keyboard_places(model.keyboard)) {
    // The name the report gives the key, else the table's.
    std::string name = key_display_name(p.code, texts.qfr, Trace::no);
    auto entry = std::find_if(model.keys.begin(), model.keys.end(),
                              [&](const ScanCode& k) { return k.code == p.code; });
    if (name.empty() && entry != model.keys.end()) name = entry->name;
    model.key_names.emplace_back(p.code, name);
  }
}

// 17. What was found, on the console.
void trace_findings(const ReportModel& model) {
  for (const VersionModel& v : model.versions) {
    for (const Conflict& c : v.conflicts) {
      console_printf(" Conflict %d %s\n", v.version, conflict_line(c).c_str());
    }
  }
  for (const UnusedKey& key : model.unused_keys) {
    console_printf(" %d %s\n", key.code, key.name.c_str());
  }
  for (std::size_t k = 0; k < model.joysticks.size(); ++k) {
    const Joystick& joy = model.joysticks[k];
    console_printf(" %d %d %d %s\n", static_cast<int>(k + 1), joy.axes, joy.buttons,
                   trim(joy.name).c_str());
  }
}

// 18. Both reports, as far as the run got, then closed; the run's exit
// status after the box of a version that stopped it or of a report that
// could not be written whole, else nothing.
std::optional<int> write_and_close(ReportFiles& report, const ReportModel& model,
                                   const ReportTexts& texts,
                                   const std::optional<std::string>& stop) {
  // The reports hold the program's words among the machine's names, in its
  // code page.
  write_reports(report, model, in_code_page(texts));
  ReportFiles::Closed closed = report.close();
  bool qfr = texts.qfr;
  if (stop) return stop_with(qfr, *stop);
  if (!closed.text_ok)
    return stop_with(qfr, output_file_error(qfr, text_report, FileRefusal::none));
  if (!closed.csv_ok) return stop_with(qfr, output_file_error(qfr, csv_report, FileRefusal::none));
  return std::nullopt;
}

// The reference card, drawn from the same model; the console says whether
// it was written, and where the run's files lie, wherever the tables came
// from. True when it was written.
bool write_card(const ReportModel& model, const ReportTexts& texts) {
  std::string not_written = write_page(page_report, model, texts);
  if (not_written.empty()) {
    console_printf(" %s written\n", page_report);
  } else {
    console_printf(" %s NOT WRITTEN: %s\n", page_report, not_written.c_str());
  }
  console_printf(" %s, %s, %s, %s: %s\n", text_report, csv_report, page_report,
                 log_file_name().c_str(), working_folder().c_str());
  return not_written.empty();
}

// 19-20. The offer to open the text report, opened without waiting on yes.
void offer_to_open(bool qfr) {
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
}

// 21. In a window of its own (a double-click in Explorer), which closes
// when the run ends: what was written, and the card opened on "C".
void end_in_own_window(const ReportTexts& texts, bool card_written) {
  if (!console_of_its_own()) return;
  console_write("\n");
  if (card_written) {
    std::string card = full_path_name(page_report);
    console_parts({{" "},
                   {texts.window_written, true},
                   {"\n "},
                   {card},
                   {"\n "},
                   {texts.window_open_card, true},
                   {"\n"}});
    std::optional<std::string> typed = wait_for_enter(press_enter_words(texts.qfr));
    if (typed && case_blind_compare(*typed, "C")) start_document(card);
    return;
  }
  console_parts({{" "}, {texts.window_written_no_card, true}, {working_folder()}, {"\n"}});
  wait_for_enter(press_enter_words(texts.qfr));
}

}  // namespace

int run_report(int argc, char** argv) {
  std::optional<Start> start = start_report(argc, argv);
  if (!start) return 1;
  const ReportTexts& texts = start->texts;
  ReportModel model = new_model(*start);
  std::optional<Tables> tables = read_tables(start->inst00, texts.qfr, model);
  if (!tables) return 1;
  ReportFiles report;
  if (!open_reports(report, tables->layout, texts.qfr)) return 1;

  // Every version read, and all that is found from it, before anything is
  // written.
  std::optional<std::string> stop = read_versions(start->inst00, *tables, texts, model);
  if (!stop) {
    read_sibling_tools(texts, model);
    analyse(*tables, texts, model);
    trace_findings(model);
  }
  if (std::optional<int> stopped = write_and_close(report, model, texts, stop)) return *stopped;
  bool card_written = write_card(model, texts);
  offer_to_open(texts.qfr);
  end_in_own_window(texts, card_written);
  return 0;
}
