#include "report/page_data.h"

#include <vector>

#include "report/analysis.h"
#include "report/card.h"
#include "shared/text.h"

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

namespace {

// Writes the items of `list`, comma-separated, each with `each`.
template <typename T, typename F>
void array(PageText& o, const std::vector<T>& list, F each) {
  o << "[";
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i > 0) o << ",";
    each(list[i]);
  }
  o << "]";
}

void strings(PageText& o, const std::vector<std::string>& list) {
  array(o, list, [&](const std::string& s) { o << Json{s}; });
}

// A text of the program's words and the machine's, as one JSON string.
void mixed(PageText& o, const MixedText& text) {
  o << "\"";
  for (const TextRun& run : text) append_json(o.text, run.text, run.own);
  o << "\"";
}

void version_data(PageText& o, const VersionModel& v, const ReportTexts& texts) {
  o << "{\"version\":" << v.version << ",\"file\":" << Json{v.ctrfile} << ",\"sections\":";
  array(o, v.devices.sections, [&](const Section& s) {
    o << "{\"header\":" << Json{s.header} << ",\"joystick\":" << s.joystick
      << ",\"keyboard\":" << (s.kind == SectionKind::keyboard ? "true" : "false") << "}";
  });
  o << ",\"bindings\":";
  array(o, v.bindings, [&](const Binding& b) {
    o << "{\"position\":" << b.position << ",\"command\":" << Json{b.command} << ",\"kind\":\""
      << kind_name(b.kind) << "\",\"code\":" << b.code << ",\"joystick\":" << b.joystick
      << ",\"device\":" << Json{b.device}
      << ",\"text\":" << Json{trim(binding_text(b, texts)), binding_text_is_own(b.kind)} << "}";
  });
  o << ",\"conflicts\":";
  array(o, v.conflicts, [&](const Conflict& c) {
    o << "{\"on\":\"" << kind_name(c.on) << "\",\"code\":" << c.code
      << ",\"joystick\":" << c.joystick << ",\"place\":" << Json{c.place} << ",\"commands\":";
    strings(o, c.commands);
    o << ",\"tools\":";
    strings(o, c.tools);
    o << "}";
  });
  o << "}";
}

// The sibling tools, each read whole or not, and each key they take.
void sibling_data(PageText& o, const ReportModel& model) {
  o << ",\"siblingTools\":";
  array(o, model.tools, [&](const ToolKeys& t) {
    o << "{\"tool\":" << Json{t.tool} << ",\"file\":" << Json{t.path}
      << ",\"readToItsEnd\":" << (t.whole ? "true" : "false") << "}";
  });
  o << ",\"siblingKeys\":[";
  bool first = true;
  for (const ToolKeys& t : model.tools) {
    for (const TakenKey& k : t.keys) {
      o << (first ? "" : ",") << "{\"tool\":" << Json{t.tool} << ",\"setting\":" << Json{k.setting}
        << ",\"key\":" << Json{k.text} << ",\"code\":" << k.code << "}";
      first = false;
    }
  }
  o << "]";
}

// The differences between the versions; null when they were not compared.
void differences_data(PageText& o, const Card& card) {
  o << ",\"differences\":";
  if (!card.compared) {
    o << "null";
    return;
  }
  array(o, card.differences, [&](const CardDifference& d) {
    o << "{\"command\":" << Json{d.command} << ",\"version2\":";
    mixed(o, d.version2);
    o << ",\"version3\":";
    mixed(o, d.version3);
    o << "}";
  });
}

}  // namespace

void write_page_data(PageText& o, const ReportModel& model, const Card& card,
                     const ReportTexts& texts) {
  o << "<script type=\"application/json\" id=\"controls-data\">{\"generator\":\"Tavlet\","
    << "\"language\":\"" << texts.page.lang << "\",\"keyboard\":\""
    << (model.keyboard == KeyboardKind::iso     ? "iso"
        : model.keyboard == KeyboardKind::abnt2 ? "abnt2"
                                                : "ansi")
    << "\",\"keys\":";
  array(o, model.key_names, [&](const std::pair<std::int32_t, std::string>& k) {
    o << "{\"code\":" << k.first << ",\"name\":" << Json{k.second} << "}";
  });
  o << ",\"joysticks\":";
  std::int32_t number = 0;
  array(o, model.joysticks, [&](const Joystick& joy) {
    o << "{\"number\":" << ++number << ",\"name\":" << Json{trim(joy.name)}
      << ",\"header\":" << Json{trim(joy.guid)} << ",\"axes\":" << joy.axes
      << ",\"buttons\":" << joy.buttons << "}";
  });
  sibling_data(o, model);
  o << ",\"formerNames\":";
  array(o, model.former_names, [&](const std::pair<std::string, std::string>& n) {
    o << "{\"command\":" << Json{n.first} << ",\"version2\":" << Json{n.second} << "}";
  });
  o << ",\"versions\":";
  array(o, model.versions, [&](const VersionModel& v) { version_data(o, v, texts); });
  differences_data(o, card);
  o << "}</script>\n";
}
