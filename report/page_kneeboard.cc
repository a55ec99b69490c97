#include "report/page_kneeboard.h"

#include <string>

namespace {

PageText& own(PageText& o, const std::string& words) { return o << Html{words, true}; }

// A page's start: its heading, the version and what the page holds.
void page_start(PageText& o, int version, const PageWords& w) {
  o << "<article class=\"knee-page\"><h2>";
  own(o, w.version) << " " << version << " &middot; ";
}

void commands(PageText& o, const std::vector<std::string>& list) {
  for (const std::string& c : list) o << "<span class=\"command\">" << Html{c} << "</span>";
}

// The keys bound or taken, in the keyboard's order.
void keys_page(PageText& o, const VersionCard& v, const PageWords& w) {
  page_start(o, v.version, w);
  own(o, w.key_lines) << "</h2>\n<ul class=\"knee-list\">\n";
  for (const CardKey& k : v.keys) {
    if (k.lines.empty()) continue;
    o << "<li" << (k.conflict ? " data-conflict" : "") << "><b>" << Html{k.name} << "</b> ";
    for (std::size_t i = 0; i < k.lines.size(); ++i) {
      if (i == k.commands) own(o, (i > 0 ? ", " : "") + w.taken_by) << " ";
      if (i > k.commands) o << ", ";
      o << (i < k.commands ? "<span class=\"command\">" : "<span class=\"tool-name\">")
        << Html{k.lines[i]} << "</span>";
    }
    o << "</li>\n";
  }
  o << "</ul></article>\n";
}

// A joystick's controls that something is bound to.
void joystick_page(PageText& o, const VersionCard& v, const JoystickCard& card,
                   const PageWords& w) {
  page_start(o, v.version, w);
  if (card.attached) {
    o << Html{card.name};
  } else {
    own(o, w.not_plugged) << " " << Html{card.header};
  }
  o << "</h2>\n<ul class=\"knee-list\">\n";
  for (const auto* controls : {&card.axes, &card.buttons}) {
    for (const CardControl& c : *controls) {
      if (c.commands.empty()) continue;
      o << "<li" << (c.conflict ? " data-conflict" : "") << "><b>" << Html{c.label, true}
        << "</b> ";
      commands(o, c.commands);
      o << "</li>\n";
    }
  }
  o << "</ul></article>\n";
}

// The commands bound to nothing, and the conflicts.
void lists_page(PageText& o, const VersionCard& v, const PageWords& w) {
  page_start(o, v.version, w);
  own(o, w.conflicts) << "</h2>\n";
  if (v.conflicts.empty()) own(o << "<p>", w.no_conflict) << "</p>\n";
  o << "<ul class=\"knee-list\">\n";
  for (const CardConflict& c : v.conflicts) {
    o << "<li data-conflict><b>" << Html{c.place} << "</b> ";
    commands(o, c.commands);
    for (const std::string& t : c.tools) o << " <span class=\"tool-name\">" << Html{t} << "</span>";
    o << "</li>\n";
  }
  own(o << "</ul>\n<h3>", w.unbound) << "</h3>\n<ul class=\"knee-list\">\n";
  for (const std::string& command : v.unbound) {
    o << "<li>";
    commands(o, {command});
    o << "</li>\n";
  }
  o << "</ul></article>\n";
}

}  // namespace

void write_kneeboard(PageText& o, const Card& card, const PageWords& w) {
  o << "<div class=\"kneeboard-pages\">\n";
  for (const VersionCard& v : card.versions) {
    keys_page(o, v, w);
    for (const JoystickCard& joystick : v.joysticks) joystick_page(o, v, joystick, w);
    lists_page(o, v, w);
  }
  o << "</div>\n";
}
