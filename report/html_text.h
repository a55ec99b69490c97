// The page's text as the browser reads it: UTF-8, its lines ended by CR LF,
// the model's texts (single bytes of the machine's code page, or the
// program's own words in Windows-1252) escaped so that no text of a pilot's
// file can change the markup or end the JSON island that holds them.
#ifndef MALVET_REPORT_HTML_TEXT_H
#define MALVET_REPORT_HTML_TEXT_H

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// Appends `text` as HTML text, in UTF-8: "&", "<", ">" and '"' as
// references, the NUL and the other control characters as blanks. The text
// is of the machine's code page, or with `own` the program's own words
// (Windows-1252).
void append_html(std::string& out, std::string_view text, bool own = false);

// Appends `text` as the inside of a JSON string that a <script> element
// holds, in UTF-8: '"' and "\" escaped, the control characters and "<", ">"
// and "&" as \u00XX, so that "</script>" never ends the element. `own` as
// for append_html.
void append_json(std::string& out, std::string_view text, bool own = false);

// What the page is written with: markup as it stands, texts escaped (the
// machine's, or with `own` the program's own words), lengths in key units.
struct Html {
  std::string_view text;
  bool own = false;
};
struct Json {  // a JSON string, its quotes included
  std::string_view text;
  bool own = false;
};
struct Units {  // a length in key units: at most three decimals, no trailing zero
  double value;
};

// The page being written: markup appended as it stands (each line feed
// written CR LF, as every file the programs write), numbers in decimal.
class PageText {
 public:
  // Inline, so that a literal without a line feed (most of the markup) is
  // known to have none where it is written.
  PageText& operator<<(std::string_view s) {
    if (std::memchr(s.data(), '\n', s.size()) == nullptr) {
      text.append(s.data(), s.size());
      return *this;
    }
    return with_line_ends(s);
  }
  PageText& operator<<(const char* s) { return *this << std::string_view(s); }
  PageText& operator<<(const std::string& s) { return *this << std::string_view(s); }
  PageText& operator<<(std::int32_t n);
  PageText& operator<<(Html h);
  PageText& operator<<(Json j);
  PageText& operator<<(Units u);

  std::string text;

 private:
  PageText& with_line_ends(std::string_view s);
};

#endif
