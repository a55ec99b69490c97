#include "report/page_writer.h"

#include <algorithm>
#include <optional>

#include "report/card.h"
#include "report/html_text.h"
#include "report/key_text_fit.h"
#include "report/keyboard_layout.h"
#include "report/page_data.h"
#include "report/page_keyboard.h"
#include "report/page_kneeboard.h"
#include "report/page_resources.h"
#include "shared/platform.h"
#include "shared/text.h"
#include "shared/textfile.h"

namespace {

// Draws the card: markup from what the card holds, nothing decided here.
class PageWriter {
 public:
  PageWriter(const Card& card, const ReportModel& model, const ReportTexts& texts)
      : model_(model), texts_(texts), w_(texts.page), card_(card) {}

  std::string render() {
    // The example's page is some 115 KB: written without growing.
    o_.text.reserve(65536 * (card_.versions.size() + 1));
    head();
    // What the reports say first, and the versions they leave out.
    for (const MixedText& notice : card_.notices) {
      o_ << "<p class=\"notice\">";
      mixed(notice);
      o_ << "</p>\n";
    }
    for (const auto& [number, said] : card_.left_out) {
      o_ << "<section class=\"left-out\">\n<h2>";
      own(w_.version) << " " << number << "</h2><p>";
      mixed(said);
      o_ << "</p>\n</section>\n";
    }
    for (const VersionCard& v : card_.versions) version(v);
    if (card_.compared) differences();
    write_kneeboard(o_, card_, w_);
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
    own(w_.free) << "\" data-taken=\"";
    own(w_.search_taken) << "\" data-conflict=\"";
    own(w_.legend_conflict) << "\" data-unknown=\"";
    own(w_.search_not_known) << "\" data-found-none=\"";
    own(w_.found_none) << "\" data-found-one=\"";
    own(w_.found_one) << "\" data-found=\"";
    own(w_.found) << "\"> <button type=\"button\" id=\"press-key\" aria-pressed=\"false\" hidden>";
    own(w_.press_key) << "</button> <button type=\"button\" id=\"kneeboard\" hidden>";
    own(w_.kneeboard) << "</button> <span id=\"found\" role=\"status\"></span>"
                      << "<span id=\"reached\" class=\"visually-hidden\" aria-live=\"polite\">"
                      << "</span></p></header>\n<main>\n";
  }

  void legend() {
    o_ << "<p class=\"legend\">";
    for (auto [state, words] : {std::pair{"bound", &w_.legend_bound},
                                {"taken", &w_.legend_taken},
                                {"conflict", &w_.legend_conflict},
                                {"free", &w_.legend_free},
                                {"unknown", &w_.not_known}}) {
      // Keys not known only while a tool's file could not be read.
      if (words == &w_.not_known && card_.unread_tools.empty()) continue;
      o_ << "<span class=\"legend-item\"><span class=\"swatch " << state << "\"></span>";
      own(*words) << "</span> ";
    }
    o_ << "</p>\n";
  }

  // The keys nothing binds or takes, as ranges: "F5&ndash;F9".
  void free_keys(const VersionCard& v) {
    o_ << "<h3>";
    own(w_.free_keys) << "</h3>\n";
    // While a tool's file could not be read, no key is known to be free.
    for (const MixedText& unread : card_.unread_tools) {
      o_ << "<p>";
      mixed(unread);
      o_ << "</p>\n";
    }
    if (!card_.unread_tools.empty()) return;
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
    for (const CardControl& c : card.axes) control("axis", c);
    for (const CardControl& c : card.buttons) control("button", c);
    if (card.buttons.empty() && card.axes.empty()) {
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
    write_keyboard(o_, v, card_.keyboard, w_);
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
