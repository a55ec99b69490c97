// The two report files, Controls.txt and Controls.csv, and their layout.
//
// Every row has up to three fields: command, binding, device. The text report
// sets them in fixed columns: the first in column 1, the second in column
// lmax + 5, the third in column lmax + 35 (lmax: the longest command name,
// taken as at most 64), each starting at its column whatever the length of
// the one before. The CSV report writes each as a quoted cell followed by the
// separator (the region's, else "," in English and ";" in French), the
// second written ="text" when
// it would otherwise read as a number. Rows are cut at 128 characters (a CSV
// row's cell texts, so that it keeps its quotes) and written without
// trailing blanks, with CR LF line ends.
#ifndef MALVET_REPORT_REPORT_WRITER_H
#define MALVET_REPORT_REPORT_WRITER_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/bindings.h"
#include "report/texts.h"
#include "shared/textfile.h"

inline constexpr std::size_t row_capacity = 128;

// The texts of the layout, as the run shows them on the console.
struct Layout {
  std::int32_t lmax = 0;  // as given, before it is limited for the columns
  char sep = ',';         // the CSV report's separator
  std::string fmtstr;     // "(A,T35,A,T65,A)" for lmax 30
  std::string csvstr;     // (3('"',A,'",'))
  std::string csvnum;     // ('"',A,'",','="',A,'",','"',A,'",')
};

// The layout for the longest command name `lmax`; the CSV report's cells
// are separated by `sep` (the region's list separator, which a spreadsheet
// splits on), else by the language's `language_separator` (";" French and
// German, "," English).
Layout make_layout(std::int32_t lmax, char language_separator,
                   std::optional<char> sep = std::nullopt);

// A text row: up to three fields set in their columns, cut at 128. A second
// field that reaches the third's column (a key text of 30 characters or more)
// keeps its end: the third then starts one blank after it.
std::string text_row(const Layout& layout, std::string_view f1);
std::string text_row(const Layout& layout, std::string_view f1, std::string_view f2);
std::string text_row(const Layout& layout, std::string_view f1, std::string_view f2,
                     std::string_view f3);

// The log line of a key whose table name and display name differ: the
// display name in the second column, or one blank after the table name when
// that reaches the column. Not cut: the log cuts it at 80.
std::string key_log_row(const Layout& layout, std::string_view table_name,
                        std::string_view display);

// A CSV row of three cells, at most 128 characters with all its quotes and
// separators: the cells' texts are cut, the first taking what it needs;
// with `as_text` the second cell is written ="text".
std::string csv_row(const Layout& layout, std::string_view f1, std::string_view f2,
                    std::string_view f3, bool as_text = false);

// True when a cell must be written ="text" so that a spreadsheet keeps it as
// text: it begins with "+", "-" or a digit.
bool looks_numeric(std::string_view text);

class ReportFiles {
 public:
  // Opens the file for writing; an existing one keeps its content until the
  // first line is written to it. False when it can't be opened.
  bool open_text(const std::string& path) { return text_.open_keeping(path); }
  bool open_csv(const std::string& path) { return csv_.open_keeping(path); }
  // Closes both files. False for a file when a line could not be written to
  // it (a full disk, say).
  struct Closed {
    bool text_ok;
    bool csv_ok;
  };
  Closed close();

  void set_layout(const Layout& layout) { layout_ = layout; }

  // Writes both files as UTF-8 with a byte-order mark, each line turned from
  // the machine's code page as it is written (where the system code page is
  // UTF-8, which Notepad and spreadsheets then take a file for).
  void set_utf8(bool utf8) { utf8_ = utf8; }
  const Layout& layout() const { return layout_; }

  // One line to each file, trimmed.
  void write(std::string_view text_line, std::string_view csv_line);

  // The same line to both files.
  void write_both(std::string_view line) { write(line, line); }

  // A line holding one blank, in both files.
  void write_blank();

  // An empty line, in both files.
  void write_empty() { write_both(""); }

  // A three-field row in both files; the CSV row writes its second cell as
  // text when it looks like a number.
  void write_row(std::string_view f1, std::string_view f2, std::string_view f3);

 private:
  // Writes the line as the file takes it: the first one after the
  // byte-order mark.
  void write_encoded(LineWriter& out, std::string_view line, bool& first) const;

  LineWriter text_;
  LineWriter csv_;
  Layout layout_;
  bool utf8_ = false;
  bool text_first_ = true;
  bool csv_first_ = true;
};

// The rows of one version: text and CSV rows, in the bindings' order.
struct VersionRows {
  std::vector<std::string> line_out, line_csv;
  std::size_t size() const { return line_out.size(); }
};

VersionRows render_rows(const std::vector<Binding>& bindings, const Layout& layout,
                        const ReportTexts& texts);

// Writes the model into both report files, as far as the run got: each
// version's block (a version whose controls.ini could not be read gets its
// heading, one that was not found nothing, and the writing ends there);
// then, after every version was read, the differences (when both were), the
// block of each sibling tool whose settings file opened, and the keys, axes
// and buttons that nothing uses, headed by `umsg` with the tools whose
// settings were read to their end.
void write_reports(ReportFiles& report, const ReportModel& model, const ReportTexts& texts);

#endif
