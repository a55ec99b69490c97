#include "report/page_writer.h"

#include <algorithm>

#include "report/html_text.h"
#include "report/key_text_fit.h"
#include "report/keyboard_layout.h"
#include "report/page_data.h"
#include "report/page_resources.h"
#include "shared/platform.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

// ---- Words of the page ------------------------------------------------------

struct Words {
  const char* lang;
  const char* title;
  const char* search;
  const char* version;
  const char* keyboard_iso;
  const char* keyboard_ansi;
  const char* legend_bound;
  const char* legend_taken;
  const char* legend_conflict;
  const char* legend_free;
  const char* off_drawing;
  const char* part_shown;
  const char* joysticks;
  const char* no_joystick;
  const char* not_attached;
  const char* axes;
  const char* buttons;
  const char* axis;
  const char* button;
  const char* free;
  const char* free_many;
  const char* conflicts;
  const char* no_conflict;
  const char* unbound;
  const char* none;
  const char* differences;
  const char* command;
  const char* binding_v2;
  const char* binding_v3;
  const char* taken_by;
  const char* no_command;
};

const Words english = {"en",
                       "Aerlon controls",
                       "Find a command",
                       "Aerlon",
                       "ISO keyboard",
                       "US keyboard",
                       "bound in Aerlon",
                       "taken by Palvik or Serunt",
                       "conflict",
                       "free",
                       "Keys bound that are not on the drawing",
                       "Keys that show only a part of what they hold",
                       "Joysticks",
                       "No joystick section in this file.",
                       "not attached",
                       "Axes",
                       "Buttons",
                       "Axis",
                       "Button",
                       "free",
                       "free",
                       "Conflicts",
                       "No conflict.",
                       "Unbound commands",
                       "None",
                       "Aerlon 2 and 3 assignment differences",
                       "Command",
                       "Aerlon 2",
                       "Aerlon 3",
                       "taken by",
                       "no command bound"};

const Words french = {"fr",
                      "Commandes d'Aerlon",
                      "Chercher une commande",
                      "Aerlon",
                      "Clavier ISO",
                      "Clavier US",
                      "assign\xE9"
                      "e dans Aerlon",
                      "prise par Palvik ou Serunt",
                      "conflit",
                      "libre",
                      "Touches assign\xE9"
                      "es absentes du dessin",
                      "Touches qui ne montrent qu'une partie de ce qu'elles portent",
                      "Manettes",
                      "Aucune section de manette dans ce fichier.",
                      "non branch\xE9",
                      "Axes",
                      "Boutons",
                      "Axe",
                      "Bouton",
                      "libre",
                      "libres",
                      "Conflits",
                      "Aucun conflit.",
                      "Commandes non assign\xE9"
                      "es",
                      "Aucune",
                      "Diff\xE9rences d'affectation entre Aerlon 2 et 3",
                      "Commande",
                      "Aerlon 2",
                      "Aerlon 3",
                      "prise par",
                      "aucune commande"};

// ---- Parts of the page -------------------------------------------------------

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

// The place of a key of a drawing: the start of its style attribute, which
// the caller ends.
std::string geometry(const KeyPlace& p) {
  PageText o;
  o << " style=\"--x:" << Units{p.x} << ";--y:" << Units{p.y} << ";--w:" << Units{p.w}
    << ";--h:" << Units{p.h};
  return o.text;
}

// A key that shows only a part of what it holds.
struct PartShown {
  std::string name;
  std::vector<std::string> lines;  // its commands, then the sibling tools
  std::size_t bound;               // how many of them are commands
};

class PageWriter {
 public:
  PageWriter(const ReportModel& model, const ReportTexts& texts)
      : model_(model), texts_(texts), w_(model.qfr ? french : english) {}

  std::string render() {
    o_.text.reserve(32768 * (model_.versions.size() + 1));
    head();
    for (const VersionModel& v : model_.versions) version(v);
    if (model_.compared) differences();
    write_page_data(o_, model_, texts_);
    o_ << "<script>\n" << page_script << "</script>\n</body>\n</html>\n";
    return std::move(o_.text);
  }

 private:
  std::string_view name_of_key(std::int32_t code) const {
    for (const auto& [c, name] : model_.key_names) {
      if (c == code) return name;
    }
    return std::string_view();
  }

  void commands(const std::vector<std::string>& list) {
    for (const std::string& c : list) o_ << "<span class=\"command\">" << Html{c} << "</span>";
  }

  void head() {
    o_ << "<!DOCTYPE html>\n<html lang=\"" << w_.lang << "\">\n<head>\n<meta charset=\"utf-8\">\n"
       << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
       << "<meta name=\"generator\" content=\"Tavlet\">\n<title>" << Html{w_.title}
       << "</title>\n<style>\n"
       << page_style << "</style>\n</head>\n<body>\n<header class=\"page-top\"><h1>"
       << Html{w_.title}
       << "</h1><input type=\"search\" id=\"search\" class=\"screen-only\" hidden "
       << "placeholder=\"" << Html{w_.search} << "\" aria-label=\"" << Html{w_.search}
       << "\"></header>\n";
  }

  void legend() {
    o_ << "<p class=\"legend\">";
    for (auto [state, words] : {std::pair{"bound", w_.legend_bound},
                                {"taken", w_.legend_taken},
                                {"conflict", w_.legend_conflict},
                                {"free", w_.legend_free}}) {
      o_ << "<span class=\"legend-item\"><span class=\"swatch " << state << "\"></span>"
         << Html{words} << "</span> ";
    }
    o_ << "&middot; "
       << Html{model_.keyboard == KeyboardKind::iso ? w_.keyboard_iso : w_.keyboard_ansi}
       << "</p>\n";
  }

  void keyboard(const VersionModel& v) {
    const std::vector<KeyPlace>& places = keyboard_places(model_.keyboard);
    if (geometry_.empty()) {
      for (const KeyPlace& p : places) geometry_.push_back(geometry(p));
    }
    o_ << "<div class=\"keyboard-frame\"><div class=\"keyboard\" style=\"--keyboard-w:"
       << Units{keyboard_width} << ";--keyboard-h:" << Units{keyboard_height} << "\">\n";
    std::vector<std::string> lines;
    part_shown_.clear();
    for (std::size_t at = 0; at < places.size(); ++at) {
      const KeyPlace& p = places[at];
      lines.clear();
      for (const Binding& b : v.bindings) {
        if (on_a_key(b) && b.code == p.code) add_unique(lines, b.command);
      }
      std::size_t bound = lines.size();
      for (const ToolKeys& t : model_.tools) {
        if (!t.whole) continue;
        for (const TakenKey& k : t.keys) {
          if (k.code == p.code) add_unique(lines, t.tool);
        }
      }
      std::string_view name = name_of_key(p.code);
      const char* state = bound > 0 ? "bound" : lines.size() > bound ? "taken" : "free";
      if (model_.keyboard == KeyboardKind::iso && p.code == 28) {
        o_ << "<div class=\"enter-top " << state << "\"" << geometry(iso_enter_top(p))
           << "\"></div>\n";
      }
      KeyText fit = fit_key_text(p, name, lines);
      std::size_t hidden = fit.hidden();
      o_ << "<div class=\"key " << state << "\" data-key=\"" << p.code << "\"";
      if (in_conflict(v, BindingKind::key, p.code, 0)) o_ << " data-conflict";
      if (hidden > 0) {
        // What the key can't show: all of it in its title, and in a list.
        std::string all;
        for (const std::string& line : lines) all += (all.empty() ? "" : ", ") + line;
        o_ << " title=\"" << Html{all} << "\"";
        part_shown_.push_back({std::string(name), lines, bound});
      }
      o_ << geometry_[at] << ";--s:" << Units{fit.size} << "\"><span class=\"key-name\"";
      if (fit.name_scale < 1) o_ << " style=\"--squeeze:" << Units{fit.name_scale} << "\"";
      o_ << ">" << Html{name} << "</span>";
      for (std::size_t i = 0; i < lines.size(); ++i) {
        o_ << "<span class=\"" << (i < bound ? "command" : "tool-name")
           << (fit.shown[i] ? "" : " beyond") << "\">" << Html{lines[i]} << "</span>";
      }
      if (hidden > 0) {
        o_ << "<span class=\"more\">+" << static_cast<std::int32_t>(hidden) << "</span>";
      }
      o_ << "</div>\n";
    }
    o_ << "</div></div>\n";
  }

  // The keys whose bindings the drawing can't show: those that show only
  // a part of what they hold, in full, and those it has no place for.
  void key_lists(const VersionModel& v) {
    const std::vector<KeyPlace>& places = keyboard_places(model_.keyboard);
    if (!part_shown_.empty()) {
      o_ << "<h4>" << Html{w_.part_shown} << "</h4>\n<ul class=\"part-shown\">\n";
      for (const PartShown& k : part_shown_) {
        o_ << "<li class=\"row\"><b>" << Html{k.name} << "</b> ";
        for (std::size_t i = 0; i < k.lines.size(); ++i) {
          o_ << (i < k.bound ? "<span class=\"command\">" : " <span class=\"tool-name\">")
             << Html{k.lines[i]} << "</span>";
        }
        o_ << "</li>\n";
      }
      o_ << "</ul>\n";
    }

    // Bindings of keys the drawing has no place for.
    bool listed = false;
    for (const Binding& b : v.bindings) {
      if (!on_a_key(b)) continue;
      bool drawn = std::any_of(places.begin(), places.end(),
                               [&](const KeyPlace& p) { return p.code == b.code; });
      if (drawn) continue;
      if (!listed) o_ << "<h4>" << Html{w_.off_drawing} << "</h4>\n<ul class=\"off-drawing\">\n";
      listed = true;
      o_ << "<li class=\"row\"";
      if (in_conflict(v, BindingKind::key, b.code, 0)) o_ << " data-conflict";
      o_ << "><b>" << Html{binding_place(b, texts_)} << " (" << b.code << ")</b> ";
      commands({b.command});
      o_ << "</li>\n";
    }
    if (listed) o_ << "</ul>\n";
  }

  // One control of a card: an axis or a button with its commands.
  void control(const VersionModel& v, const char* what, BindingKind on, std::int32_t joystick,
               std::int32_t index, const std::string& label, const std::vector<std::string>& list) {
    o_ << "<li class=\"control " << (list.empty() ? "free" : "bound") << "\" data-" << what << "=\""
       << index << "\"";
    if (joystick > 0 && in_conflict(v, on, index, joystick)) o_ << " data-conflict";
    o_ << "><span class=\"control-name\">" << Html{label} << "</span> ";
    if (list.empty()) {
      o_ << "<span class=\"free-word\">" << Html{w_.free} << "</span>";
    } else {
      commands(list);
    }
    o_ << "</li>\n";
  }

  // The free controls of a kind told in one line, as ranges: "Buttons
  // 6&ndash;11, 14 free".
  void free_ranges(bool axes, const std::vector<std::int32_t>& free) {
    if (free.empty()) return;
    auto name = [&](std::int32_t i) {
      static const char* const letters[] = {"X", "Y", "Z"};
      return axes && i >= 0 && i < 3 ? std::string(letters[i]) : i2b(i);
    };
    bool one = free.size() == 1;
    o_ << "<li class=\"free-ranges\">"
       << Html{axes ? (one ? w_.axis : w_.axes) : (one ? w_.button : w_.buttons)} << " ";
    for (std::size_t at = 0; at < free.size();) {
      std::size_t end = at;
      while (end + 1 < free.size() && free[end + 1] == free[end] + 1) ++end;
      o_ << (at > 0 ? ", " : "") << Html{name(free[at])};
      if (end > at) o_ << (end == at + 1 ? ", " : "&ndash;") << Html{name(free[end])};
      at = end + 1;
    }
    o_ << " " << Html{one ? w_.free : w_.free_many} << "</li>\n";
  }

  void attached_card(const VersionModel& v, const std::string& header, std::int32_t k) {
    const Joystick& joy = model_.joysticks[static_cast<std::size_t>(k - 1)];
    std::string name = trim(joy.name);
    o_ << "<article class=\"card\" data-joystick=\"" << Html{header} << "\"><h4>" << Html{name}
       << "</h4><p class=\"section-header\">" << Html{header} << "</p>\n";
    for (BindingKind on : {BindingKind::axis, BindingKind::button}) {
      bool axes = on == BindingKind::axis;
      std::int32_t limit = static_cast<std::int32_t>(axes ? maxaxe : maxbut);
      std::int32_t count = std::min(axes ? joy.axes : joy.buttons, limit + 1);
      std::vector<std::int32_t> indices;
      for (std::int32_t i = 0; i < count; ++i) indices.push_back(i);
      for (const Binding& b : v.bindings) {
        if (b.kind == on && b.joystick == k &&
            std::find(indices.begin(), indices.end(), b.code) == indices.end()) {
          indices.push_back(b.code);
        }
      }
      std::sort(indices.begin(), indices.end());
      o_ << "<h5>" << Html{axes ? w_.axes : w_.buttons} << "</h5><ul>\n";
      std::vector<std::int32_t> free;
      for (std::int32_t i : indices) {
        std::vector<std::string> list;
        for (const Binding& b : v.bindings) {
          if (b.kind == on && b.joystick == k && b.code == i) add_unique(list, b.command);
        }
        std::string label = axes ? axis_text(i, name, texts_) : button_text(i, texts_);
        control(v, axes ? "axis" : "button", on, k, i, label, list);
        if (list.empty()) free.push_back(i);
      }
      free_ranges(axes, free);
      o_ << "</ul>\n";
    }
    o_ << "</article>\n";
  }

  void unattached_card(const VersionModel& v, const std::string& header) {
    o_ << "<article class=\"card unattached\" data-joystick=\"" << Html{header} << "\"><h4>"
       << Html{header} << "</h4><p class=\"section-header\">" << Html{w_.not_attached}
       << "</p>\n<ul>\n";
    bool any = false;
    for (const Binding& b : v.bindings) {
      if (b.kind != BindingKind::not_attached || b.device != header) continue;
      any = true;
      // Its value, read as a button's.
      std::int32_t index = b.code >= first_button_value &&
                                   b.code <= first_button_value + static_cast<std::int32_t>(maxbut)
                               ? b.code - first_button_value
                               : -1;
      control(v, "button", BindingKind::button, 0, index,
              index >= 0 ? button_text(index, texts_) : "?", {b.command});
    }
    if (!any) o_ << "<li class=\"control free\">" << Html{w_.no_command} << "</li>\n";
    o_ << "</ul>\n</article>\n";
  }

  void cards(const VersionModel& v) {
    o_ << "<h3>" << Html{w_.joysticks} << "</h3>\n<div class=\"cards\">\n";
    bool any = false;
    std::vector<std::int32_t> shown;
    for (std::size_t s = 0; s < v.devices.headers.size(); ++s) {
      if (static_cast<std::int32_t>(s + 1) == v.devices.ikbd) continue;
      std::int32_t k = v.devices.joyid[s + 1];
      const std::string& header = v.devices.headers[s];
      if (k > 0) {
        if (std::find(shown.begin(), shown.end(), k) != shown.end()) continue;
        shown.push_back(k);
        attached_card(v, header, k);
      } else {
        unattached_card(v, header);
      }
      any = true;
    }
    if (!any) o_ << "<p>" << Html{w_.no_joystick} << "</p>\n";
    o_ << "</div>\n";
  }

  void conflicts(const VersionModel& v) {
    o_ << "<h3>" << Html{w_.conflicts} << "</h3>\n";
    if (v.conflicts.empty()) {
      o_ << "<p>" << Html{w_.no_conflict} << "</p>\n";
      return;
    }
    o_ << "<table class=\"list\">\n";
    for (const Conflict& c : v.conflicts) {
      o_ << "<tr class=\"row\" data-conflict><th>" << Html{c.place} << "</th><td>";
      commands(c.commands);
      if (!c.tools.empty()) {
        o_ << " <span class=\"taken-by\">" << Html{w_.taken_by};
        for (const std::string& t : c.tools) o_ << " " << Html{t};
        o_ << "</span>";
      }
      o_ << "</td></tr>\n";
    }
    o_ << "</table>\n";
  }

  void unbound(const VersionModel& v) {
    o_ << "<h3>" << Html{w_.unbound} << "</h3>\n";
    bool any = false;
    for (const Binding& b : v.bindings) {
      if (b.kind != BindingKind::unbound) continue;
      o_ << (any ? "" : "<ul class=\"unbound-list\">") << "<li class=\"row\">";
      commands({b.command});
      o_ << "</li>";
      any = true;
    }
    if (any) {
      o_ << "</ul>\n";
    } else {
      o_ << "<p>" << Html{w_.none} << "</p>\n";
    }
  }

  void version(const VersionModel& v) {
    o_ << "<section class=\"version\" data-version=\"" << v.version << "\" id=\"v" << v.version
       << "\">\n<h2>" << Html{w_.version} << " " << v.version << "</h2><p class=\"file-name\">"
       << Html{v.ctrfile} << "</p>\n";
    legend();
    keyboard(v);
    o_ << "<div class=\"details\">\n";
    key_lists(v);
    cards(v);
    conflicts(v);
    unbound(v);
    o_ << "</div>\n</section>\n";
  }

  void differences() {
    o_ << "<section class=\"differences\">\n<h2>" << Html{w_.differences} << "</h2>\n";
    if (model_.differences.empty()) {
      o_ << "<p>" << Html{w_.none} << "</p>\n</section>\n";
      return;
    }
    o_ << "<table class=\"list\"><tr><th>" << Html{w_.command} << "</th><th>" << Html{w_.binding_v2}
       << "</th><th>" << Html{w_.binding_v3} << "</th></tr>\n";
    for (const Difference& d : model_.differences) {
      o_ << "<tr class=\"row\"><td>";
      commands({d.command});
      o_ << "</td><td>" << Html{bindings_of(model_.versions[0], d.position2, texts_)} << "</td><td>"
         << Html{bindings_of(model_.versions[1], d.position3, texts_)} << "</td></tr>\n";
    }
    o_ << "</table>\n</section>\n";
  }

  const ReportModel& model_;
  const ReportTexts& texts_;
  const Words& w_;
  PageText o_;
  std::vector<std::string> geometry_;  // of each key of the drawing, once
  std::vector<PartShown> part_shown_;  // of the keyboard drawn last
};

}  // namespace

std::string render_page(const ReportModel& model, const ReportTexts& texts) {
  return PageWriter(model, texts).render();
}

std::string write_page(const std::string& path, const ReportModel& model,
                       const ReportTexts& texts) {
  if (folder_exists(path)) return path + " is a folder";
  std::string text = render_page(model, texts);
  if (text.size() >= 2) text.resize(text.size() - 2);  // the writer ends the last line
  std::string why;
  ReplacingWriter out;
  if (out.open(path)) {
    out.write_line(text);
    // The page is made again from the pilot's files on every run.
    if (out.commit(ReplacingWriter::ThroughToDisk::no)) return std::string();
    why = last_file_refusal() == FileRefusal::held ? path + " is open in another program"
                                                   : "a write failed (a full disk?)";
  } else {
    why = name_taken(path + ".new") ? path + ".new is a link or a folder"
                                    : path + " or its folder can't be written";
  }
  if (!name_taken(path)) return why + "; no old page";
  return why + (delete_file(path) ? "; the old page removed" : "; the old page NOT removed");
}
