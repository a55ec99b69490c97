#include "report/html_page.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "shared/platform.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

// ---- Text -----------------------------------------------------------------

// Text of the machine's code page written as HTML text (`json` false) or as
// the inside of a JSON string safe in a <script> element (`json` true), in
// UTF-8. In HTML the NUL and the other control bytes become blanks.
void append_text(std::string& out, std::string_view text, bool json) {
  bool ascii = std::all_of(text.begin(), text.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  std::string converted;
  if (!ascii) {
    converted = utf16_to_utf8(ansi_to_utf16(text));
    text = converted;
  }
  for (char c : text) {
    unsigned char b = static_cast<unsigned char>(c);
    if (b >= 0x80) {
      out.push_back(c);  // a byte of a letter's UTF-8
    } else if (json) {
      if (c == '"' || c == '\\') {
        out.push_back('\\');
        out.push_back(c);
      } else if (b < 0x20 || b == 0x7F || c == '<' || c == '>' || c == '&') {
        static const char hex[] = "0123456789abcdef";
        out += "\\u00";
        out.push_back(hex[b >> 4]);
        out.push_back(hex[b & 15]);
      } else {
        out.push_back(c);
      }
    } else {
      switch (c) {
        case '&':
          out += "&amp;";
          break;
        case '<':
          out += "&lt;";
          break;
        case '>':
          out += "&gt;";
          break;
        case '"':
          out += "&quot;";
          break;
        default:
          out.push_back(b < 0x20 || b == 0x7F ? ' ' : c);
      }
    }
  }
}

// What the page is written with: markup as it stands, and the texts of the
// model escaped.
struct Html {
  std::string_view text;
};
struct Json {  // a JSON string, quotes included
  std::string_view text;
};
struct Units {  // a length in key units (a multiple of 0.01 at most)
  double value;
};

// The page's text, its lines ended by CR LF, as every file the programs
// write.
class Out {
 public:
  Out& operator<<(std::string_view s) {
    for (std::size_t start = 0;;) {
      std::size_t end = s.find('\n', start);
      if (end == std::string_view::npos) {
        text.append(s, start);
        return *this;
      }
      text.append(s, start, end - start).append("\r\n");
      start = end + 1;
    }
  }
  Out& operator<<(const char* s) { return *this << std::string_view(s); }
  Out& operator<<(const std::string& s) { return *this << std::string_view(s); }
  Out& operator<<(std::int32_t n) {
    char buf[16];
    auto end = std::to_chars(buf, buf + sizeof buf, n).ptr;
    text.append(buf, end);
    return *this;
  }
  Out& operator<<(Html h) {
    append_text(text, h.text, false);
    return *this;
  }
  Out& operator<<(Json j) {
    text.push_back('"');
    append_text(text, j.text, true);
    text.push_back('"');
    return *this;
  }
  Out& operator<<(Units u) {
    long hundredths = std::lround(u.value * 100);
    *this << static_cast<std::int32_t>(hundredths / 100);
    long rest = hundredths % 100;
    if (rest != 0) {
      text.push_back('.');
      text.push_back(static_cast<char>('0' + rest / 10));
      if (rest % 10 != 0) text.push_back(static_cast<char>('0' + rest % 10));
    }
    return *this;
  }

  std::string text;
};

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
int wrapped_lines(std::string_view text, int per_line) {
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
double fitting_size(const KeyPlace& place, std::string_view name,
                    const std::vector<std::string>& lines) {
  // Widths of a character, of the font size: generous, bold ones more so;
  // and the room a line takes, rounded up at small sizes.
  constexpr double char_width = 0.62, bold_width = 0.7, line_height = 1.25;
  const double width = place.w - 0.3, height = place.h - 0.3;
  auto per_line = [&](double size, double w) { return static_cast<int>(width / (w * size)); };
  for (double size : {0.16, 0.14, 0.125, 0.11, 0.1, 0.09, 0.08}) {
    double name_size = std::min(0.2, size * 1.25);
    double used = name.empty() ? 0
                               : wrapped_lines(name, per_line(name_size, bold_width)) *
                                     line_height * name_size;
    for (const std::string& line : lines) {
      used += wrapped_lines(line, per_line(size, char_width)) * line_height * size;
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

bool in_conflict(const PageVersion& v, BindingKind on, std::int32_t code, std::int32_t joystick) {
  return std::any_of(v.conflicts.begin(), v.conflicts.end(), [&](const Conflict& c) {
    return c.on == on && c.code == code && c.joystick == joystick;
  });
}

void add_unique(std::vector<std::string>& list, const std::string& item) {
  if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

const char* kind_name(BindingKind kind) {
  switch (kind) {
    case BindingKind::key:
      return "key";
    case BindingKind::unrecognised_key:
      return "unrecognised key";
    case BindingKind::button:
      return "button";
    case BindingKind::axis:
      return "axis";
    case BindingKind::not_attached:
      return "not attached";
    case BindingKind::unbound:
      break;
  }
  return "unbound";
}

class PageWriter {
 public:
  explicit PageWriter(const Page& page) : page_(page), w_(page.texts.qfr ? french : english) {}

  std::string render() {
    o_.text.reserve(32768 * (page_.versions.size() + 1));
    head();
    for (const PageVersion& v : page_.versions) version(v);
    if (page_.compared) differences();
    data();
    o_ << "<script>\n" << script << "</script>\n</body>\n</html>\n";
    return std::move(o_.text);
  }

 private:
  static const char* const style;
  static const char* const script;

  // The start of a key's style attribute: its place and size.
  static std::string geometry(const KeyPlace& p) {
    Out o;
    o << " style=\"--x:" << Units{p.x} << ";--y:" << Units{p.y} << ";--w:" << Units{p.w}
      << ";--h:" << Units{p.h} << ";--s:";
    return o.text;
  }

  std::string_view name_of_key(std::int32_t code) const {
    for (const auto& [c, name] : page_.key_names) {
      if (c == code) return name;
    }
    return std::string_view();
  }

  void commands(const std::vector<std::string>& list) {
    for (const std::string& c : list) o_ << "<span class=\"kc\">" << Html{c} << "</span>";
  }

  void head() {
    o_ << "<!DOCTYPE html>\n<html lang=\"" << w_.lang << "\">\n<head>\n<meta charset=\"utf-8\">\n"
       << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
       << "<meta name=\"generator\" content=\"Tavlet\">\n<title>" << Html{w_.title}
       << "</title>\n<style>\n"
       << style << "</style>\n</head>\n<body>\n<header class=\"top\"><h1>" << Html{w_.title}
       << "</h1><input type=\"search\" id=\"search\" class=\"noprint\" hidden "
       << "placeholder=\"" << Html{w_.search} << "\" aria-label=\"" << Html{w_.search}
       << "\"></header>\n";
  }

  void legend() {
    o_ << "<p class=\"legend\"><span class=\"sw bound\"></span>" << Html{w_.legend_bound}
       << " <span class=\"sw tool\"></span>" << Html{w_.legend_tool}
       << " <span class=\"sw conflict\"></span>" << Html{w_.legend_conflict}
       << " <span class=\"sw free\"></span>" << Html{w_.legend_free} << " &middot; "
       << Html{page_.keyboard == KeyboardKind::iso ? w_.keyboard_iso : w_.keyboard_ansi}
       << "</p>\n";
  }

  void keyboard(const PageVersion& v) {
    const std::vector<KeyPlace>& places = keyboard_places(page_.keyboard);
    if (geometry_.empty()) {
      for (const KeyPlace& p : places) geometry_.push_back(geometry(p));
    }
    o_ << "<div class=\"keyboard\">\n";
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < places.size(); ++at) {
      const KeyPlace& p = places[at];
      lines.clear();
      for (const Binding& b : v.bindings) {
        if (on_a_key(b) && b.code == p.code) add_unique(lines, b.command);
      }
      std::size_t bound = lines.size();
      for (const ToolKeys& t : page_.tools) {
        for (const TakenKey& k : t.keys) {
          if (k.code == p.code) add_unique(lines, t.tool);
        }
      }
      std::string_view name = name_of_key(p.code);
      const char* state = bound > 0 ? "bound" : lines.size() > bound ? "tool" : "free";
      if (page_.keyboard == KeyboardKind::iso && p.code == 28) {
        // The tall Enter's wider top, drawn behind the key.
        o_ << "<div class=\"ext " << state << "\" style=\"--x:13.5;--y:" << Units{p.y}
           << ";--w:.4;--h:1\"></div>\n";
      }
      o_ << "<div class=\"key " << state << "\" data-key=\"" << p.code << "\"";
      if (in_conflict(v, BindingKind::key, p.code, 0)) o_ << " data-conflict";
      o_ << geometry_[at] << Units{fitting_size(p, name, lines)} << "\"><span class=\"kn\">"
         << Html{name} << "</span>";
      for (std::size_t i = 0; i < lines.size(); ++i) {
        o_ << (i < bound ? "<span class=\"kc\">" : "<span class=\"kt\">") << Html{lines[i]}
           << "</span>";
      }
      o_ << "</div>\n";
    }
    o_ << "</div>\n";

    // Bindings of keys the drawing has no place for.
    bool listed = false;
    for (const Binding& b : v.bindings) {
      if (!on_a_key(b)) continue;
      bool drawn = std::any_of(places.begin(), places.end(),
                               [&](const KeyPlace& p) { return p.code == b.code; });
      if (drawn) continue;
      if (!listed) o_ << "<h4>" << Html{w_.off_drawing} << "</h4>\n<ul class=\"off\">\n";
      listed = true;
      o_ << "<li class=\"row\"";
      if (in_conflict(v, BindingKind::key, b.code, 0)) o_ << " data-conflict";
      o_ << "><b>" << Html{binding_place(b, page_.texts)} << " (" << b.code << ")</b> ";
      commands({b.command});
      o_ << "</li>\n";
    }
    if (listed) o_ << "</ul>\n";
  }

  // One control of a card: an axis or a button with its commands.
  void control(const PageVersion& v, const char* what, BindingKind on, std::int32_t joystick,
               std::int32_t index, const std::string& label, const std::vector<std::string>& list) {
    o_ << "<li class=\"ctl " << (list.empty() ? "free" : "bound") << "\" data-" << what << "=\""
       << index << "\"";
    if (joystick > 0 && in_conflict(v, on, index, joystick)) o_ << " data-conflict";
    o_ << "><span class=\"cn\">" << Html{label} << "</span> ";
    if (list.empty()) {
      o_ << "<span class=\"fr\">" << Html{w_.free} << "</span>";
    } else {
      commands(list);
    }
    o_ << "</li>\n";
  }

  void attached_card(const PageVersion& v, const std::string& header, std::int32_t k) {
    const Joystick& joy = page_.joysticks[static_cast<std::size_t>(k - 1)];
    std::string name = trim(joy.name);
    o_ << "<article class=\"card\" data-joystick=\"" << Html{header} << "\"><h4>" << Html{name}
       << "</h4><p class=\"hdr\">" << Html{header} << "</p>\n";
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
      for (std::int32_t i : indices) {
        std::vector<std::string> list;
        for (const Binding& b : v.bindings) {
          if (b.kind == on && b.joystick == k && b.code == i) add_unique(list, b.command);
        }
        Binding shown{0, "", on, i, "", k, name};
        control(v, axes ? "axis" : "button", on, k, i, binding_text(shown, page_.texts), list);
      }
      o_ << "</ul>\n";
    }
    o_ << "</article>\n";
  }

  void unattached_card(const PageVersion& v, const std::string& header) {
    o_ << "<article class=\"card away\" data-joystick=\"" << Html{header} << "\"><h4>"
       << Html{header} << "</h4><p class=\"hdr\">" << Html{w_.not_attached} << "</p>\n<ul>\n";
    bool any = false;
    for (const Binding& b : v.bindings) {
      if (b.kind != BindingKind::not_attached || b.device != header) continue;
      any = true;
      // Its value, read as a button's: 48 is button 0.
      std::int32_t index =
          b.code >= 48 && b.code <= 48 + static_cast<std::int32_t>(maxbut) ? b.code - 48 : -1;
      Binding shown{0, "", BindingKind::button, index, "", 0, ""};
      control(v, "button", BindingKind::button, 0, index,
              index >= 0 ? binding_text(shown, page_.texts) : "?", {b.command});
    }
    if (!any) o_ << "<li class=\"ctl free\">" << Html{w_.no_command} << "</li>\n";
    o_ << "</ul>\n</article>\n";
  }

  void cards(const PageVersion& v) {
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

  void conflicts(const PageVersion& v) {
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
        o_ << " <span class=\"tl\">" << Html{w_.taken_by};
        for (const std::string& t : c.tools) o_ << " " << Html{t};
        o_ << "</span>";
      }
      o_ << "</td></tr>\n";
    }
    o_ << "</table>\n";
  }

  void unbound(const PageVersion& v) {
    o_ << "<h3>" << Html{w_.unbound} << "</h3>\n";
    bool any = false;
    for (const Binding& b : v.bindings) {
      if (b.kind != BindingKind::unbound) continue;
      o_ << (any ? "" : "<ul class=\"unbound\">") << "<li class=\"row\">";
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

  void version(const PageVersion& v) {
    o_ << "<section class=\"version\" data-version=\"" << v.version << "\" id=\"v" << v.version
       << "\">\n<h2>" << Html{w_.version} << " " << v.version << "</h2><p class=\"file\">"
       << Html{v.ctrfile} << "</p>\n";
    legend();
    keyboard(v);
    cards(v);
    conflicts(v);
    unbound(v);
    o_ << "</section>\n";
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
    o_ << "<section class=\"differences\">\n<h2>" << Html{w_.differences} << "</h2>\n";
    if (page_.differences.empty()) {
      o_ << "<p>" << Html{w_.none} << "</p>\n</section>\n";
      return;
    }
    o_ << "<table class=\"list\"><tr><th>" << Html{w_.command} << "</th><th>" << Html{w_.binding_v2}
       << "</th><th>" << Html{w_.binding_v3} << "</th></tr>\n";
    for (const Difference& d : page_.differences) {
      o_ << "<tr class=\"row\"><td>";
      commands({d.command});
      o_ << "</td><td>" << Html{bindings_of(page_.versions[0], d.position2)} << "</td><td>"
         << Html{bindings_of(page_.versions[1], d.position3)} << "</td></tr>\n";
    }
    o_ << "</table>\n</section>\n";
  }

  // ---- The model as JSON (docs/controls-data.md) ----

  // Writes the items of `list`, comma-separated, each with `each`.
  template <typename T, typename F>
  void array(const std::vector<T>& list, F each) {
    o_ << "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (i > 0) o_ << ",";
      each(list[i]);
    }
    o_ << "]";
  }

  void strings(const std::vector<std::string>& list) {
    array(list, [&](const std::string& s) { o_ << Json{s}; });
  }

  void data() {
    o_ << "<script type=\"application/json\" id=\"controls-data\">{\"generator\":\"Tavlet\","
       << "\"language\":\"" << w_.lang << "\",\"keyboard\":\""
       << (page_.keyboard == KeyboardKind::iso ? "iso" : "ansi") << "\",\"keys\":";
    array(page_.key_names, [&](const std::pair<std::int32_t, std::string>& k) {
      o_ << "{\"code\":" << k.first << ",\"name\":" << Json{k.second} << "}";
    });
    o_ << ",\"joysticks\":";
    std::int32_t number = 0;
    array(page_.joysticks, [&](const Joystick& joy) {
      o_ << "{\"number\":" << ++number << ",\"name\":" << Json{trim(joy.name)}
         << ",\"header\":" << Json{trim(joy.guid)} << ",\"axes\":" << joy.axes
         << ",\"buttons\":" << joy.buttons << "}";
    });
    o_ << ",\"siblingKeys\":[";
    bool first = true;
    for (const ToolKeys& t : page_.tools) {
      for (const TakenKey& k : t.keys) {
        o_ << (first ? "" : ",") << "{\"tool\":" << Json{t.tool}
           << ",\"setting\":" << Json{k.setting} << ",\"key\":" << Json{k.text}
           << ",\"code\":" << k.code << "}";
        first = false;
      }
    }
    o_ << "],\"versions\":";
    array(page_.versions, [&](const PageVersion& v) { version_data(v); });
    o_ << ",\"differences\":";
    if (!page_.compared) {
      o_ << "null";
    } else {
      array(page_.differences, [&](const Difference& d) {
        o_ << "{\"command\":" << Json{d.command}
           << ",\"version2\":" << Json{bindings_of(page_.versions[0], d.position2)}
           << ",\"version3\":" << Json{bindings_of(page_.versions[1], d.position3)} << "}";
      });
    }
    o_ << "}</script>\n";
  }

  void version_data(const PageVersion& v) {
    o_ << "{\"version\":" << v.version << ",\"file\":" << Json{v.ctrfile} << ",\"sections\":";
    std::int32_t section = 0;
    array(v.devices.headers, [&](const std::string& header) {
      ++section;
      o_ << "{\"header\":" << Json{header}
         << ",\"joystick\":" << v.devices.joyid[static_cast<std::size_t>(section)]
         << ",\"keyboard\":" << (section == v.devices.ikbd ? "true" : "false") << "}";
    });
    o_ << ",\"bindings\":";
    array(v.bindings, [&](const Binding& b) {
      o_ << "{\"position\":" << b.position << ",\"command\":" << Json{b.command} << ",\"kind\":\""
         << kind_name(b.kind) << "\",\"code\":" << b.code << ",\"joystick\":" << b.joystick
         << ",\"device\":" << Json{b.device}
         << ",\"text\":" << Json{trim(binding_text(b, page_.texts))} << "}";
    });
    o_ << ",\"conflicts\":";
    array(v.conflicts, [&](const Conflict& c) {
      o_ << "{\"on\":\"" << kind_name(c.on) << "\",\"code\":" << c.code
         << ",\"joystick\":" << c.joystick << ",\"place\":" << Json{c.place} << ",\"commands\":";
      strings(c.commands);
      o_ << ",\"tools\":";
      strings(c.tools);
      o_ << "}";
    });
    o_ << "}";
  }

  const Page& page_;
  const Words& w_;
  Out o_;
  std::vector<std::string> geometry_;  // of each key of the drawing, once
};

const char* const PageWriter::style =
    R"CSS(:root{--u:clamp(36px,4.1vw,68px);--gap:calc(var(--u)*.06);
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
.key,.ext{position:absolute;left:calc(var(--u)*var(--x));top:calc(var(--u)*var(--y));
width:calc(var(--u)*var(--w) - var(--gap));height:calc(var(--u)*var(--h) - var(--gap))}
.key{overflow:hidden;border:1px solid #b9bec7;border-radius:calc(var(--u)*.08);background:var(--free);
padding:calc(var(--u)*.05) calc(var(--u)*.07);font-size:calc(var(--u)*var(--s));line-height:1.2;overflow-wrap:anywhere}
.key.bound{background:var(--bound);border-color:var(--boundline)}.key.tool{background:var(--tool)}
.ext{border:1px solid #b9bec7;border-right:none;border-radius:calc(var(--u)*.08) 0 0 calc(var(--u)*.08);background:var(--free)}
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
.top{border-bottom-width:1px}.version+.version{break-before:page}.version+.version h2{margin-top:0}
h2,h3,h4,h5{break-after:avoid}
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

std::string write_page(const std::string& path, const Page& page) {
  if (folder_exists(path)) return path + " is a folder";
  std::string text = render_page(page);
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
