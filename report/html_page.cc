#include "report/html_page.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "shared/text.h"
#include "shared/textfile.h"

namespace {

// ---- Text -----------------------------------------------------------------

// Windows-1252 text as UTF-8.
std::string utf8(std::string_view text) {
  std::string out;
  for (char c : text) {
    char32_t u = cp1252_to_unicode(static_cast<unsigned char>(c));
    if (u < 0x80) {
      out.push_back(static_cast<char>(u));
    } else if (u < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (u >> 6)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (u >> 12)));
      out.push_back(static_cast<char>(0x80 | ((u >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
    }
  }
  return out;
}

// Text for HTML, as UTF-8; the NUL and other control bytes become blanks.
std::string html(std::string_view text) {
  std::string out;
  for (char c : utf8(text)) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        out.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c);
    }
  }
  return out;
}

// A JSON string, safe inside a <script> element.
std::string json(std::string_view text) {
  std::string out = "\"";
  for (char c : utf8(text)) {
    unsigned char b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (b < 0x20 || c == '<' || c == '>' || c == '&' || b == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", b);
      out += buf;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%g", v);
  return buf;
}

// ---- Words of the page ------------------------------------------------------

struct Words {
  const char* lang;
  const char* title;
  const char* search;
  const char* version;
  const char* keyboard_iso;
  const char* keyboard_ansi;
  const char* legend_bound;
  const char* legend_tool;
  const char* legend_conflict;
  const char* legend_free;
  const char* off_drawing;
  const char* joysticks;
  const char* no_joystick;
  const char* not_attached;
  const char* axes;
  const char* buttons;
  const char* free;
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
                       "Joysticks",
                       "No joystick section in this file.",
                       "not attached",
                       "Axes",
                       "Buttons",
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
                      "Manettes",
                      "Aucune section de manette dans ce fichier.",
                      "non branch\xE9",
                      "Axes",
                      "Boutons",
                      "libre",
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

// ---- Fitting text into a key ---------------------------------------------

// Lines that greedy word wrapping makes of `text` with `per_line`
// characters a line, long words broken anywhere.
int wrapped_lines(const std::string& text, int per_line) {
  if (per_line < 1) per_line = 1;
  int lines = 1, used = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    int word = static_cast<int>(end - start);
    if (used > 0 && used + 1 + word > per_line) {
      ++lines;
      used = 0;
    }
    if (used > 0) ++used;
    used += word;
    while (used > per_line) {
      ++lines;
      used -= per_line;
    }
    start = end + 1;
  }
  return lines;
}

// The largest font size (in key units) at which the key's name and its
// commands fit the key; the name is set a little larger.
double fitting_size(const KeyPlace& place, const std::string& name,
                    const std::vector<std::string>& lines) {
  constexpr double char_width = 0.62;  // of the font size, generous for bold
  constexpr double line_height = 1.2;
  const double width = place.w - 0.26, height = place.h - 0.26;
  for (double size : {0.16, 0.14, 0.125, 0.11, 0.1, 0.09, 0.08}) {
    double name_size = std::min(0.2, size * 1.25);
    auto per_line = [&](double s) { return static_cast<int>(width / (char_width * s)); };
    double used = name.empty() ? 0 : wrapped_lines(name, per_line(name_size)) * line_height * name_size;
    for (const std::string& line : lines) {
      used += wrapped_lines(line, per_line(size)) * line_height * size;
    }
    if (used <= height) return size;
  }
  return 0.07;
}

// ---- Parts of the page -------------------------------------------------------

std::string binding_place(const Binding& b, const ReportTexts& texts) {
  std::string text = trim(binding_text(b, texts));
  if (b.kind == BindingKind::button || b.kind == BindingKind::axis) text += " (" + b.device + ")";
  return text;
}

bool on_a_key(const Binding& b) {
  return b.kind == BindingKind::key || b.kind == BindingKind::unrecognised_key;
}

const Conflict* conflict_at(const PageVersion& v, BindingKind on, std::int32_t code,
                            std::int32_t joystick) {
  for (const Conflict& c : v.conflicts) {
    if (c.on == on && c.code == code && c.joystick == joystick) return &c;
  }
  return nullptr;
}

std::string command_spans(const std::vector<std::string>& commands) {
  std::string out;
  for (const std::string& c : commands) out += "<span class=\"kc\">" + html(c) + "</span>";
  return out;
}

void add_unique(std::vector<std::string>& list, const std::string& item) {
  if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

class PageWriter {
 public:
  explicit PageWriter(const Page& page)
      : page_(page), w_(page.texts.qfr ? french : english) {}

  std::string render() {
    head();
    for (const PageVersion& v : page_.versions) version(v);
    if (page_.compared) differences();
    data();
    out_ += "<script>\n" + std::string(script) + "</script>\n</body>\n</html>\n";
    return out_;
  }

 private:
  static const char* const style;
  static const char* const script;

  std::string name_of_key(std::int32_t code) const {
    for (const auto& [c, name] : page_.key_names) {
      if (c == code) return name;
    }
    return std::string();
  }

  void head() {
    out_ += "<!DOCTYPE html>\n<html lang=\"" + std::string(w_.lang) + "\">\n<head>\n";
    out_ += "<meta charset=\"utf-8\">\n";
    out_ += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
    out_ += "<meta name=\"generator\" content=\"Tavlet\">\n";
    out_ += "<title>" + html(w_.title) + "</title>\n<style>\n" + std::string(style) +
            "</style>\n</head>\n<body>\n";
    out_ += "<header class=\"top\"><h1>" + html(w_.title) + "</h1>";
    out_ += "<input type=\"search\" id=\"search\" class=\"noprint\" hidden placeholder=\"" +
            html(w_.search) + "\" aria-label=\"" + html(w_.search) + "\"></header>\n";
  }

  void legend() {
    out_ += "<p class=\"legend\"><span class=\"sw bound\"></span>" + html(w_.legend_bound) +
            " <span class=\"sw tool\"></span>" + html(w_.legend_tool) +
            " <span class=\"sw conflict\"></span>" + html(w_.legend_conflict) +
            " <span class=\"sw free\"></span>" + html(w_.legend_free) + " &middot; " +
            html(page_.keyboard == KeyboardKind::iso ? w_.keyboard_iso : w_.keyboard_ansi) +
            "</p>\n";
  }

  void keyboard(const PageVersion& v) {
    const std::vector<KeyPlace>& places = keyboard_places(page_.keyboard);
    out_ += "<div class=\"keyboard\">\n";
    for (const KeyPlace& p : places) {
      std::vector<std::string> commands, tools;
      for (const Binding& b : v.bindings) {
        if (on_a_key(b) && b.code == p.code) add_unique(commands, b.command);
      }
      for (const ToolKeys& t : page_.tools) {
        for (const TakenKey& k : t.keys) {
          if (k.code == p.code) add_unique(tools, t.tool);
        }
      }
      std::string name = name_of_key(p.code);
      std::vector<std::string> lines = commands;
      lines.insert(lines.end(), tools.begin(), tools.end());
      const char* state = !commands.empty() ? "bound" : !tools.empty() ? "tool" : "free";
      if (page_.keyboard == KeyboardKind::iso && p.code == 28) {
        // The tall Enter's wider top, drawn behind the key.
        out_ += "<div class=\"ext " + std::string(state) +
                "\" style=\"left:calc(var(--u)*13.5);top:calc(var(--u)*" + number(p.y) +
                ");width:calc(var(--u)*.4);height:calc(var(--u) - var(--gap))\"></div>\n";
      }
      out_ += "<div class=\"key " + std::string(state) + "\" data-key=\"" + i2b(p.code) + "\"";
      if (conflict_at(v, BindingKind::key, p.code, 0)) out_ += " data-conflict";
      out_ += " style=\"left:calc(var(--u)*" + number(p.x) + ");top:calc(var(--u)*" +
              number(p.y) + ");width:calc(var(--u)*" + number(p.w) + " - var(--gap));height:calc(var(--u)*" +
              number(p.h) + " - var(--gap));--s:" + number(fitting_size(p, name, lines)) + "\">";
      out_ += "<span class=\"kn\">" + html(name) + "</span>" + command_spans(commands);
      for (const std::string& t : tools) out_ += "<span class=\"kt\">" + html(t) + "</span>";
      out_ += "</div>\n";
    }
    out_ += "</div>\n";

    // Bindings of keys the drawing has no place for.
    std::string off;
    for (const Binding& b : v.bindings) {
      if (!on_a_key(b)) continue;
      bool drawn = std::any_of(places.begin(), places.end(),
                               [&](const KeyPlace& p) { return p.code == b.code; });
      if (drawn) continue;
      off += "<li class=\"row\"";
      if (conflict_at(v, BindingKind::key, b.code, 0)) off += " data-conflict";
      off += "><b>" + html(binding_place(b, page_.texts)) + " (" + i2b(b.code) + ")</b> " +
             command_spans({b.command}) + "</li>\n";
    }
    if (!off.empty()) out_ += "<h4>" + html(w_.off_drawing) + "</h4>\n<ul class=\"off\">\n" + off + "</ul>\n";
  }

  // One control of a card: an axis or a button with its commands.
  void control(const PageVersion& v, const char* what, BindingKind on, std::int32_t joystick,
               std::int32_t index, const std::string& label,
               const std::vector<std::string>& commands) {
    out_ += "<li class=\"ctl " + std::string(commands.empty() ? "free" : "bound") + "\" data-" +
            what + "=\"" + i2b(index) + "\"";
    if (joystick > 0 && conflict_at(v, on, index, joystick)) out_ += " data-conflict";
    out_ += "><span class=\"cn\">" + html(label) + "</span> ";
    out_ += commands.empty() ? "<span class=\"fr\">" + html(w_.free) + "</span>"
                             : command_spans(commands);
    out_ += "</li>\n";
  }

  void attached_card(const PageVersion& v, const std::string& header, std::int32_t k) {
    const Joystick& joy = page_.joysticks[static_cast<std::size_t>(k - 1)];
    std::string name = trim(joy.name);
    out_ += "<article class=\"card\" data-joystick=\"" + html(header) + "\"><h4>" + html(name) +
            "</h4><p class=\"hdr\">" + html(header) + "</p>\n";
    for (BindingKind on : {BindingKind::axis, BindingKind::button}) {
      bool axes = on == BindingKind::axis;
      std::int32_t limit = axes ? static_cast<std::int32_t>(maxaxe) : static_cast<std::int32_t>(maxbut);
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
      out_ += "<h5>" + html(axes ? w_.axes : w_.buttons) + "</h5><ul>\n";
      for (std::int32_t i : indices) {
        std::vector<std::string> commands;
        for (const Binding& b : v.bindings) {
          if (b.kind == on && b.joystick == k && b.code == i) add_unique(commands, b.command);
        }
        Binding shown{0, "", on, i, "", k, name};
        control(v, axes ? "axis" : "button", on, k, i, binding_text(shown, page_.texts),
                commands);
      }
      out_ += "</ul>\n";
    }
    out_ += "</article>\n";
  }

  void unattached_card(const PageVersion& v, const std::string& header) {
    out_ += "<article class=\"card away\" data-joystick=\"" + html(header) + "\"><h4>" +
            html(header) + "</h4><p class=\"hdr\">" + html(w_.not_attached) + "</p>\n<ul>\n";
    bool any = false;
    for (const Binding& b : v.bindings) {
      if (b.kind != BindingKind::not_attached || b.device != header) continue;
      any = true;
      std::int32_t index = b.code >= 48 && b.code <= 48 + static_cast<std::int32_t>(maxbut)
                               ? b.code - 48
                               : -1;
      Binding shown{0, "", BindingKind::button, index, "", 0, ""};
      control(v, "button", BindingKind::button, 0, index,
              index >= 0 ? binding_text(shown, page_.texts) : "?", {b.command});
    }
    if (!any) out_ += "<li class=\"ctl free\">" + html(w_.no_command) + "</li>\n";
    out_ += "</ul>\n</article>\n";
  }

  void cards(const PageVersion& v) {
    out_ += "<h3>" + html(w_.joysticks) + "</h3>\n<div class=\"cards\">\n";
    bool any = false;
    std::vector<std::int32_t> shown;
    for (std::size_t s = 0; s < v.devices.headers.size(); ++s) {
      std::int32_t section = static_cast<std::int32_t>(s + 1);
      if (section == v.devices.ikbd) continue;
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
    if (!any) out_ += "<p>" + html(w_.no_joystick) + "</p>\n";
    out_ += "</div>\n";
  }

  void conflicts(const PageVersion& v) {
    out_ += "<h3>" + html(w_.conflicts) + "</h3>\n";
    if (v.conflicts.empty()) {
      out_ += "<p>" + html(w_.no_conflict) + "</p>\n";
      return;
    }
    out_ += "<table class=\"list\">\n";
    for (const Conflict& c : v.conflicts) {
      out_ += "<tr class=\"row\" data-conflict><th>" + html(c.place) + "</th><td>" +
              command_spans(c.commands);
      if (!c.tools.empty()) {
        out_ += " <span class=\"tl\">" + html(w_.taken_by);
        for (const std::string& t : c.tools) out_ += " " + html(t);
        out_ += "</span>";
      }
      out_ += "</td></tr>\n";
    }
    out_ += "</table>\n";
  }

  void unbound(const PageVersion& v) {
    out_ += "<h3>" + html(w_.unbound) + "</h3>\n";
    std::string items;
    for (const Binding& b : v.bindings) {
      if (b.kind == BindingKind::unbound) items += "<li class=\"row\">" + command_spans({b.command}) + "</li>";
    }
    out_ += items.empty() ? "<p>" + html(w_.none) + "</p>\n" : "<ul class=\"unbound\">" + items + "</ul>\n";
  }

  void version(const PageVersion& v) {
    out_ += "<section class=\"version\" data-version=\"" + i2b(v.version) + "\" id=\"v" +
            i2b(v.version) + "\">\n";
    out_ += "<h2>" + html(w_.version) + " " + i2b(v.version) + "</h2><p class=\"file\">" +
            html(v.ctrfile) + "</p>\n";
    legend();
    keyboard(v);
    cards(v);
    conflicts(v);
    unbound(v);
    out_ += "</section>\n";
  }

  std::string bindings_of(const PageVersion& v, std::int32_t position) const {
    std::string text;
    for (const Binding& b : v.bindings) {
      if (b.position != position) continue;
      text += (text.empty() ? "" : ", ") + binding_place(b, page_.texts);
    }
    return text;
  }

  void differences() {
    out_ += "<section class=\"differences\">\n<h2>" + html(w_.differences) + "</h2>\n";
    if (page_.differences.empty()) {
      out_ += "<p>" + html(w_.none) + "</p>\n</section>\n";
      return;
    }
    out_ += "<table class=\"list\"><tr><th>" + html(w_.command) + "</th><th>" +
            html(w_.binding_v2) + "</th><th>" + html(w_.binding_v3) + "</th></tr>\n";
    for (const Difference& d : page_.differences) {
      out_ += "<tr class=\"row\"><td>" + command_spans({d.command}) + "</td><td>" +
              html(bindings_of(page_.versions[0], d.position2)) + "</td><td>" +
              html(bindings_of(page_.versions[1], d.position3)) + "</td></tr>\n";
    }
    out_ += "</table>\n</section>\n";
  }

  // ---- The model as JSON ----

  static const char* kind_name(BindingKind kind) {
    switch (kind) {
      case BindingKind::key: return "key";
      case BindingKind::unrecognised_key: return "unrecognised key";
      case BindingKind::button: return "button";
      case BindingKind::axis: return "axis";
      case BindingKind::not_attached: return "not attached";
      case BindingKind::unbound: break;
    }
    return "unbound";
  }

  template <typename T, typename F>
  static std::string array(const std::vector<T>& items, F each) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + each(items[i]);
    return out + "]";
  }

  void data() {
    const ReportTexts& texts = page_.texts;
    std::string j = "{\"generator\":\"Tavlet\",\"language\":\"" + std::string(w_.lang) +
                    "\",\"keyboard\":\"" +
                    (page_.keyboard == KeyboardKind::iso ? "iso" : "ansi") + "\",";
    j += "\"keys\":" + array(page_.key_names, [](const std::pair<std::int32_t, std::string>& k) {
      return "{\"code\":" + i2b(k.first) + ",\"name\":" + json(k.second) + "}";
    });
    std::int32_t number = 0;
    j += ",\"joysticks\":" + array(page_.joysticks, [&](const Joystick& joy) {
      return "{\"number\":" + i2b(++number) + ",\"name\":" + json(trim(joy.name)) +
             ",\"header\":" + json(trim(joy.guid)) + ",\"axes\":" + i2b(joy.axes) +
             ",\"buttons\":" + i2b(joy.buttons) + "}";
    });
    j += ",\"siblingKeys\":[";
    bool first = true;
    for (const ToolKeys& t : page_.tools) {
      for (const TakenKey& k : t.keys) {
        j += std::string(first ? "" : ",") + "{\"tool\":" + json(t.tool) + ",\"setting\":" +
             json(k.setting) + ",\"key\":" + json(k.text) + ",\"code\":" + i2b(k.code) + "}";
        first = false;
      }
    }
    j += "],\"versions\":" + array(page_.versions, [&](const PageVersion& v) {
      std::string s = "{\"version\":" + i2b(v.version) + ",\"file\":" + json(v.ctrfile);
      std::int32_t section = 0;
      s += ",\"sections\":" + array(v.devices.headers, [&](const std::string& header) {
        ++section;
        return "{\"header\":" + json(header) + ",\"joystick\":" +
               i2b(v.devices.joyid[static_cast<std::size_t>(section)]) +
               ",\"keyboard\":" + (section == v.devices.ikbd ? "true" : "false") + "}";
      });
      s += ",\"bindings\":" + array(v.bindings, [&](const Binding& b) {
        return "{\"position\":" + i2b(b.position) + ",\"command\":" + json(b.command) +
               ",\"kind\":\"" + kind_name(b.kind) + "\",\"code\":" + i2b(b.code) +
               ",\"joystick\":" + i2b(b.joystick) + ",\"device\":" + json(b.device) +
               ",\"text\":" + json(trim(binding_text(b, texts))) + "}";
      });
      s += ",\"conflicts\":" + array(v.conflicts, [](const Conflict& c) {
        auto strings = [](const std::vector<std::string>& list) {
          return array(list, [](const std::string& x) { return json(x); });
        };
        return "{\"on\":\"" + std::string(kind_name(c.on)) + "\",\"code\":" + i2b(c.code) +
               ",\"joystick\":" + i2b(c.joystick) + ",\"place\":" + json(c.place) +
               ",\"commands\":" + strings(c.commands) + ",\"tools\":" + strings(c.tools) + "}";
      });
      return s + "}";
    });
    j += ",\"differences\":";
    if (!page_.compared) {
      j += "null";
    } else {
      j += array(page_.differences, [&](const Difference& d) {
        return "{\"command\":" + json(d.command) + ",\"version2\":" +
               json(bindings_of(page_.versions[0], d.position2)) + ",\"version3\":" +
               json(bindings_of(page_.versions[1], d.position3)) + "}";
      });
    }
    j += "}";
    out_ += "<script type=\"application/json\" id=\"controls-data\">" + j + "</script>\n";
  }

  const Page& page_;
  const Words& w_;
  std::string out_;
};

const char* const PageWriter::style = R"CSS(:root{--u:clamp(36px,4.1vw,68px);--gap:calc(var(--u)*.06);
--ink:#1d2430;--free:#f3f4f6;--bound:#dbeafe;--boundline:#3b6fb6;--tool:#fde7b0;--conf:#c62828}
*{box-sizing:border-box}
body{margin:0;padding:0 1.2rem 2rem;font:15px/1.4 "DejaVu Sans",Verdana,Arial,sans-serif;color:var(--ink);background:#fff}
.top{display:flex;flex-wrap:wrap;gap:1rem;align-items:center;justify-content:space-between;border-bottom:2px solid var(--ink);padding:.6rem 0}
h1{font-size:1.5rem;margin:0}h2{font-size:1.3rem;margin:1.4rem 0 .2rem}h3{font-size:1.1rem;margin:1.2rem 0 .4rem}
h4{margin:.2rem 0;font-size:1rem}h5{margin:.5rem 0 .2rem;font-size:.85rem;text-transform:uppercase;letter-spacing:.04em;color:#555}
#search{font:inherit;padding:.35rem .6rem;min-width:16rem;border:1px solid #888;border-radius:4px}
.file,.hdr{margin:0;color:#555;font-size:.85rem;overflow-wrap:anywhere}
.legend{font-size:.85rem;margin:.4rem 0}
.sw{display:inline-block;width:1em;height:1em;vertical-align:-.15em;margin:0 .3em 0 .6em;border:1px solid #999;border-radius:2px}
.sw.bound{background:var(--bound);border-color:var(--boundline)}.sw.tool{background:var(--tool)}
.sw.conflict{border:2px solid var(--conf)}.sw.free{background:var(--free)}
.keyboard{position:relative;width:calc(var(--u)*22.5);height:calc(var(--u)*6.25);margin:.6rem 0;break-inside:avoid}
.key{position:absolute;overflow:hidden;border:1px solid #b9bec7;border-radius:calc(var(--u)*.08);background:var(--free);
padding:calc(var(--u)*.05) calc(var(--u)*.07);font-size:calc(var(--u)*var(--s));line-height:1.2;overflow-wrap:anywhere}
.key.bound{background:var(--bound);border-color:var(--boundline)}.key.tool{background:var(--tool)}
.ext{position:absolute;border:1px solid #b9bec7;border-right:none;border-radius:calc(var(--u)*.08) 0 0 calc(var(--u)*.08);background:var(--free)}
.ext.bound{background:var(--bound);border-color:var(--boundline)}.ext.tool{background:var(--tool)}
.key[data-conflict]{border:2px solid var(--conf);padding:calc(var(--u)*.05 - 1px) calc(var(--u)*.07 - 1px)}
.kn{display:block;font-weight:700;font-size:calc(var(--u)*min(.2,var(--s)*1.25))}
.key .kc,.key .kt{display:block}.kt{font-style:italic;color:#7a4b00}
.key.free .kn{color:#6b7280}
.cards{display:flex;flex-wrap:wrap;gap:.8rem;align-items:flex-start}
.card{border:1px solid #b9bec7;border-radius:6px;padding:.5rem .8rem;min-width:16rem;max-width:24rem;flex:1 1 18rem;break-inside:avoid}
.card.away{background:#fafafa}.card ul{list-style:none;margin:0;padding:0}
.ctl{padding:.1rem .3rem;border-radius:3px;font-size:.9rem}.ctl .cn{display:inline-block;min-width:6.5em;font-weight:700}
.ctl .kc+.kc:before{content:", "}.ctl.free .cn,.fr{color:#6b7280}.ctl.bound{background:var(--bound)}
.ctl[data-conflict]{outline:2px solid var(--conf)}
table.list{border-collapse:collapse;font-size:.9rem}table.list th,table.list td{border:1px solid #ccd;padding:.2rem .5rem;text-align:left;vertical-align:top}
table.list td .kc+.kc:before{content:", "}.tl{font-style:italic;color:#7a4b00}
ul.unbound{columns:18rem;padding-left:1.2rem;font-size:.9rem}ul.off{font-size:.9rem}
tr[data-conflict] th{color:var(--conf)}
body.searching .key,body.searching .ctl,body.searching .row{opacity:.35}
body.searching .hit{opacity:1;outline:3px solid #f59e0b;outline-offset:1px}
@page{size:A4 landscape;margin:10mm}
@media print{:root{--u:11.8mm}body{padding:0;font-size:10pt}.noprint{display:none!important}
.top{border-bottom-width:1px}.version{break-before:page}.version h2{margin-top:0}
.differences{break-before:page}body.searching .key,body.searching .ctl,body.searching .row{opacity:1}
.hit{outline:none!important}*{-webkit-print-color-adjust:exact;print-color-adjust:exact}}
)CSS";

const char* const PageWriter::script = R"JS((function () {
  var box = document.getElementById('search');
  if (!box) return;
  box.hidden = false;
  var items = Array.prototype.slice.call(document.querySelectorAll('.key, .ctl, .row'));
  function find() {
    var q = box.value.trim().toLowerCase();
    document.body.classList.toggle('searching', q.length > 0);
    items.forEach(function (el) {
      var hit = false;
      if (q) {
        el.querySelectorAll('.kc').forEach(function (c) {
          if (c.textContent.toLowerCase().indexOf(q) >= 0) hit = true;
        });
      }
      el.classList.toggle('hit', hit);
    });
  }
  box.addEventListener('input', find);
  find();
})();
)JS";

}  // namespace

std::string render_page(const Page& page) { return PageWriter(page).render(); }

bool write_page(const std::string& path, const Page& page) {
  std::string text = render_page(page);
  ReplacingWriter out;
  if (!out.open(path)) return false;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    out.write_line(std::string_view(text).substr(start, end - start));
    start = end + 1;
  }
  return out.commit();
}
