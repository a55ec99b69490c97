// The rows of a version's block: what binds each command, read once into a
// plain model of bindings, sorted by command, and rendered as the text and
// CSV rows of the report (and as the page, report/html_page.h).
#ifndef MALVET_REPORT_ROWS_H
#define MALVET_REPORT_ROWS_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/report_files.h"

// The texts of the report in the run's language.
struct ReportTexts {
  bool qfr = false;
  std::string kbdnam, txtaxe, txtbut, nokey, nokbk, unass, umsg;
};

ReportTexts report_texts(bool qfr);

// The joystick whose axes 6 and 8 are a slider and a hat switch.
inline constexpr std::string_view sidewinder_ff2 = "SideWinder Force Feedback 2 Joystick";

// The axis as the report names it: "X Axis" ("Axe X"), "4 Axis", and the
// slider and hat switch of the SideWinder Force Feedback 2.
std::string axis_text(std::int32_t axis, std::string_view joystick_name, const ReportTexts& texts);

enum class BindingKind {
  key,               // a keyboard-section value found in the scan-code table
  unrecognised_key,  // a keyboard-section value that the table lacks
  button,            // a button of an attached joystick
  axis,              // an axis of an attached joystick
  not_attached,      // a command bound on a device that is not attached
  unbound,           // a command that nothing binds
};

// One row of a version's block.
struct Binding {
  std::int32_t position = 0;  // the command's position in its table, from 0
  std::string command;        // the command's name
  BindingKind kind = BindingKind::unbound;
  // Key and unrecognised key: the controls.ini value (the scan code, 128
  // added for an extended key); button and axis: the index, from 0; not
  // attached: the value as written, 0 when it does not read.
  std::int32_t code = 0;
  std::string key_name;       // key: its name as the report gives it
  std::int32_t joystick = 0;  // button and axis: the joystick's number, from 1
  std::string device;         // button and axis: the joystick's name; not attached: the
                              // section's header
};

// Sorts the first `n` keys of `list` (ascending when `qasc`), moving each
// item of `clist` with its key. Stable: equal keys keep their order.
template <typename T>
void my_sort_i_c(std::size_t n, std::vector<std::int32_t>& list, std::vector<T>& clist, bool qasc) {
  if (n > list.size()) n = list.size();
  if (n > clist.size()) n = clist.size();
  for (std::size_t m = n; m > 1; --m) {
    bool exchanged = false;
    for (std::size_t i = 1; i < m; ++i) {
      bool out_of_order = qasc ? list[i] < list[i - 1] : list[i] > list[i - 1];
      if (out_of_order) {
        std::swap(list[i], list[i - 1]);
        std::swap(clist[i], clist[i - 1]);
        exchanged = true;
      }
    }
    if (!exchanged) break;
  }
}

// Orders the bindings by command position, those of one command in the
// order they were read.
void sort_bindings(std::vector<Binding>& bindings);

// The text of a binding's second field: the key's name, "Button 3", the
// axis, "Not assigned to a keyboard key" (its full 64 characters) or
// "Unassigned".
std::string binding_text(const Binding& binding, const ReportTexts& texts);

// The rows of one version: text and CSV rows, in the bindings' order.
struct VersionRows {
  std::vector<std::string> line_out, line_csv;
  std::size_t size() const { return line_out.size(); }
};

VersionRows render_rows(const std::vector<Binding>& bindings, const Layout& layout,
                        const ReportTexts& texts);

#endif
