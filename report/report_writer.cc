#include "report/report_writer.h"

#include <cstdio>

#include "report/analysis.h"
#include "shared/platform.h"
#include "shared/text.h"

namespace {

constexpr std::int32_t layout_lmax_limit = 64;

// Sets `field` into `row` from the 1-based `column` on, over what is there.
void place(std::string& row, std::size_t column, std::string_view field) {
  std::size_t at = column - 1;
  if (row.size() < at + field.size()) row.resize(at + field.size(), ' ');
  row.replace(at, field.size(), field);
}

// The column of a field that follows a text ending in column `text_end`:
// `column`, or one blank after the text when the text reaches it, so that
// no field covers the end of the one before.
std::size_t column_after(std::size_t text_end, std::size_t column) {
  return text_end + 1 >= column ? text_end + 2 : column;
}

std::size_t second_column(const Layout& layout) {
  std::int32_t lmax = layout.lmax < layout_lmax_limit ? layout.lmax : layout_lmax_limit;
  return static_cast<std::size_t>(lmax < 0 ? 0 : lmax) + 5;
}

}  // namespace

Layout make_layout(std::int32_t lmax, char language_separator, std::optional<char> sep) {
  Layout layout;
  layout.lmax = lmax;
  layout.sep = sep.value_or(language_separator);
  std::size_t c2 = second_column(layout);
  char fmt[32];
  std::snprintf(fmt, sizeof fmt, "(A,T%2zu,A,T%2zu,A)", c2, c2 + 30);
  layout.fmtstr = fmt;
  std::string cell_end(1, layout.sep);
  layout.csvstr = "(3('\"',A,'\"" + cell_end + "'))";
  layout.csvnum =
      "('\"',A,'\"" + cell_end + "','=\"',A,'\"" + cell_end + "','\"',A,'\"" + cell_end + "')";
  return layout;
}

std::string text_row(const Layout&, std::string_view f1) { return cut(f1, row_capacity); }

std::string text_row(const Layout& layout, std::string_view f1, std::string_view f2) {
  std::string row(f1);
  place(row, second_column(layout), f2);
  return cut(row, row_capacity);
}

std::string text_row(const Layout& layout, std::string_view f1, std::string_view f2,
                     std::string_view f3) {
  std::string row(f1);
  std::size_t c2 = second_column(layout);
  place(row, c2, f2);
  std::size_t f2_length = trim(f2).size();
  place(row, f2_length == 0 ? c2 + 30 : column_after(c2 - 1 + f2_length, c2 + 30), f3);
  return cut(row, row_capacity);
}

std::string key_log_row(const Layout& layout, std::string_view table_name,
                        std::string_view display) {
  std::string row(table_name);
  place(row, column_after(trim(table_name).size(), second_column(layout)), display);
  return row;
}

std::string csv_row(const Layout& layout, std::string_view f1, std::string_view f2,
                    std::string_view f3, bool as_text) {
  // A row keeps every cell's quotes and separators: a quote left open would
  // make a spreadsheet run the following lines into one cell. The texts are
  // cut, each taking what the ones before it left.
  const std::string_view texts[] = {f1, f2, f3};
  std::size_t room = row_capacity - 3 * std::string_view("\"\",").size() - (as_text ? 1 : 0);
  std::string row;
  for (std::size_t i = 0; i < 3; ++i) {
    std::string_view text = texts[i].substr(0, room);
    room -= text.size();
    row += (i == 1 && as_text) ? "=\"" : "\"";
    row += text;
    row += '"';
    row += layout.sep;
  }
  return cut(row, row_capacity);
}

bool looks_numeric(std::string_view text) {
  return !text.empty() && (text[0] == '+' || text[0] == '-' || (text[0] >= '0' && text[0] <= '9'));
}

ReportFiles::Closed ReportFiles::close() {
  bool text_ok = text_.close();
  bool csv_ok = csv_.close();
  return {text_ok, csv_ok};
}

void ReportFiles::write_encoded(LineWriter& out, std::string_view line, bool& first) const {
  if (!utf8_) {
    out.write_line(line);
    return;
  }
  std::string bytes = first ? "\xEF\xBB\xBF" : "";
  first = false;
  out.write_line(bytes + utf16_to_utf8(ansi_to_utf16(line)));
}

void ReportFiles::write(std::string_view text_line, std::string_view csv_line) {
  write_encoded(text_, trimmed(text_line), text_first_);
  write_encoded(csv_, trimmed(csv_line), csv_first_);
}

void ReportFiles::write_blank() {
  write_encoded(text_, " ", text_first_);
  write_encoded(csv_, " ", csv_first_);
}

void ReportFiles::write_row(std::string_view f1, std::string_view f2, std::string_view f3) {
  write(text_row(layout_, f1, f2, f3), csv_row(layout_, f1, f2, f3, looks_numeric(f2)));
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

namespace {

// A line of its own: as it stands in the text report, one cell in the CSV
// report.
void write_line_cell(ReportFiles& report, const std::string& line) {
  report.write(line, csv_row(report.layout(), line, "", ""));
}

// A version's heading: its file, then the heading row.
void write_version_heading(ReportFiles& report, const VersionModel& v, const ReportTexts& texts) {
  report.write_blank();
  report.write(v.ctrfile, csv_row(report.layout(), v.ctrfile, "", ""));
  report.write_blank();
  report.write_row(texts.heading[0], texts.heading[1], texts.heading[2]);
  report.write_blank();
}

// The commands of both versions whose last bindings differ.
void write_differences(ReportFiles& report, const ReportModel& model, const ReportTexts& texts) {
  // The spreadsheet's cells of these lines are closed by ";" whatever the
  // language, as the report always wrote them.
  report.write_blank();
  report.write(texts.differences, "\"" + texts.differences + "\";;");
  report.write_blank();
  for (const Difference& d : model.differences) {
    report.write(text_row(report.layout(), d.command),
                 csv_row(report.layout(), d.command, " ", " "));
  }
  if (model.differences.empty()) report.write(texts.none, "\"" + texts.none + "\";;");
}

// The key lines of a sibling tool's settings.
void write_tool(ReportFiles& report, const ToolKeys& tool, const ReportTexts& texts) {
  report.write_blank();
  report.write_both(tool.path);
  report.write_blank();
  for (const TakenKey& k : tool.keys) report.write_row(k.setting, k.text, trim(texts.kbdnam));
  if (!tool.whole) write_line_cell(report, tool.path + texts.unread_tool);
}

// The keys of the table, then each joystick's axes and buttons, that nothing
// uses.
void write_unused(ReportFiles& report, const ReportModel& model, const ReportTexts& texts) {
  std::string umsg = trim(texts.umsg);
  // The heading names the tools read to their end; the keys of one read
  // short are left out of the list all the same, as far as it was read.
  for (const ToolKeys& t : model.tools) {
    if (t.whole) umsg = trim(umsg) + ", " + t.tool;
  }
  report.write_empty();
  report.write_both(umsg);
  report.write_empty();
  std::string kbdnam = trim(texts.kbdnam);
  for (const UnusedKey& key : model.unused_keys) {
    report.write(text_row(report.layout(), " ", key.name, kbdnam),
                 csv_row(report.layout(), " ", key.name, kbdnam, looks_numeric(key.name)));
  }
  for (std::size_t k = 0; k < model.joysticks.size() && k < model.free_controls.size(); ++k) {
    std::string name = trim(model.joysticks[k].name);
    report.write_blank();
    for (std::int32_t a : model.free_controls[k].axes) {
      std::string axis = axis_text(a, name, texts.input);
      report.write(text_row(report.layout(), " ", axis, name),
                   csv_row(report.layout(), " ", axis, name));
    }
    for (std::int32_t b : model.free_controls[k].buttons) {
      std::string button = button_text(b, texts.input);
      report.write(text_row(report.layout(), " ", button, name),
                   csv_row(report.layout(), " ", button, name));
    }
  }
}

}  // namespace

void write_reports(ReportFiles& report, const ReportModel& model, const ReportTexts& texts) {
  for (std::int32_t version : model.running) {
    write_line_cell(report, simulator_running_words(texts, version));
  }
  for (const auto& [version, log] : model.unreadable_logs) {
    write_line_cell(report, log + unreadable_log_words(texts, version));
  }
  for (const VersionModel& v : model.versions) {
    if (v.outcome == FileOutcome::not_found) return;
    write_version_heading(report, v, texts);
    if (v.outcome == FileOutcome::unreadable) return;
    VersionRows rows = render_rows(v.bindings, report.layout(), texts);
    for (std::size_t n = 0; n < rows.size(); ++n) report.write(rows.line_out[n], rows.line_csv[n]);
  }
  if (model.compared) write_differences(report, model, texts);
  for (const ToolKeys& tool : model.tools) write_tool(report, tool, texts);
  write_unused(report, model, texts);
}
