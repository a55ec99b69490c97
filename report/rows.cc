#include "report/rows.h"

#include "shared/text.h"

namespace {

constexpr std::size_t nokbk_width = 64;

}  // namespace

ReportTexts report_texts(bool qfr) {
  ReportTexts t;
  t.qfr = qfr;
  if (qfr) {
    t.kbdnam = "Clavier";
    t.txtaxe = "Axe";
    t.txtbut = "Bouton";
    t.nokey = "Touche non reconnue";
    t.nokbk =
        "Pas assign\xE9"
        "e \xE0 une touche du clavier";
    t.unass =
        "Non assign\xE9"
        "e";
    t.umsg = "Touches, axes & boutons non utilis\xE9s dans Aerlon";
  } else {
    t.kbdnam = "Keyboard";
    t.txtaxe = "Axis";
    t.txtbut = "Button";
    t.nokey = "Unrecognized key";
    t.nokbk = "Not assigned to a keyboard key";
    t.unass = "Unassigned";
    t.umsg = "Keys, axes and buttons not used in Aerlon";
  }
  return t;
}

std::string axis_text(std::int32_t axis, std::string_view joystick_name, const ReportTexts& texts) {
  if (joystick_name == sidewinder_ff2) {
    if (axis == 6) return texts.qfr ? "Curseur" : "Cursor";
    if (axis == 8) return texts.qfr ? "Commande de pouce" : "Hat switch";
  }
  static const char* const letters[] = {"X", "Y", "Z"};
  std::string name = axis >= 0 && axis < 3 ? letters[axis] : i2b(axis);
  return texts.qfr ? trim(texts.txtaxe) + " " + name : name + " " + trim(texts.txtaxe);
}

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

std::string binding_text(const Binding& binding, const ReportTexts& texts) {
  switch (binding.kind) {
    case BindingKind::key:
      return binding.key_name;
    case BindingKind::unrecognised_key:
      return trim(texts.nokey);
    case BindingKind::button:
      return trim(texts.txtbut) + " " + i2b(binding.code);
    case BindingKind::axis:
      return axis_text(binding.code, binding.device, texts);
    case BindingKind::not_attached:
      return pad(texts.nokbk, nokbk_width);
    case BindingKind::unbound:
      break;
  }
  return trim(texts.unass);
}

VersionRows render_rows(const std::vector<Binding>& bindings, const Layout& layout,
                        const ReportTexts& texts) {
  VersionRows rows;
  for (const Binding& b : bindings) {
    std::string text = binding_text(b, texts);
    switch (b.kind) {
      case BindingKind::key:
        rows.line_out.push_back(text_row(layout, b.command, text, trim(texts.kbdnam)));
        rows.line_csv.push_back(
            csv_row(layout, b.command, text, trim(texts.kbdnam), looks_numeric(text)));
        break;
      case BindingKind::button:
      case BindingKind::axis:
        rows.line_out.push_back(text_row(layout, b.command, text, b.device));
        rows.line_csv.push_back(csv_row(layout, b.command, text, b.device));
        break;
      default:
        // No device: none in the text row, one blank in the CSV row.
        rows.line_out.push_back(text_row(layout, b.command, text));
        rows.line_csv.push_back(csv_row(layout, b.command, text, " "));
        break;
    }
  }
  return rows;
}
