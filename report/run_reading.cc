#include <algorithm>
#include <memory>
#include <utility>

#include "report/analysis.h"
#include "report/controls_reader.h"
#include "report/run_steps.h"
#include "report/sibling_reader.h"
#include "report/tables_reader.h"
#include "shared/console.h"
#include "shared/devices.h"
#include "shared/limits.h"
#include "shared/log.h"
#include "shared/messages.h"
#include "shared/pilot_folder.h"
#include "shared/platform.h"
#include "shared/system.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

constexpr std::size_t key_log_capacity = 80;

// The sibling tools and their settings files, from the working folder.
constexpr std::pair<const char*, const char*> sibling_tools[] = {
    {"Palvik", "..\\Palvik\\Settings\\Palvik.ini"}, {"Serunt", "..\\Serunt\\Serunt.ini"}};

// The simulators running, each version once (0 for one of another folder),
// said on the console: what the files hold may not be what they show.
void note_running_simulators(const Start& start, ReportModel& model) {
  // A list that can't be had tells nothing: the reports are read all the
  // same.
  for (const std::string& simulator : running_simulators().value_or(std::vector<std::string>())) {
    std::int32_t version =
        running_version(simulator, start.inst00.instpath2, start.inst00.instpath3);
    if (std::find(model.running.begin(), model.running.end(), version) != model.running.end()) {
      continue;
    }
    model.running.push_back(version);
    console_parts({{" "}, {simulator_running_words(start.texts, version), true}, {"\n"}});
  }
}

// The name the report gives each key of the drawing, else the table's.
void read_key_names(const Start& start, ReportModel& model) {
  for (const KeyPlace& p : keyboard_places(model.keyboard)) {
    std::string name = key_display_name(p.code, start.keyboard.digits_named, Trace::no);
    auto entry = std::find_if(model.keys.begin(), model.keys.end(),
                              [&](const ScanCode& k) { return k.code == p.code; });
    if (name.empty() && entry != model.keys.end()) name = entry->name;
    model.key_names.emplace_back(p.code, name);
  }
}

// Reads the controls.ini of a version's pilot folder into a new part of the
// model, the keys whose names differ from the table's logged. Nothing when
// it was read; else the message of the error box that stops the run, the
// part kept with how it failed (its heading is still written when the file
// is there).
std::optional<MixedText> read_version(int version, const std::string& pilot_folder,
                                      const CommandTable& commands, const Start& start,
                                      const Layout& layout, ReportModel& model) {
  const ReportTexts& texts = start.texts;
  std::string whole_name = trim(pilot_folder) + controls_file;
  VersionModel& v = model.versions.emplace_back();
  v.version = version;
  v.ctrfile = cut(whole_name, path_capacity);
  console_printf(" %s\n", v.ctrfile.c_str());
  // A name cut at its field's end would be another file's: not looked for.
  if (!name_fits(whole_name) || !file_exists(v.ctrfile)) {
    v.outcome = FileOutcome::not_found;
    return MixedText{{v.ctrfile}, {texts.shared->not_found, true}};
  }
  // A file that can't be opened, or read to its end, would give a shorter
  // block without a word.
  LineOpener open = [&] { return std::make_unique<LineReader>(v.ctrfile, line_capacity); };
  if (!read_controls_file(open, commands,
                          {model.keys, model.joysticks, start.keyboard.digits_named}, v)) {
    v.outcome = FileOutcome::unreadable;
    return MixedText{
        {v.ctrfile},
        {texts.shared->error_opening + input_refusal_line(*texts.shared, last_file_refusal()),
         true}};
  }
  for (const KeyNameDifference& d : v.key_name_differences) {
    log_text_f(cut(key_log_row(layout, d.table_name, d.display_name), key_log_capacity));
  }
  add_unbound_commands(commands, texts, v.bindings);
  return std::nullopt;
}

// The version-3 commands that version 2 names otherwise, by the table of
// command numbers beside the command tables; none without it, or with one
// that can't be read whole (the card's search then knows no former name).
void read_former_names(const std::string& folder, const Tables& tables, ReportModel& model) {
  if (tables.commands[0].empty() || tables.commands[1].empty()) return;
  LineReader in(folder + conversion_table, line_capacity);
  std::optional<CommandMap> k_v3 = read_command_map(in);
  if (!k_v3) return;
  for (const Command& c : tables.commands[0]) {
    if (!in_command_table(c.number)) continue;
    const std::string* now =
        command_name(tables.commands[1], (*k_v3)[static_cast<std::size_t>(c.number)]);
    if (now != nullptr && !case_blind_compare(*now, c.name)) {
      model.former_names.emplace_back(*now, c.name);
    }
  }
}

}  // namespace

int stop_report(const ReportTexts& texts, const MixedText& msg) {
  return stop_run(report_title, msg, {{lost_letters_note(*texts.shared), true}});
}

ReportModel new_model(const Start& start) {
  const ReportTexts& texts = start.texts;
  ReportModel model;
  note_running_simulators(start, model);
  model.keyboard = start.keyboard.drawing;
  model.joysticks = read_joysticks();
  model.unreadable_logs = start.inst00.unreadable_logs;
  for (const auto& [version, log] : model.unreadable_logs) {
    log_line_f({{log}, {unreadable_log_words(texts, version), true}});
  }
  return model;
}

std::optional<Tables> read_tables(const Start& start, ReportModel& model) {
  const InstallationRecord& inst00 = start.inst00;
  const ReportTexts& texts = start.texts;
  const std::string folder =
      tables_folder({command_table_v2, command_table_v3, scan_table_of(Language::english).file,
                     scan_table_of(Language::french).file});
  Tables tables;
  std::int32_t lmax = 0;
  const std::pair<bool, const char*> versions[] = {{inst00.qv2, command_table_v2},
                                                   {inst00.qv3, command_table_v3}};
  for (std::size_t v = 0; v < 2; ++v) {
    if (!versions[v].first) continue;
    std::optional<CommandTable> table =
        read_cmd(folder + versions[v].second, texts.table_unreadable, lmax, report_title,
                 lost_letters_note(*texts.shared));
    if (!table) return std::nullopt;
    tables.commands[v] = std::move(*table);
  }
  tables.layout = make_layout(lmax, texts.list_separator, regional_list_separator());
  const Layout& layout = tables.layout;
  console_printf(" %s\n %s\n %s\n", layout.fmtstr.c_str(), layout.csvstr.c_str(),
                 layout.csvnum.c_str());
  std::optional<ScanCodeTable> keys =
      read_scn(texts.table_unreadable, folder + start.keyboard.scan_table, report_title,
               lost_letters_note(*texts.shared));
  if (!keys) return std::nullopt;
  model.keys = std::move(*keys);
  read_key_names(start, model);
  read_former_names(folder, tables, model);
  return tables;
}

std::optional<MixedText> read_versions(const Start& start, const Tables& tables,
                                       ReportModel& model) {
  const InstallationRecord& inst00 = start.inst00;
  std::optional<MixedText> stop;
  if (inst00.qv2) {
    stop = read_version(2, inst00.pilpath2, tables.commands[0], start, tables.layout, model);
  }
  if (!stop && inst00.qv3) {
    stop = read_version(3, inst00.pilpath3, tables.commands[1], start, tables.layout, model);
  }
  return stop;
}

void read_sibling_tools(const ReportTexts& texts, ReportModel& model) {
  for (auto [tool, settings] : sibling_tools) {
    if (std::optional<ToolKeys> taken = read_tool_ini(tool, settings, model.keys)) {
      if (!taken->whole) log_line_f({{taken->path}, {texts.unread_tool, true}});
      model.tools.push_back(std::move(*taken));
    }
  }
}

void analyse(const Tables& tables, const Start& start, ReportModel& model) {
  if (model.versions.size() == 2) {
    model.compared = true;
    model.differences = find_differences(tables.commands[0], model.versions[0], tables.commands[1],
                                         model.versions[1]);
  }
  for (VersionModel& v : model.versions) {
    v.conflicts = find_conflicts(v.bindings, model.tools, start.texts);
  }
  for (std::int32_t code : unused_key_codes(model.keys, model.versions, model.tools)) {
    model.unused_keys.push_back({code, key_display_name(code, start.keyboard.digits_named)});
  }
  model.free_controls = free_controls(model.joysticks, model.versions);
}

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
