#include "report/analysis.h"

#include <algorithm>

#include "shared/console.h"
#include "shared/machine_text.h"
#include "shared/platform.h"
#include "shared/text.h"

namespace {

bool holds(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

BindingKind place_kind(BindingKind kind) {
  return kind == BindingKind::unrecognised_key ? BindingKind::key : kind;
}

}  // namespace

void sort_bindings(std::vector<Binding>& bindings) {
  // The positions are sorted with the bindings' places, which then move once.
  std::vector<std::int32_t> ind_out;
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < bindings.size(); ++i) {
    ind_out.push_back(bindings[i].position + 1);
    order.push_back(i);
  }
  my_sort_i_c(bindings.size(), ind_out, order, true);
  std::vector<Binding> sorted;
  sorted.reserve(bindings.size());
  for (std::size_t i : order) sorted.push_back(std::move(bindings[i]));
  bindings = std::move(sorted);
}

void add_unbound_commands(const CommandTable& commands, const ReportTexts& texts,
                          std::vector<Binding>& bindings) {
  std::vector<bool> q_cmd(commands.size(), false);
  for (const Binding& b : bindings) {
    if (b.position >= 0 && static_cast<std::size_t>(b.position) < q_cmd.size()) {
      q_cmd[static_cast<std::size_t>(b.position)] = true;
    }
  }
  // The words said of each, converted for the console once.
  const std::u16string unass_units = own_to_utf16(texts.unass);
  const std::string unass_bytes = own_in_code_page(texts.unass);
  for (std::size_t i = 0; i < commands.size(); ++i) {
    if (q_cmd[i]) continue;
    console_printf(" %d %d %s ", static_cast<int>(i + 1), commands[i].number,
                   commands[i].name.c_str());
    write_standard_output(unass_units, unass_bytes);
    console_write("\n");
    if (bindings.size() < maxcmd) {
      bindings.push_back(
          {static_cast<std::int32_t>(i), commands[i].name, BindingKind::unbound, 0, "", 0, ""});
    }
  }
  sort_bindings(bindings);
}

namespace {

// Each place a binding takes (a key, a joystick's button or axis) once, in
// the bindings' order, with its commands; `firsts` the first binding of
// each.
std::vector<Conflict> places_taken(const std::vector<Binding>& bindings,
                                   std::vector<const Binding*>& firsts) {
  std::vector<Conflict> places;
  for (const Binding& b : bindings) {
    BindingKind on = place_kind(b.kind);
    if (on != BindingKind::key && on != BindingKind::button && on != BindingKind::axis) continue;
    auto same = [&](const Conflict& c) {
      return c.on == on && c.code == b.code && c.joystick == b.joystick;
    };
    auto it = std::find_if(places.begin(), places.end(), same);
    if (it == places.end()) {
      Conflict place;
      place.on = on;
      place.code = b.code;
      place.joystick = b.joystick;
      places.push_back(place);
      firsts.push_back(&b);
      it = places.end() - 1;
    }
    if (!holds(it->commands, b.command)) it->commands.push_back(b.command);
  }
  return places;
}

}  // namespace

std::vector<Conflict> find_conflicts(const std::vector<Binding>& bindings,
                                     const std::vector<ToolKeys>& tools, const ReportTexts& texts) {
  std::vector<const Binding*> firsts;  // the first binding of each place
  std::vector<Conflict> places = places_taken(bindings, firsts);
  std::vector<Conflict> conflicts;
  for (std::size_t p = 0; p < places.size(); ++p) {
    Conflict& place = places[p];
    if (place.on == BindingKind::key) {
      for (const ToolKeys& tool : tools) {
        for (const TakenKey& key : tool.keys) {
          if (key.code == place.code && !holds(place.tools, tool.tool)) {
            place.tools.push_back(tool.tool);
          }
        }
      }
    }
    if (place.commands.size() + place.tools.size() < 2) continue;
    const Binding& b = *firsts[p];
    place.place = binding_text(b, texts);
    if (b.kind == BindingKind::unrecognised_key) place.place += " " + i2b(b.code);
    if (place.on != BindingKind::key) place.place += " " + b.device;
    conflicts.push_back(place);
  }
  return conflicts;
}

std::string conflict_line(const Conflict& conflict) {
  std::string line = conflict.on == BindingKind::key      ? "key "
                     : conflict.on == BindingKind::button ? "button "
                                                          : "axis ";
  line += trim(conflict.place) + ":";
  std::string sep = " ";
  for (const std::string& c : conflict.commands) {
    line += sep + c;
    sep = ", ";
  }
  for (const std::string& t : conflict.tools) {
    line += sep + t;
    sep = ", ";
  }
  return line;
}

std::vector<Difference> find_differences(const CommandTable& v2, const VersionModel& read2,
                                         const CommandTable& v3, const VersionModel& read3) {
  std::vector<Difference> differences;
  for (std::size_t i = 0; i < v2.size(); ++i) {
    for (std::size_t j = 0; j < v3.size(); ++j) {
      if (!case_blind_compare(v2[i].name, v3[j].name)) continue;
      std::int32_t k2 = read2.k_cmd[i];
      std::int32_t k3 = read3.k_cmd[j];
      if (k2 != k3) {
        console_printf(" %s %d %d\n", v2[i].name.c_str(), k2, k3);
        differences.push_back(
            {v2[i].name, static_cast<std::int32_t>(i), static_cast<std::int32_t>(j)});
      }
      break;
    }
  }
  return differences;
}

std::vector<std::int32_t> unused_key_codes(const ScanCodeTable& keys,
                                           const std::vector<VersionModel>& versions,
                                           const std::vector<ToolKeys>& tools) {
  // A key is used when a version binds its value (the first entry that has
  // it) or a sibling tool takes its entry.
  std::vector<bool> q_key(keys.size(), false);
  auto mark_code = [&](std::int32_t code) {
    for (std::size_t j = 0; j < keys.size(); ++j) {
      if (keys[j].code == code) {
        q_key[j] = true;
        return;
      }
    }
  };
  for (const VersionModel& v : versions) {
    for (const Binding& b : v.bindings) {
      if (b.kind == BindingKind::key) mark_code(b.code);
    }
  }
  for (const ToolKeys& t : tools) {
    for (const TakenKey& k : t.keys) {
      if (k.entry >= 0 && static_cast<std::size_t>(k.entry) < q_key.size()) {
        q_key[static_cast<std::size_t>(k.entry)] = true;
      }
    }
  }
  std::vector<std::int32_t> unused;
  for (std::size_t j = 0; j < keys.size(); ++j) {
    if (q_key[j]) continue;
    std::int32_t c = keys[j].code;
    bool duplicate = std::any_of(keys.begin(), keys.end(), [c](const ScanCode& other) {
      return c > highest_plain_code && key_value_of(c) == other.code;
    });
    if (!duplicate) unused.push_back(c);
  }
  return unused;
}

FreeControls free_controls_of(const Joystick& joy, std::int32_t number,
                              const std::vector<const VersionModel*>& versions) {
  std::vector<bool> q_axe(maxaxe + 1, false), q_but(maxbut + 1, false);
  for (const VersionModel* v : versions) {
    for (const Binding& b : v->bindings) {
      if (b.joystick != number || b.code < 0) continue;
      std::size_t index = static_cast<std::size_t>(b.code);
      if (b.kind == BindingKind::axis && index < q_axe.size()) q_axe[index] = true;
      if (b.kind == BindingKind::button && index < q_but.size()) q_but[index] = true;
    }
  }
  FreeControls f;
  std::int32_t axes = std::min(joy.axes, static_cast<std::int32_t>(maxaxe) + 1);
  for (std::int32_t a = 0; a < axes; ++a) {
    if (q_axe[static_cast<std::size_t>(a)]) continue;
    if (a == 3 && trim(joy.name) == sidewinder_ff2) continue;
    f.axes.push_back(a);
  }
  std::int32_t buttons = std::min(joy.buttons, static_cast<std::int32_t>(maxbut) + 1);
  for (std::int32_t b = 0; b < buttons; ++b) {
    if (!q_but[static_cast<std::size_t>(b)]) f.buttons.push_back(b);
  }
  return f;
}

std::vector<FreeControls> free_controls(const std::vector<Joystick>& joysticks,
                                        const std::vector<VersionModel>& versions) {
  std::vector<const VersionModel*> all;
  for (const VersionModel& v : versions) all.push_back(&v);
  std::vector<FreeControls> free;
  for (std::size_t k = 0; k < joysticks.size(); ++k) {
    free.push_back(free_controls_of(joysticks[k], static_cast<std::int32_t>(k + 1), all));
  }
  return free;
}
