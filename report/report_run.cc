#include "report/report_run.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "report/conflicts.h"
#include "report/controls_model.h"
#include "report/html_page.h"
#include "report/keyboard_layout.h"
#include "report/probing.h"
#include "report/report_files.h"
#include "report/sibling.h"
#include "report/tables.h"
#include "shared/console.h"
#include "shared/install.h"
#include "shared/log.h"
#include "shared/messages.h"
#include "shared/platform.h"
#include "shared/system.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

constexpr const char* title = "Tavlet (beta)";
constexpr std::size_t ctrfile_capacity = 256;
constexpr const char* text_report = "Controls.txt";
constexpr const char* csv_report = "Controls.csv";
constexpr const char* page_report = "Controls.html";

// The sibling tools and their settings files, from the working folder.
constexpr std::pair<const char*, const char*> sibling_tools[] = {
    {"Palvik", "..\\Palvik\\Settings\\Palvik.ini"}, {"Serunt", "..\\Serunt\\Serunt.ini"}};

// Shows an error box, with a last line when a folder name lost letters to
// the code page; the run then stops.
int stop_with(bool qfr, std::string_view msg) {
  return stop_run(title, msg, lost_letters_note(qfr));
}

std::vector<Joystick> probe_joysticks() {
  std::int32_t nbjoy = GetNumJoy();
  console_printf(" %d Joysticks\n", nbjoy);
  if (nbjoy > static_cast<std::int32_t>(maxjoy)) nbjoy = static_cast<std::int32_t>(maxjoy);
  std::vector<Joystick> joysticks;
  for (std::int32_t id = 0; id < nbjoy; ++id) {
    std::string guid, name;
    std::int32_t axes = 0, buttons = 0;
    GetJoyInfo(id, guid, name, axes, buttons);
    Joystick joy;
    joy.name = cut(name, joystick_text_capacity);
    joy.guid = cut(guid, joystick_text_capacity);
    remove_trail_0(joy.name);
    remove_trail_0(joy.guid);
    joy.axes = axes;
    joy.buttons = buttons;
    console_printf(" %d %d %d %s %s\n", id, axes, buttons, joy.name.c_str(), joy.guid.c_str());
    joysticks.push_back(joy);
  }
  return joysticks;
}

void write_version_block(ReportFiles& report, const std::string& ctrfile) {
  const Layout& layout = report.layout();
  report.write_blank();
  report.write(ctrfile, csv_row(layout, ctrfile, "", ""));
  report.write_blank();
  if (layout.qfr) {
    report.write_row("Commande", "Bouton/Axe/Touche", "P\xE9riph\xE9rique");
  } else {
    report.write_row("Control", "Button/Axis/Key", "Device");
  }
  report.write_blank();
}

void write_rows(ReportFiles& report, const VersionRows& rows) {
  for (std::size_t n = 0; n < rows.size(); ++n) report.write(rows.line_out[n], rows.line_csv[n]);
}

// The block of one version: its pilot's controls.ini read and its rows
// written, and kept for the page. False after the error box when the file is
// missing, or can't be opened or read to its end.
bool report_version(int version, const std::string& pilot_folder, const CommandTable& table,
                    const ReportContext& ctx, AssignmentModel& model, ReportFiles& report,
                    Page& page) {
  bool qfr = ctx.texts.qfr;
  model.q_cmd.assign(maxkey, false);
  model.bindings.clear();
  std::string whole_name = trim(pilot_folder) + "\\controls.ini";
  std::string ctrfile = cut(whole_name, ctrfile_capacity);
  console_printf(" %s\n", ctrfile.c_str());
  // A name cut at its field's end would be another file's: not looked for.
  if (whole_name.size() > ctrfile_capacity || !file_exists(ctrfile)) {
    stop_with(qfr, ctrfile + (qfr ? "/pas trouv\xE9" : "/not found"));
    return false;
  }
  write_version_block(report, ctrfile);
  // A file that can't be opened, or read to its end, would give a shorter
  // block without a word.
  LineReader in(ctrfile, line_capacity);
  std::optional<DeviceTable> devices = read_controls_file(in, version, table, ctx, model);
  if (!devices) {
    stop_with(qfr, ctrfile + (qfr ? "/Ouverture impossible" : "/Error opening"));
    return false;
  }
  finish_rows(table, ctx, model);
  write_rows(report, render_rows(model.bindings, ctx.layout, ctx.texts));
  page.versions.push_back({version, ctrfile, model.bindings, *devices, {}});
  return true;
}

// The commands of both versions, found by name, whose last bindings differ.
std::vector<Difference> write_differences(ReportFiles& report, const CommandTable& v2,
                                          const CommandTable& v3, AssignmentModel& model) {
  std::vector<Difference> differences;
  bool qfr = report.layout().qfr;
  std::string heading = qfr ? "Diff\xE9rences d'affectation entre Aerlon 2 et 3"
                            : "Aerlon 2 and 3 assignment differences";
  report.write_blank();
  report.write(heading, "\"" + heading + "\";;");
  report.write_blank();
  int count = 0;
  for (std::size_t i = 0; i < v2.size(); ++i) {
    for (std::size_t j = 0; j < v3.size(); ++j) {
      if (!case_blind_compare(v2[i].name, v3[j].name)) continue;
      std::int32_t k2 = model.k_cmd_of(2)[i];
      std::int32_t k3 = model.k_cmd_of(3)[j];
      if (k2 != k3) {
        console_printf(" %s %d %d\n", v2[i].name.c_str(), k2, k3);
        report.write(text_row(report.layout(), v2[i].name),
                     csv_row(report.layout(), v2[i].name, " ", " "));
        differences.push_back(
            {v2[i].name, static_cast<std::int32_t>(i), static_cast<std::int32_t>(j)});
        ++count;
      }
      break;
    }
  }
  if (count == 0) {
    std::string none = qfr ? "Aucune" : "None";
    report.write(none, "\"" + none + "\";;");
  }
  return differences;
}

// The page beside the two reports: each version's conflicts found (and
// traced on the console), the keys named, and Controls.html written.
void write_reference_card(Page& page, const ScanCodeTable& keys) {
  for (PageVersion& v : page.versions) {
    v.conflicts = find_conflicts(v.bindings, page.tools, page.texts);
    for (const Conflict& c : v.conflicts) {
      console_printf(" Conflict %d %s\n", v.version, conflict_line(c).c_str());
    }
  }
  for (const KeyPlace& p : keyboard_places(page.keyboard)) {
    // The name the report gives the key, else the table's.
    std::string name = key_display_name(p.code, page.texts.qfr, Trace::no);
    auto entry =
        std::find_if(keys.begin(), keys.end(), [&](const ScanCode& k) { return k.code == p.code; });
    if (name.empty() && entry != keys.end()) name = entry->name;
    page.key_names.emplace_back(p.code, name);
  }
  std::string not_written = write_page(page_report, page);
  if (not_written.empty()) {
    console_printf(" %s written\n", page_report);
  } else {
    console_printf(" %s NOT WRITTEN: %s\n", page_report, not_written.c_str());
  }
}

// The keys of the table, then each joystick's axes and buttons, that nothing
// uses.
void write_unused(ReportFiles& report, const ReportTexts& texts, const ScanCodeTable& keys,
                  const std::vector<Joystick>& joysticks, const AssignmentModel& model) {
  report.write_empty();
  report.write_both(trim(texts.umsg));
  report.write_empty();
  std::string kbdnam = trim(texts.kbdnam);
  for (std::size_t j = 0; j < keys.size(); ++j) {
    if (model.q_key[j]) continue;
    std::int32_t c = keys[j].code;
    bool duplicate = false;
    for (const ScanCode& other : keys) {
      if (c > 256 && std::int64_t{c} == 128 + std::int64_t{other.code}) duplicate = true;
    }
    if (duplicate) continue;
    std::string display = key_display_name(c, texts.qfr);
    console_printf(" %d %s\n", c, display.c_str());
    report.write(text_row(report.layout(), " ", display, kbdnam),
                 csv_row(report.layout(), " ", display, kbdnam, looks_numeric(display)));
  }
  for (std::size_t k = 0; k < joysticks.size(); ++k) {
    const Joystick& joy = joysticks[k];
    std::string name = trim(joy.name);
    console_printf(" %d %d %d %s\n", static_cast<int>(k + 1), joy.axes, joy.buttons, name.c_str());
    report.write_blank();
    std::int32_t axes = joy.axes < static_cast<std::int32_t>(maxaxe) + 1 ? joy.axes : maxaxe + 1;
    for (std::int32_t a = 0; a < axes; ++a) {
      if (model.q_axe[k][static_cast<std::size_t>(a)]) continue;
      if (a == 3 && name == sidewinder_ff2) continue;
      std::string axis = axis_text(a, name, texts);
      report.write(text_row(report.layout(), " ", axis, name),
                   csv_row(report.layout(), " ", axis, name));
    }
    std::int32_t buttons =
        joy.buttons < static_cast<std::int32_t>(maxbut) + 1 ? joy.buttons : maxbut + 1;
    for (std::int32_t b = 0; b < buttons; ++b) {
      if (model.q_but[k][static_cast<std::size_t>(b)]) continue;
      std::string button = trim(texts.txtbut) + " " + i2b(b);
      report.write(text_row(report.layout(), " ", button, name),
                   csv_row(report.layout(), " ", button, name));
    }
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
  ReportTexts texts = report_texts(qfr);
  const std::string fnam = qfr ? "SCN_AZERTY_FR.txt" : "SCN_QWERTY.txt";

  // 7. Log.
  AssignmentModel model;
  log_message_f("CREATE");

  // 8. Joysticks.
  std::vector<Joystick> joysticks = probe_joysticks();

  // 9-11. Tables and layout.
  std::int32_t lmax = 0;
  CommandTable commands[2];
  if (inst00.qv2) {
    auto table = read_cmd(delivered_table("CMD.txt"), qfr, lmax, title);
    if (!table) return 1;
    commands[0] = *table;
  }
  if (inst00.qv3) {
    auto table = read_cmd(delivered_table("CMD_A3.txt"), qfr, lmax, title);
    if (!table) return 1;
    commands[1] = *table;
  }
  Layout layout = make_layout(lmax, qfr, regional_list_separator());
  console_printf(" %s\n %s\n %s\n", layout.fmtstr.c_str(), layout.csvstr.c_str(),
                 layout.csvnum.c_str());
  std::optional<ScanCodeTable> keys = read_scn(qfr, delivered_table(fnam), title);
  if (!keys) return 1;

  // 12. Report files.
  ReportFiles report;
  report.set_layout(layout);
  if (!report.open_text(text_report)) {
    return stop_with(qfr, output_file_error(qfr, text_report, last_file_refusal()));
  }
  if (!report.open_csv(csv_report)) {
    return stop_with(qfr, output_file_error(qfr, csv_report, last_file_refusal()));
  }

  // 13-14. Each installed version's controls.ini.
  ReportContext ctx{*keys, joysticks, layout, texts};
  Page page;
  page.texts = texts;
  page.keyboard = qfr ? KeyboardKind::iso : KeyboardKind::ansi;
  page.joysticks = joysticks;
  if (inst00.qv2 && !report_version(2, inst00.pilpath2, commands[0], ctx, model, report, page)) {
    return 1;
  }
  if (inst00.qv3 && !report_version(3, inst00.pilpath3, commands[1], ctx, model, report, page)) {
    return 1;
  }

  // 15. Differences between the versions.
  if (inst00.qv2 && inst00.qv3) {
    page.compared = true;
    page.differences = write_differences(report, commands[0], commands[1], model);
  }

  // 16. The sibling tools' keys.
  for (auto [tool, settings] : sibling_tools) {
    ToolKeys taken{tool, {}};
    if (read_tool_ini(qfr, settings, *keys, model.q_key, report, &taken.keys)) {
      texts.umsg = trim(texts.umsg) + ", " + tool;
      page.tools.push_back(taken);
    }
  }

  // 17-18. Unused keys, axes and buttons.
  write_unused(report, texts, *keys, joysticks, model);
  ReportFiles::Closed closed = report.close();
  if (!closed.text_ok)
    return stop_with(qfr, output_file_error(qfr, text_report, FileRefusal::none));
  if (!closed.csv_ok) return stop_with(qfr, output_file_error(qfr, csv_report, FileRefusal::none));

  // The reference card, drawn from what the reports were written from.
  write_reference_card(page, *keys);

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
