#include "report/key_text_fit.h"

#include <algorithm>

namespace {

// The advance widths of Arial (and of the fonts made to its measure:
// Liberation Sans, Helvetica), in thousandths of an em, of the characters
// 32 to 126, regular and bold.
constexpr short regular_widths[95] = {
    278, 278, 355, 556, 556, 889, 667, 191, 333, 333, 389, 584, 278, 333,  278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 278, 278, 584, 584, 584, 556, 1015, 667, 667, 722, 722, 667,
    611, 778, 722, 278, 500, 667, 556, 833, 722, 778, 667, 778, 722, 667,  611, 722, 667, 944, 667,
    667, 611, 278, 278, 278, 469, 556, 333, 556, 556, 500, 556, 556, 278,  556, 556, 222, 222, 500,
    222, 833, 556, 556, 556, 556, 333, 500, 278, 556, 500, 722, 500, 500,  500, 334, 260, 334, 584};
constexpr short bold_widths[95] = {
    278, 333, 474, 556, 556, 889, 722, 238, 333, 333, 389, 584, 278, 333, 278, 278, 556, 556, 556,
    556, 556, 556, 556, 556, 556, 556, 333, 333, 584, 584, 584, 611, 975, 722, 722, 722, 722, 667,
    611, 778, 722, 278, 556, 722, 611, 833, 722, 778, 667, 778, 722, 667, 611, 722, 667, 944, 667,
    667, 611, 333, 278, 333, 584, 556, 333, 556, 611, 556, 611, 556, 333, 611, 611, 278, 278, 556,
    278, 889, 611, 611, 611, 611, 389, 556, 333, 611, 556, 778, 556, 556, 500, 389, 280, 389, 584};
// A letter of the code page's upper half: as wide as the widest of them.
constexpr double upper_half_width = 1.0, upper_half_bold_width = 1.0;
// What the widths are taken to be, for fonts a little wider and rounding.
constexpr double width_margin = 1.03;

// The room for text inside a key, in key units: its face less the gap
// between keys, its padding on both sides and its border (2 px at most of a
// key of 36 px and more).
constexpr double border_room = 0.05;
constexpr double side_room = key_gap + 2 * key_padding + border_room;
constexpr double top_room = side_room;
constexpr double line_height = key_line_height;

}  // namespace

double key_name_size(double size) { return std::min(key_name_largest, size * key_name_ratio); }

double text_width(std::string_view text, bool bold) {
  double thousandths = 0;
  for (char c : text) {
    unsigned char b = static_cast<unsigned char>(c);
    if (b >= 32 && b < 127) {
      thousandths += (bold ? bold_widths : regular_widths)[b - 32];
    } else {
      thousandths += 1000 * (bold ? upper_half_bold_width : upper_half_width);
    }
  }
  return thousandths / 1000 * width_margin;
}

int word_lines(std::string_view text, double per_line, bool bold) {
  const double space = text_width(" ", bold);
  int lines = 0;
  double used = 0;
  for (std::size_t start = 0; start <= text.size();) {
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    if (end > start) {
      double word = text_width(text.substr(start, end - start), bold);
      if (word > per_line) return 0;
      if (lines > 0 && used + space + word <= per_line) {
        used += space + word;
      } else {
        ++lines;
        used = word;
      }
    }
    start = end + 1;
  }
  return std::max(lines, 1);
}

std::size_t KeyText::hidden() const {
  return static_cast<std::size_t>(std::count(shown.begin(), shown.end(), false));
}

namespace {

// The short forms of the keys whose names are long: their symbols where the
// keycaps of every country have them, else the words of the page's
// language as its keycaps print them. UTF-8.
struct ShortForm {
  std::int32_t code;
  const char* en;
  const char* fr;  // nullptr: as in English
  const char* de;
};
constexpr ShortForm short_forms[] = {
    {1, "Esc", nullptr, nullptr},
    {86, "<>", nullptr, nullptr},   // the ISO keyboard's extra key
    {115, "/?", nullptr, nullptr},  // and ABNT2's two more
    {126, ".", nullptr, nullptr},
    {14, "\xE2\x8C\xAB", nullptr, nullptr},   // backspace
    {15, "\xE2\x87\xA5", nullptr, nullptr},   // tab
    {28, "\xE2\x86\xB5", nullptr, nullptr},   // enter
    {156, "\xE2\x86\xB5", nullptr, nullptr},  // the pad's enter
    {58, "\xE2\x87\xAA", nullptr, nullptr},   // caps lock
    {42, "\xE2\x87\xA7", nullptr, nullptr},   // shift
    {54, "\xE2\x87\xA7", nullptr, nullptr},
    {200, "\xE2\x86\x91", nullptr, nullptr},  // the arrows
    {208, "\xE2\x86\x93", nullptr, nullptr},
    {203, "\xE2\x86\x90", nullptr, nullptr},
    {205, "\xE2\x86\x92", nullptr, nullptr},
    {29, "Ctrl", nullptr, "Strg"},
    {157, "Ctrl", nullptr, "Strg"},
    {56, "Alt", nullptr, nullptr},
    {184, "AltGr", nullptr, nullptr},
    {219, "Win", nullptr, nullptr},
    {220, "Win", nullptr, nullptr},
    {221, "Menu", nullptr, nullptr},
    {201, "PgUp", "\xE2\x87\x9E", "Bild\xE2\x86\x91"},
    {209, "PgDn", "\xE2\x87\x9F", "Bild\xE2\x86\x93"},
    {199, "Home", "\xE2\x86\x96", "Pos1"},
    {207, "End", "Fin", "Ende"},
    {210, "Ins", "Inser", "Einfg"},
    {211, "Del", "Suppr", "Entf"},
    {183, "PrtSc", "Impr", "Druck"},
    {70, "ScrLk",
     "D\xC3\xA9"
     "fil",
     "Roll"},
    {69, "Paus", nullptr, nullptr},
    {197, "Num", "VerrN", "Num"},
    // The numeric pad: its keycaps' signs.
    {55, "*", nullptr, nullptr},
    {181, "/", nullptr, nullptr},
    {74, "-", nullptr, nullptr},
    {78, "+", nullptr, nullptr},
    {71, "7", nullptr, nullptr},
    {72, "8", nullptr, nullptr},
    {73, "9", nullptr, nullptr},
    {75, "4", nullptr, nullptr},
    {76, "5", nullptr, nullptr},
    {77, "6", nullptr, nullptr},
    {79, "1", nullptr, nullptr},
    {80, "2", nullptr, nullptr},
    {81, "3", nullptr, nullptr},
    {82, "0", nullptr, nullptr},
    {83, ".", nullptr, nullptr},
};

// The width of a UTF-8 text in ems, bold: a character past ASCII as wide as
// the widest.
double utf8_width(std::string_view text) {
  double thousandths = 0;
  for (char c : text) {
    unsigned char b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      thousandths += b >= 32 && b < 127 ? bold_widths[b - 32] : 1000;
    } else if ((b & 0xC0) != 0x80) {
      thousandths += 1000 * upper_half_bold_width;
    }
  }
  return thousandths / 1000 * width_margin;
}

}  // namespace

PhoneName phone_name(const KeyPlace& place, std::string_view name, std::string_view language) {
  // A phone's key keeps 1 px of padding a side: a tenth of a key is ample.
  const double room = (place.w - key_gap - 0.1) / phone_name_size;
  PhoneName phone;
  double width = text_width(name, true);
  if (width <= room && !name.empty()) return phone;
  for (const ShortForm& s : short_forms) {
    if (s.code != place.code) continue;
    const char* local = language == "fr" ? s.fr : language == "de" ? s.de : nullptr;
    phone.text = local != nullptr ? local : s.en;
    width = utf8_width(phone.text);
    break;
  }
  // A key the layout gives no name: its value, as its label says it.
  if (phone.text.empty() && name.empty()) {
    phone.text = std::to_string(place.code);
    width = utf8_width(phone.text);
  }
  if (width > room) phone.scale = room / width;
  return phone;
}

namespace {

// The scale that narrows the name's widest word to `width` at the smallest
// size; 1 when every word fits.
double narrowed_name(std::string_view name, double width) {
  double scale = 1;
  for (std::size_t start = 0; start < name.size();) {
    std::size_t end = std::min(name.find(' ', start), name.size());
    double word =
        text_width(name.substr(start, end - start), true) * key_name_size(smallest_key_text);
    if (word > width) scale = std::min(scale, width / word);
    start = end + 1;
  }
  return scale;
}

// The height of the name's lines at a size and scale, -1 when a word of it
// is wider than `width`.
double name_height(std::string_view name, double width, double size, double scale) {
  if (name.empty()) return 0.0;
  double name_size = key_name_size(size);
  int n = word_lines(name, width / (name_size * scale), true);
  return n == 0 ? -1.0 : n * line_height * name_size;
}

// The height of every line whole at a size, -1 when a word of one is wider
// than `width`.
double lines_height(const std::vector<std::string>& lines, double width, double size) {
  double used = 0;
  for (const std::string& line : lines) {
    int n = word_lines(line, width / size);
    if (n == 0) return -1.0;
    used += n * line_height * size;
  }
  return used;
}

}  // namespace

KeyText fit_key_text(const KeyPlace& place, std::string_view name,
                     const std::vector<std::string>& lines, std::size_t commands) {
  const double width = place.w - side_room, height = place.h - top_room;
  KeyText text;
  // At the smallest size the name's widest word is narrowed to the key.
  text.name_scale = narrowed_name(name, width);
  for (double size : key_text_sizes) {
    double named = name_height(name, width, size, size == smallest_key_text ? text.name_scale : 1);
    double told = lines_height(lines, width, size);
    if (named >= 0 && told >= 0 && named + told <= height) {
      text.size = size;
      text.shown.assign(lines.size(), true);
      return text;
    }
  }

  // The smallest size: what fits, in order, above a line for the mark.
  const double size = smallest_key_text;
  text.size = size;
  double used = name_height(name, width, size, text.name_scale) + line_height * size;
  bool every_command = true;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    int n = word_lines(lines[i], width / size);
    double needed = n * line_height * size;
    bool fits = n > 0 && used + needed <= height && (i < commands || every_command);
    if (fits) used += needed;
    if (i < commands) every_command = every_command && fits;
    text.shown.push_back(fits);
  }
  return text;
}
