#include "report/page_keyboard.h"

#include <optional>
#include <string>

#include "report/key_text_fit.h"
#include "report/keyboard_layout.h"

namespace {

// The place of a key of a drawing: the start of its style attribute, which
// the caller ends.
PageText& geometry(PageText& o, const KeyPlace& p) {
  o << " style=\"--x:" << Units{p.x} << ";--y:" << Units{p.y} << ";--w:" << Units{p.w}
    << ";--h:" << Units{p.h};
  // Where the key lies on the stacked drawing, when it moves there.
  if (std::optional<KeyPlace> s = stacked_place(p)) {
    o << ";--xs:" << Units{s->x} << ";--ys:" << Units{s->y};
  }
  return o;
}

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
    case KeyState::unknown:
      return "unknown";
    case KeyState::free:
      break;
  }
  return "free";
}

PageText& own(PageText& o, const std::string& words) { return o << Html{words, true}; }

// That a tool read short may take the key too: the words, "#" the tool.
PageText& may_also(PageText& o, const CardKey& k, const PageWords& w) {
  for (const std::string& tool : k.may_also) {
    std::size_t mark = w.may_also.find('#');
    own(o, w.may_also.substr(0, mark)) << Html{tool};
    if (mark != std::string::npos) own(o, w.may_also.substr(mark + 1));
  }
  return o;
}

// A key's name, narrowed where it is too wide: on a desktop (--squeeze), on
// a phone's map (--ps) unless a short form stands for it there; then that
// short form.
void key_names(PageText& o, const CardKey& k) {
  o << "<span class=\"key-name" << (k.phone.text.empty() ? "" : " has-short") << "\"";
  bool squeezed = k.fit.name_scale < 1, phone_squeezed = k.phone.scale < 1 && k.phone.text.empty();
  if (squeezed || phone_squeezed) {
    o << " style=\"";
    if (squeezed) o << "--squeeze:" << Units{k.fit.name_scale} << (phone_squeezed ? ";" : "");
    if (phone_squeezed) o << "--ps:" << Units{k.phone.scale};
    o << "\"";
  }
  o << ">" << Html{k.name} << "</span>";
  if (k.phone.text.empty()) return;
  // A key the layout gives no name shows it on every screen.
  o << "<span class=\"key-short" << (k.name.empty() ? " always" : "") << "\"";
  if (k.phone.scale < 1) o << " style=\"--ps:" << Units{k.phone.scale} << "\"";
  o << ">";
  // UTF-8 as it stands, but the signs that markup reads.
  for (char c : k.phone.text) {
    o << (c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string_view(&c, 1));
  }
  o << "</span>";
}

// One key of the drawing: its state, what a screen reader says of it, what
// it can't show in its title, its names, its lines and its mark "+N".
void key_element(PageText& o, const CardKey& k, const PageWords& w) {
  const char* state = state_name(k.state);
  if (k.enter_top) {
    o << "<div class=\"enter-top " << state << "\" aria-hidden=\"true\"";
    geometry(o, *k.enter_top) << "\"></div>\n";
  }
  std::size_t hidden = k.fit.hidden();
  o << "<div class=\"key " << state << "\" data-key=\"" << k.place.code << "\"";
  if (k.conflict) o << " data-conflict";
  o << " role=\"img\" aria-label=\"";
  for (const TextRun& run : k.label) o << Html{run.text, run.own};
  o << "\"";
  if (hidden > 0 || !k.may_also.empty()) {
    std::string all;
    for (const std::string& line : k.lines) all += (all.empty() ? "" : ", ") + line;
    o << " title=\"" << Html{all};
    if (!k.may_also.empty()) may_also(o << " (", k, w) << ")";
    o << "\"";
  }
  geometry(o, k.place) << ";--s:" << Units{k.fit.size} << "\">";
  key_names(o, k);
  for (std::size_t i = 0; i < k.lines.size(); ++i) {
    o << "<span class=\"" << (i < k.commands ? "command" : "tool-name")
      << (k.fit.shown[i] ? "" : " beyond") << "\">" << Html{k.lines[i]} << "</span>";
  }
  if (hidden > 0) o << "<span class=\"more\">+" << static_cast<std::int32_t>(hidden) << "</span>";
  o << "</div>\n";
}

// Each key bound or taken, in the keyboard's order, with what it does.
void key_lines(PageText& o, const VersionCard& v, const PageWords& w) {
  o << "<h3 class=\"phone-only\">";
  own(o, w.key_lines) << "</h3>\n<ul class=\"key-lines phone-only\">\n";
  for (const CardKey& k : v.keys) {
    if (k.lines.empty()) continue;
    o << "<li class=\"row\" id=\"" << key_line_id(v.version, k.place.code) << "\"";
    if (k.conflict) o << " data-conflict";
    o << "><b class=\"key-line-name\">" << Html{k.name} << "</b>";
    own(o, w.name_sep);
    for (std::size_t i = 0; i < k.lines.size(); ++i) {
      if (i == k.commands) {
        own(o, (i > 0 ? ", " : "") + w.taken_by) << " ";
      } else if (i > k.commands) {
        o << ", ";
      }
      o << (i < k.commands ? "<span class=\"command\">" : "<span class=\"tool-name\">")
        << Html{k.lines[i]} << "</span>";
    }
    if (k.conflict) own(o << " (", w.legend_conflict) << ")";
    if (!k.may_also.empty()) may_also(o << " <span class=\"may-also\">", k, w) << "</span>";
    o << "</li>\n";
  }
  o << "</ul>\n";
}

}  // namespace

void write_keyboard(PageText& o, const VersionCard& v, KeyboardKind kind, const PageWords& w) {
  // A region of keys under its heading, that the keyboard reaches.
  const std::string& name = kind == KeyboardKind::iso     ? w.keyboard_iso
                            : kind == KeyboardKind::abnt2 ? w.keyboard_abnt2
                                                          : w.keyboard_ansi;
  o << "<h3 class=\"keyboard-title\">";
  own(o, name) << "</h3>\n<div class=\"keyboard-frame\" tabindex=\"0\" role=\"region\" "
               << "aria-label=\"";
  own(o, name) << ", ";
  own(o, w.version) << " " << v.version
                    << "\"><div class=\"keyboard\" style=\"--keyboard-w:" << Units{keyboard_width}
                    << ";--keyboard-h:" << Units{keyboard_height}
                    << ";--stacked-w:" << Units{stacked_width}
                    << ";--stacked-h:" << Units{stacked_height} << ";--key-gap:" << Units{key_gap}
                    << ";--key-pad:" << Units{key_padding}
                    << ";--key-line:" << Units{key_line_height}
                    << ";--name-max:" << Units{key_name_largest}
                    << ";--name-ratio:" << Units{key_name_ratio}
                    << ";--phone-name:" << Units{phone_name_size} << "\">\n";
  for (const CardKey& k : v.keys) key_element(o, k, w);
  o << "</div></div>\n<p class=\"scroll-hint screen-only\" hidden>";
  own(o, w.scroll_hint) << "</p>\n";
  key_lines(o, v, w);
}
