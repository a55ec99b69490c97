#include "report/report_files.h"

#include <cstdio>

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

Layout make_layout(std::int32_t lmax, bool qfr, std::optional<char> sep) {
  Layout layout;
  layout.lmax = lmax;
  layout.qfr = qfr;
  layout.sep = sep.value_or(qfr ? ';' : ',');
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
  char sep = layout.sep;
  std::string row = "\"" + std::string(f1) + "\"" + sep;
  row += (as_text ? "=\"" : "\"") + std::string(f2) + "\"" + sep;
  row += "\"" + std::string(f3) + "\"" + sep;
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

void ReportFiles::write(std::string_view text_line, std::string_view csv_line) {
  text_.write_line(trim(text_line));
  csv_.write_line(trim(csv_line));
}

void ReportFiles::write_blank() {
  text_.write_line(" ");
  csv_.write_line(" ");
}

void ReportFiles::write_row(std::string_view f1, std::string_view f2, std::string_view f3) {
  write(text_row(layout_, f1, f2, f3), csv_row(layout_, f1, f2, f3, looks_numeric(f2)));
}
