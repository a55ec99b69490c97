// How the page fits a key's text into the key: its name, then the commands
// and sibling tools on it, in the largest size that lets them all fit, lines
// broken only between words. At the smallest size that still reads (5 pt in
// print, 7 px and more on a screen 1280 px wide) a key shows what fits and
// leaves the rest to a mark "+N", never a tool's name in place of a
// command.
//
// Sizes are in key units (a letter key's width), widths in ems of the keys'
// font, Arial (or a font of its measure: Liberation Sans, Helvetica), taken
// a little wide so that the browser never needs more.
#ifndef MALVET_REPORT_KEY_TEXT_FIT_H
#define MALVET_REPORT_KEY_TEXT_FIT_H

#include <string>
#include <string_view>
#include <vector>

#include "report/keyboard_layout.h"

// The sizes the commands' text may take, largest first; the last is the
// smallest that reads.
inline constexpr double key_text_sizes[] = {0.2, 0.18, 0.165, 0.153};
inline constexpr double smallest_key_text = 0.153;

// The key's name is set bold, a tenth larger than its commands, 0.2 at most.
inline constexpr double key_name_ratio = 1.1;
inline constexpr double key_name_largest = 0.2;
double key_name_size(double size);

// What the page sets around a key's text, in key units: the gap between
// keys and the key's padding; and its lines' height, in ems. They reach the
// page's style as custom properties.
inline constexpr double key_gap = 0.06;
inline constexpr double key_padding = 0.04;
inline constexpr double key_line_height = 1.2;

// The width of `text` in ems, bold or not.
double text_width(std::string_view text, bool bold);

// The lines that `text` takes when broken between words only, `per_line`
// ems a line; 0 when a word is wider than a line.
int word_lines(std::string_view text, double per_line, bool bold = false);

// What a key shows.
struct KeyText {
  double size = key_text_sizes[0];  // of its commands' text
  // Of each line given, whether the key shows it; a line not shown is counted
  // in the mark "+N".
  std::vector<bool> shown;
  // The name's horizontal scale, 1 unless a word of it is wider than the key
  // at the smallest size: it is then set narrower, never broken.
  double name_scale = 1;
  std::size_t hidden() const;
};

// `lines` holds the key's commands, then (from `commands` on) the tools
// that take it: a tool's line shows only when every command's does.
KeyText fit_key_text(const KeyPlace& place, std::string_view name,
                     const std::vector<std::string>& lines, std::size_t commands);

// On a phone the keyboard is a map of names alone, each in this size (key
// units), on one line: a name too wide for its key there is told by a short
// form ("PgUp", "Bild\u2191", an arrow), narrowed if it is still too wide.
inline constexpr double phone_name_size = 0.32;
struct PhoneName {
  std::string text;  // UTF-8, as the page writes it; empty: the key's own name
  double scale = 1;  // its narrowing, 1 when it fits
};
// `language` is the page's: "en", "fr", "de".
PhoneName phone_name(const KeyPlace& place, std::string_view name, std::string_view language);

#endif
