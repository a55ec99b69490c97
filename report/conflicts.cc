#include "report/conflicts.h"

#include <algorithm>

#include "shared/text.h"

namespace {

bool holds(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

BindingKind place_kind(BindingKind kind) {
  return kind == BindingKind::unrecognised_key ? BindingKind::key : kind;
}

}  // namespace

std::vector<Conflict> find_conflicts(const std::vector<Binding>& bindings,
                                     const std::vector<ToolKeys>& tools, const ReportTexts& texts) {
  std::vector<Conflict> places;
  std::vector<const Binding*> firsts;  // the first binding of each place
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
