#include "report/card.h"

#include <algorithm>
#include <unordered_map>

#include "report/analysis.h"
#include "shared/text.h"

namespace {

bool on_a_key(const Binding& b) {
  return b.kind == BindingKind::key || b.kind == BindingKind::unrecognised_key;
}

bool in_conflict(const VersionModel& v, BindingKind on, std::int32_t code, std::int32_t joystick) {
  return std::any_of(v.conflicts.begin(), v.conflicts.end(), [&](const Conflict& c) {
    return c.on == on && c.code == code && c.joystick == joystick;
  });
}

void add_unique(std::vector<std::string>& list, const std::string& item) {
  if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

// What lies on the keys of a version, by the key's value: the commands
// bound there (each once, in row order), then the tools that take it.
struct OnKeys {
  std::unordered_map<std::int32_t, std::vector<std::string>> commands, tools;
  std::vector<std::string> unread;  // the tools not read to their end
};

OnKeys on_keys(const ReportModel& model, const VersionModel& v) {
  OnKeys on;
  for (const Binding& b : v.bindings) {
    if (on_a_key(b)) add_unique(on.commands[b.code], b.command);
  }
  for (const ToolKeys& t : model.tools) {
    for (const TakenKey& k : t.keys) add_unique(on.tools[k.code], t.tool);
  }
  for (const ToolKeys& t : model.tools) {
    if (!t.whole) on.unread.push_back(t.tool);
  }
  return on;
}

// What a screen reader says of a key: its name, then its commands, the
// tools that take it (or that it is free) and whether it is in conflict.
MixedText key_label(const CardKey& key, const std::vector<std::string>& unread,
                    const ReportTexts& texts) {
  const PageWords& w = texts.page;
  MixedText label;
  label.reserve(6);
  label.push_back({key.name.empty() ? "(" + i2b(key.place.code) + ")" : key.name});
  label.push_back({w.name_sep, true});
  auto joined = [&](std::size_t from, std::size_t to) {
    std::string list;
    for (std::size_t i = from; i < to; ++i) list += (i > from ? ", " : "") + key.lines[i];
    return list;
  };
  if (key.commands > 0) label.push_back({joined(0, key.commands)});
  if (key.lines.size() > key.commands) {
    label.push_back({key.commands > 0 ? ", " + w.taken_by + " " : w.taken_by + " ", true});
    label.push_back({joined(key.commands, key.lines.size())});
  }
  // Words with a tool's name for their "#".
  auto with_tool = [&](const std::string& words, const std::string& tool) {
    std::size_t mark = words.find('#');
    label.push_back({words.substr(0, mark), true});
    label.push_back({tool});
    if (mark != std::string::npos) label.push_back({words.substr(mark + 1), true});
  };
  if (key.state == KeyState::unknown) {
    std::string tools;
    for (const std::string& t : unread) tools += (tools.empty() ? "" : ", ") + t;
    label.push_back({w.not_known + ", ", true});
    with_tool(w.not_known_why, tools);
  } else if (key.lines.empty()) {
    label.push_back({w.free, true});
  }
  if (key.conflict) label.push_back({" (" + w.legend_conflict + ")", true});
  for (const std::string& tool : key.may_also) {
    label.push_back({", "});
    with_tool(w.may_also, tool);
  }
  return label;
}

CardKey card_key(const ReportModel& model, const VersionModel& v, const KeyPlace& p,
                 const std::string& name, const OnKeys& on, const ReportTexts& texts) {
  CardKey key;
  key.place = p;
  key.name = name;
  if (auto found = on.commands.find(p.code); found != on.commands.end()) key.lines = found->second;
  key.commands = key.lines.size();
  if (auto found = on.tools.find(p.code); found != on.tools.end()) {
    key.lines.insert(key.lines.end(), found->second.begin(), found->second.end());
  }
  key.state = key.commands > 0                  ? KeyState::bound
              : key.lines.size() > key.commands ? KeyState::taken
              : on.unread.empty()               ? KeyState::free
                                                : KeyState::unknown;
  if (!key.lines.empty()) {
    for (const std::string& tool : on.unread) {
      if (std::find(key.lines.begin() + static_cast<std::ptrdiff_t>(key.commands), key.lines.end(),
                    tool) == key.lines.end()) {
        key.may_also.push_back(tool);
      }
    }
  }
  key.conflict = in_conflict(v, BindingKind::key, p.code, 0);
  if (model.keyboard != KeyboardKind::ansi && p.code == enter_key) key.enter_top = iso_enter_top(p);
  key.fit = fit_key_text(p, key.name, key.lines, key.commands);
  key.phone = phone_name(p, key.name, texts.page.lang);
  key.label = key_label(key, on.unread, texts);
  return key;
}

// The free controls in runs: three or more in a row as a first and a last.
FreeLine free_line(const std::vector<std::int32_t>& free, bool axes, const ReportTexts& texts) {
  auto name = [&](std::int32_t i) { return axes ? axis_name(i) : i2b(i); };
  bool one = free.size() == 1;
  FreeLine line;
  line.head = axes ? (one ? texts.txtaxe : texts.page.axes)
                   : (one ? texts.input.txtbut : texts.page.buttons);
  line.tail = one ? texts.page.free : texts.page.free_many;
  for (std::size_t at = 0; at < free.size();) {
    std::size_t end = at;
    while (end + 1 < free.size() && free[end + 1] == free[end] + 1) ++end;
    if (end == at + 1) {
      line.runs.push_back({name(free[at]), ""});
      line.runs.push_back({name(free[end]), ""});
    } else {
      line.runs.push_back({name(free[at]), end > at ? name(free[end]) : ""});
    }
    at = end + 1;
  }
  return line;
}

JoystickCard attached_card(const ReportModel& model, const VersionModel& v,
                           const std::string& header, std::int32_t k, const ReportTexts& texts) {
  const Joystick& joy = model.joysticks[static_cast<std::size_t>(k - 1)];
  JoystickCard card;
  card.header = header;
  card.attached = true;
  card.name = trim(joy.name);
  // What this version leaves free, by the rule of the reports' unused
  // controls, which count both versions.
  FreeControls free = free_controls_of(joy, k, {&v});
  for (BindingKind on : {BindingKind::axis, BindingKind::button}) {
    bool axes = on == BindingKind::axis;
    const std::vector<std::int32_t>& unbound = axes ? free.axes : free.buttons;
    std::vector<std::int32_t> indices = unbound;
    for (const Binding& b : v.bindings) {
      if (b.kind == on && b.joystick == k &&
          std::find(indices.begin(), indices.end(), b.code) == indices.end()) {
        indices.push_back(b.code);
      }
    }
    std::sort(indices.begin(), indices.end());
    std::vector<CardControl>& controls = axes ? card.axes : card.buttons;
    for (std::int32_t i : indices) {
      CardControl c;
      c.index = i;
      c.label = axes ? axis_text(i, card.name, texts.input) : button_text(i, texts.input);
      for (const Binding& b : v.bindings) {
        if (b.kind == on && b.joystick == k && b.code == i) add_unique(c.commands, b.command);
      }
      c.conflict = in_conflict(v, on, i, k);
      controls.push_back(std::move(c));
    }
    if (!unbound.empty())
      (axes ? card.free_axes : card.free_buttons) = free_line(unbound, axes, texts);
  }
  return card;
}

JoystickCard unattached_card(const VersionModel& v, const std::string& header,
                             const ReportTexts& texts) {
  JoystickCard card;
  card.header = header;
  for (const Binding& b : v.unattached_axes) {
    if (b.device != header) continue;
    CardControl c;
    c.index = b.code;
    c.label = axis_text(b.code, "", texts.input);
    c.commands = {b.command};
    card.axes.push_back(std::move(c));
  }
  for (const Binding& b : v.bindings) {
    if (b.kind != BindingKind::not_attached || b.device != header) continue;
    CardControl c;
    c.index = button_of_value(b.code);
    c.label = c.index >= 0 ? button_text(c.index, texts.input) : "?";
    c.commands = {b.command};
    card.buttons.push_back(std::move(c));
  }
  return card;
}

// The block of the keyboard a key lies in: the main one, the navigation
// block, the numeric pad.
int block_of(const KeyPlace& p) { return stacked_place(p) ? (p.x >= numeric_pad ? 2 : 1) : 0; }

// The free keys of the drawing that the scan-code table has, in runs.
std::vector<KeyRun> free_key_runs(const std::vector<CardKey>& keys, const ScanCodeTable& table) {
  std::vector<const CardKey*> free;
  for (const CardKey& k : keys) {
    bool listed = std::any_of(table.begin(), table.end(),
                              [&](const ScanCode& s) { return s.code == k.place.code; });
    if (k.state == KeyState::free && listed && !k.name.empty()) free.push_back(&k);
  }
  std::vector<std::vector<const CardKey*>> runs;
  for (std::size_t i = 0; i < free.size(); ++i) {
    // One run: keys next to each other in the drawing's order, on one row
    // of one block.
    bool next = i > 0 && free[i] == free[i - 1] + 1 && free[i]->place.y == free[i - 1]->place.y &&
                block_of(free[i]->place) == block_of(free[i - 1]->place);
    if (!next) runs.emplace_back();
    runs.back().push_back(free[i]);
  }
  std::vector<KeyRun> told;
  for (const auto& run : runs) {
    if (run.size() < 3) {
      for (const CardKey* k : run) told.push_back({k->name, "", {k->name}});
      continue;
    }
    KeyRun r{run.front()->name, run.back()->name, {}};
    for (const CardKey* k : run) r.names.push_back(k->name);
    told.push_back(std::move(r));
  }
  return told;
}

// Each key of the drawing, and the keys that show only a part of theirs.
void draw_keys(const ReportModel& model, const VersionModel& v, const ReportTexts& texts,
               VersionCard& card) {
  const std::vector<KeyPlace>& places = keyboard_places(model.keyboard);
  std::unordered_map<std::int32_t, const std::string*> names;
  for (const auto& [code, name] : model.key_names) names.emplace(code, &name);
  OnKeys on = on_keys(model, v);
  card.keys.reserve(places.size());
  static const std::string no_name;
  for (const KeyPlace& p : places) {
    auto name = names.find(p.code);
    card.keys.push_back(
        card_key(model, v, p, name == names.end() ? no_name : *name->second, on, texts));
    if (card.keys.back().fit.hidden() > 0) card.part_shown.push_back(card.keys.size() - 1);
  }
}

// The keys bound that the drawing lacks.
void keys_off_drawing(const ReportModel& model, const VersionModel& v, const ReportTexts& texts,
                      VersionCard& card) {
  const std::vector<KeyPlace>& places = keyboard_places(model.keyboard);
  for (const Binding& b : v.bindings) {
    if (!on_a_key(b)) continue;
    bool drawn = std::any_of(places.begin(), places.end(),
                             [&](const KeyPlace& p) { return p.code == b.code; });
    if (drawn) continue;
    MixedText place = binding_words(b, texts);
    place.push_back({" (" + i2b(b.code) + ")"});
    card.off_drawing.push_back(
        {std::move(place), b.command, in_conflict(v, BindingKind::key, b.code, 0)});
  }
}

// A card a section but the keyboard's, an attached joystick once.
void device_cards(const ReportModel& model, const VersionModel& v, const ReportTexts& texts,
                  VersionCard& card) {
  std::vector<std::int32_t> shown;
  for (const Section& s : v.devices.sections) {
    if (s.kind == SectionKind::keyboard) continue;
    std::int32_t k = s.joystick;
    if (s.kind == SectionKind::not_attached ||
        static_cast<std::size_t>(k) > model.joysticks.size()) {
      card.joysticks.push_back(unattached_card(v, s.header, texts));
    } else if (std::find(shown.begin(), shown.end(), k) == shown.end()) {
      shown.push_back(k);
      card.joysticks.push_back(attached_card(model, v, s.header, k, texts));
    }
  }
}

VersionCard version_card(const ReportModel& model, const VersionModel& v,
                         const ReportTexts& texts) {
  VersionCard card;
  card.version = v.version;
  card.file = v.ctrfile;
  draw_keys(model, v, texts, card);
  card.free_keys = free_key_runs(card.keys, model.keys);
  keys_off_drawing(model, v, texts, card);
  device_cards(model, v, texts, card);
  for (const Conflict& c : v.conflicts) card.conflicts.push_back({c.place, c.commands, c.tools});
  // A command bound to an axis of a device not plugged in is on its card.
  for (const Binding& b : v.bindings) {
    if (b.kind != BindingKind::unbound) continue;
    if (std::none_of(v.unattached_axes.begin(), v.unattached_axes.end(),
                     [&](const Binding& a) { return a.position == b.position; })) {
      card.unbound.push_back(b.command);
    }
  }
  return card;
}

}  // namespace

MixedText binding_words(const Binding& b, const ReportTexts& texts) {
  return {{trim(binding_text(b, texts)), binding_text_is_own(b.kind)}};
}

MixedText binding_place(const Binding& b, const ReportTexts& texts) {
  MixedText text = binding_words(b, texts);
  if (b.kind == BindingKind::button || b.kind == BindingKind::axis) {
    text.push_back({" (" + b.device + ")"});
  }
  return text;
}

MixedText bindings_of(const VersionModel& version, std::int32_t position,
                      const ReportTexts& texts) {
  MixedText text;
  for (const Binding& b : version.bindings) {
    if (b.position != position) continue;
    if (!text.empty()) text.push_back({", "});
    for (TextRun& run : binding_place(b, texts)) text.push_back(std::move(run));
  }
  return text;
}

Card build_card(const ReportModel& model, const ReportTexts& texts) {
  Card card;
  card.keyboard = model.keyboard;
  for (std::int32_t version : model.running) {
    card.notices.push_back({{simulator_running_words(texts, version), true}});
  }
  for (const auto& [version, log] : model.unreadable_logs) {
    MixedText said = {{log}, {unreadable_log_words(texts, version), true}};
    card.notices.push_back(said);
    card.left_out.emplace_back(version, said);
  }
  for (const ToolKeys& t : model.tools) {
    if (!t.whole) card.unread_tools.push_back({{t.path}, {texts.unread_tool, true}});
  }
  card.notices.insert(card.notices.end(), card.unread_tools.begin(), card.unread_tools.end());
  for (const VersionModel& v : model.versions)
    card.versions.push_back(version_card(model, v, texts));
  card.compared = model.compared;
  if (model.compared) {
    for (const Difference& d : model.differences) {
      card.differences.push_back({d.command, bindings_of(model.versions[0], d.position2, texts),
                                  bindings_of(model.versions[1], d.position3, texts)});
    }
  }
  return card;
}
