#include "report/page_writer.h"

#include <algorithm>
#include <optional>

#include "report/card.h"
#include "report/html_text.h"
#include "report/key_text_fit.h"
#include "report/keyboard_layout.h"
#include "report/page_data.h"
#include "report/page_resources.h"
#include "shared/platform.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

// The place of a key of a drawing: the start of its style attribute, which
// the caller ends.
std::string geometry(const KeyPlace& p) {
  PageText o;
  o << " style=\"--x:" << Units{p.x} << ";--y:" << Units{p.y} << ";--w:" << Units{p.w}
    << ";--h:" << Units{p.h};
  // Where the key lies on the stacked drawing, when it moves there.
  if (std::optional<KeyPlace> s = stacked_place(p)) {
    o << ";--xs:" << Units{s->x} << ";--ys:" << Units{s->y};
  }
  return o.text;
}

// The longest name that the drawing shows as a map, on a phone: a letter,
// a digit, "F10".
constexpr std::size_t short_key_name = 3;

// The id of the line that tells a key of a version's drawing.
std::string key_line_id(int version, std::int32_t code) {
  return "v" + std::to_string(version) + "-key-" + std::to_string(code);
}

const char* state_name(KeyState state) {
  switch (state) {
    case KeyState::bound:
      return "bound";
    case KeyState::taken:
      return "taken";
    case KeyState::free:
      break;
  }
  return "free";
}

// Draws the card: markup from what the card holds, nothing decided here.
class PageWriter {
 public:
  PageWriter(const Card& card, const ReportModel& model, const ReportTexts& texts)
      : model_(model), texts_(texts), w_(texts.page), card_(card) {}

  std::string render() {
    o_.text.reserve(32768 * (card_.versions.size() + 1));
    head();
    for (const VersionCard& v : card_.versions) version(v);
    if (card_.compared) differences();
    o_ << "</main>\n";
    write_page_data(o_, model_, card_, texts_);
    o_ << "<script>\n" << page_script << "</script>\n</body>\n</html>\n";
    return std::move(o_.text);
  }

 private:
  PageText& own(const std::string& words) { return o_ << Html{words, true}; }

  void mixed(const MixedText& text) {
    for (const TextRun& run : text) o_ << Html{run.text, run.own};
  }

  void commands(const std::vector<std::string>& list) {
    for (const std::string& c : list) o_ << "<span class=\"command\">" << Html{c} << "</span>";
  }

  void head() {
    o_ << "<!DOCTYPE html>\n<html lang=\"" << w_.lang << "\">\n<head>\n<meta charset=\"utf-8\">\n"
       << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
       << "<meta name=\"generator\" content=\"Tavlet\">\n<title>";
    own(w_.title) << "</title>\n<style>\n"
                  << page_style << "</style>\n</head>\n<body>\n<header class=\"page-top\"><h1>";
    // The search, with the words it finds states by and counts in.
    own(w_.title) << "</h1><p class=\"search screen-only\"><input type=\"search\" id=\"search\" "
                  << "hidden placeholder=\"";
    own(w_.search) << "\" aria-label=\"";
    own(w_.search) << "\" data-free=\"";
    own(w_.free) << "\" data-conflict=\"";
    own(w_.legend_conflict) << "\" data-found-one=\"";
    own(w_.found_one) << "\" data-found=\"";
    own(w_.found) << "\"> <span id=\"found\" role=\"status\"></span></p></header>\n<main>\n";
  }

  void legend() {
    o_ << "<p class=\"legend\">";
    for (auto [state, words] : {std::pair{"bound", &w_.legend_bound},
                                {"taken", &w_.legend_taken},
                                {"conflict", &w_.legend_conflict},
                                {"free", &w_.legend_free}}) {
      o_ << "<span class=\"legend-item\"><span class=\"swatch " << state << "\"></span>";
      own(*words) << "</span> ";
    }
    o_ << "</p>\n";
  }

  void keyboard(const VersionCard& v) {
    if (geometry_.empty()) {
      for (const CardKey& k : v.keys) geometry_.push_back(geometry(k.place));
    }
    // A region of keys under its heading, that the keyboard reaches,
    // scrolling sideways in its frame when it can't fit the screen.
    const std::string& kind =
        card_.keyboard == KeyboardKind::iso ? w_.keyboard_iso : w_.keyboard_ansi;
    o_ << "<h3 class=\"keyboard-title\">";
    own(kind) << "</h3>\n<div class=\"keyboard-frame\" tabindex=\"0\" role=\"region\" "
              << "aria-label=\"";
    own(kind) << ", ";
    own(w_.version) << " " << v.version
                    << "\"><div class=\"keyboard\" style=\"--keyboard-w:" << Units{keyboard_width}
                    << ";--keyboard-h:" << Units{keyboard_height}
                    << ";--stacked-w:" << Units{stacked_width}
                    << ";--stacked-h:" << Units{stacked_height} << ";--key-gap:" << Units{key_gap}
                    << ";--key-pad:" << Units{key_padding}
                    << ";--key-line:" << Units{key_line_height}
                    << ";--name-max:" << Units{key_name_largest}
                    << ";--name-ratio:" << Units{key_name_ratio} << "\">\n";
    for (std::size_t at = 0; at < v.keys.size(); ++at) {
      const CardKey& k = v.keys[at];
      const char* state = state_name(k.state);
      if (k.enter_top) {
        o_ << "<div class=\"enter-top " << state << "\" aria-hidden=\"true\""
           << geometry(*k.enter_top) << "\"></div>\n";
      }
      std::size_t hidden = k.fit.hidden();
      o_ << "<div class=\"key " << state << "\" data-key=\"" << k.place.code << "\"";
      if (k.conflict) o_ << " data-conflict";
      o_ << " role=\"img\" aria-label=\"";
      mixed(k.label);
      o_ << "\"";
      if (hidden > 0) {
        // What the key can't show: all of it in its title, and in a list.
        std::string all;
        for (const std::string& line : k.lines) all += (all.empty() ? "" : ", ") + line;
        o_ << " title=\"" << Html{all} << "\"";
      }
      o_ << geometry_[at] << ";--s:" << Units{k.fit.size} << "\"><span class=\"key-name"
         << (k.name.size() > short_key_name ? " long-name" : "") << "\"";
      if (k.fit.name_scale < 1) o_ << " style=\"--squeeze:" << Units{k.fit.name_scale} << "\"";
      o_ << ">" << Html{k.name} << "</span>";
      for (std::size_t i = 0; i < k.lines.size(); ++i) {
        o_ << "<span class=\"" << (i < k.commands ? "command" : "tool-name")
           << (k.fit.shown[i] ? "" : " beyond") << "\">" << Html{k.lines[i]} << "</span>";
      }
      if (hidden > 0) {
        o_ << "<span class=\"more\">+" << static_cast<std::int32_t>(hidden) << "</span>";
      }
      o_ << "</div>\n";
    }
    o_ << "</div></div>\n<p class=\"scroll-hint screen-only\" hidden>";
    own(w_.scroll_hint) << "</p>\n";
    key_lines(v);
  }

  // Each key bound or taken, in the keyboard's order, with what it does: on
  // a phone, below the drawing that it then shows as a map.
  void key_lines(const VersionCard& v) {
    o_ << "<h3 class=\"phone-only\">";
    own(w_.key_lines) << "</h3>\n<ul class=\"key-lines phone-only\">\n";
    for (const CardKey& k : v.keys) {
      if (k.lines.empty()) continue;
      o_ << "<li class=\"row\" id=\"" << key_line_id(v.version, k.place.code) << "\"";
      if (k.conflict) o_ << " data-conflict";
      o_ << "><b class=\"key-line-name\">" << Html{k.name} << "</b>";
      own(w_.name_sep);
      for (std::size_t i = 0; i < k.lines.size(); ++i) {
        if (i == k.commands) {
          own((i > 0 ? ", " : "") + w_.taken_by) << " ";
        } else if (i > k.commands) {
          o_ << ", ";
        }
        o_ << (i < k.commands ? "<span class=\"command\">" : "<span class=\"tool-name\">")
           << Html{k.lines[i]} << "</span>";
      }
      if (k.conflict) {
        o_ << " (";
        own(w_.legend_conflict) << ")";
      }
      o_ << "</li>\n";
    }
    o_ << "</ul>\n";
  }

  // The keys nothing binds or takes, as ranges: "F5&ndash;F9".
  void free_keys(const VersionCard& v) {
    o_ << "<h3>";
    own(w_.free_keys) << "</h3>\n";
    if (v.free_keys.empty()) {
      o_ << "<p>";
      own(texts_.none) << "</p>\n";
      return;
    }
    o_ << "<ul class=\"free-keys\">";
    for (const KeyRun& run : v.free_keys) {
      // The names of its keys, a line each.
      o_ << "<li class=\"row\" data-free data-keys=\"";
      for (std::size_t i = 0; i < run.names.size(); ++i) {
        o_ << (i > 0 ? "&#10;" : "") << Html{run.names[i]};
      }
      o_ << "\">" << Html{run.first};
      if (!run.last.empty()) o_ << "&ndash;" << Html{run.last};
      o_ << "</li>";
    }
    o_ << "</ul>\n";
  }

  // The keys whose bindings the drawing can't show: those that show only
  // a part of what they hold, in full, and those it has no place for.
  void key_lists(const VersionCard& v) {
    if (!v.part_shown.empty()) {
      o_ << "<h3>";
      own(w_.part_shown) << "</h3>\n<ul class=\"part-shown\">\n";
      for (std::size_t at : v.part_shown) {
        const CardKey& k = v.keys[at];
        o_ << "<li class=\"row\"><b>" << Html{k.name} << "</b> ";
        for (std::size_t i = 0; i < k.lines.size(); ++i) {
          o_ << (i < k.commands ? "<span class=\"command\">" : " <span class=\"tool-name\">")
             << Html{k.lines[i]} << "</span>";
        }
        o_ << "</li>\n";
      }
      o_ << "</ul>\n";
    }
    if (v.off_drawing.empty()) return;
    o_ << "<h3>";
    own(w_.off_drawing) << "</h3>\n<ul class=\"off-drawing\">\n";
    for (const OffDrawingKey& k : v.off_drawing) {
      o_ << "<li class=\"row\"";
      if (k.conflict) o_ << " data-conflict";
      o_ << "><b>";
      mixed(k.place);
      o_ << "</b> ";
      commands({k.command});
      o_ << "</li>\n";
    }
    o_ << "</ul>\n";
  }

  // One control of a card: an axis or a button with its commands.
  void control(const char* what, const CardControl& c) {
    o_ << "<li class=\"control " << (c.commands.empty() ? "free" : "bound") << "\" data-" << what
       << "=\"" << c.index << "\"";
    if (c.conflict) o_ << " data-conflict";
    o_ << "><span class=\"control-name\">" << Html{c.label, true} << "</span> ";
    if (c.commands.empty()) {
      o_ << "<span class=\"free-word\">";
      own(w_.free) << "</span>";
    } else {
      commands(c.commands);
    }
    o_ << "</li>\n";
  }

  // The free controls of a kind told in one line, as ranges: "Buttons
  // 6&ndash;11, 14 free".
  void free_line(const FreeLine& line) {
    o_ << "<li class=\"free-ranges\">";
    own(line.head) << " ";
    for (std::size_t i = 0; i < line.runs.size(); ++i) {
      const auto& [first, last] = line.runs[i];
      o_ << (i > 0 ? ", " : "") << Html{first};
      if (!last.empty()) o_ << "&ndash;" << Html{last};
    }
    o_ << " ";
    own(line.tail) << "</li>\n";
  }

  // An attached joystick's card: its axes and its buttons, each list named
  // by its heading, whose id begins with `id`.
  void attached_card(const JoystickCard& card, const std::string& id) {
    o_ << "<article class=\"card\" data-joystick=\"" << Html{card.header} << "\"><h4>"
       << Html{card.name} << "</h4><p class=\"section-header\">" << Html{card.header} << "</p>\n";
    for (bool axes : {true, false}) {
      if ((axes ? card.axes : card.buttons).empty()) continue;
      std::string list = id + (axes ? "-axes" : "-buttons");
      o_ << "<h5 id=\"" << list << "\">";
      own(axes ? w_.axes : w_.buttons) << "</h5><ul aria-labelledby=\"" << list << "\">\n";
      for (const CardControl& c : axes ? card.axes : card.buttons) {
        control(axes ? "axis" : "button", c);
      }
      const std::optional<FreeLine>& free = axes ? card.free_axes : card.free_buttons;
      if (free) free_line(*free);
      o_ << "</ul>\n";
    }
    o_ << "</article>\n";
  }

  void unattached_card(const JoystickCard& card) {
    o_ << "<article class=\"card unattached\" data-joystick=\"" << Html{card.header} << "\"><h4>";
    own(w_.not_plugged) << "</h4><p class=\"section-header\">" << Html{card.header}
                        << "</p>\n<ul>\n";
    for (const CardControl& c : card.buttons) control("button", c);
    if (card.buttons.empty()) {
      o_ << "<li class=\"control free\">";
      own(w_.no_command) << "</li>\n";
    }
    o_ << "</ul>\n</article>\n";
  }

  void cards(const VersionCard& v) {
    o_ << "<h3>";
    own(w_.joysticks) << "</h3>\n<div class=\"cards\">\n";
    for (std::size_t c = 0; c < v.joysticks.size(); ++c) {
      const JoystickCard& card = v.joysticks[c];
      if (card.attached) {
        attached_card(card, "v" + std::to_string(v.version) + "-card" + std::to_string(c + 1));
      } else {
        unattached_card(card);
      }
    }
    if (v.joysticks.empty()) {
      o_ << "<p>";
      own(w_.no_joystick) << "</p>\n";
    }
    o_ << "</div>\n";
  }

  void conflicts(const VersionCard& v) {
    o_ << "<h3>";
    own(w_.conflicts) << "</h3>\n";
    if (v.conflicts.empty()) {
      o_ << "<p>";
      own(w_.no_conflict) << "</p>\n";
      return;
    }
    o_ << "<table class=\"list\">\n";
    for (const CardConflict& c : v.conflicts) {
      o_ << "<tr class=\"row\" data-conflict><th>" << Html{c.place} << "</th><td>";
      commands(c.commands);
      if (!c.tools.empty()) {
        o_ << " <span class=\"taken-by\">";
        own(w_.taken_by);
        for (const std::string& t : c.tools)
          o_ << " <span class=\"tool-name\">" << Html{t} << "</span>";
        o_ << "</span>";
      }
      o_ << "</td></tr>\n";
    }
    o_ << "</table>\n";
  }

  void unbound(const VersionCard& v) {
    o_ << "<h3>";
    own(w_.unbound) << "</h3>\n";
    if (v.unbound.empty()) {
      o_ << "<p>";
      own(texts_.none) << "</p>\n";
      return;
    }
    o_ << "<ul class=\"unbound-list\">";
    for (const std::string& command : v.unbound) {
      o_ << "<li class=\"row\">";
      commands({command});
      o_ << "</li>";
    }
    o_ << "</ul>\n";
  }

  void version(const VersionCard& v) {
    o_ << "<section class=\"version\" data-version=\"" << v.version << "\" id=\"v" << v.version
       << "\">\n<h2>";
    own(w_.version) << " " << v.version << "</h2><p class=\"file-name\">" << Html{v.file}
                    << "</p>\n";
    legend();
    keyboard(v);
    o_ << "<div class=\"details\">\n";
    key_lists(v);
    free_keys(v);
    cards(v);
    conflicts(v);
    unbound(v);
    o_ << "</div>\n</section>\n";
  }

  void differences() {
    o_ << "<section class=\"differences\">\n<h2>";
    own(texts_.differences) << "</h2>\n";
    if (card_.differences.empty()) {
      o_ << "<p>";
      own(texts_.none) << "</p>\n</section>\n";
      return;
    }
    o_ << "<table class=\"list\"><tr><th>";
    own(w_.command) << "</th><th>";
    own(w_.binding_v2) << "</th><th>";
    own(w_.binding_v3) << "</th></tr>\n";
    for (const CardDifference& d : card_.differences) {
      o_ << "<tr class=\"row\"><td>";
      commands({d.command});
      o_ << "</td><td>";
      mixed(d.version2);
      o_ << "</td><td>";
      mixed(d.version3);
      o_ << "</td></tr>\n";
    }
    o_ << "</table>\n</section>\n";
  }

  const ReportModel& model_;
  const ReportTexts& texts_;
  const PageWords& w_;
  const Card& card_;
  PageText o_;
  std::vector<std::string> geometry_;  // of each key of the drawing, once
};

}  // namespace

std::string render_page(const Card& card, const ReportModel& model, const ReportTexts& texts) {
  return PageWriter(card, model, texts).render();
}

std::string write_page(const std::string& path, const Card& card, const ReportModel& model,
                       const ReportTexts& texts) {
  if (folder_exists(path)) return path + " is a folder";
  std::string text = render_page(card, model, texts);
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
