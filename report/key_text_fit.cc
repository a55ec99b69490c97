#include "report/key_text_fit.h"

#include <algorithm>

int wrapped_lines(std::string_view text, int per_line) {
  if (per_line < 1) per_line = 1;
  int lines = 1, used = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    int word = static_cast<int>(end - start);
    if (used > 0 && used + 1 + word > per_line) {
      ++lines;
      used = 0;
    }
    if (used > 0) ++used;
    used += word;
    while (used > per_line) {
      ++lines;
      used -= per_line;
    }
    start = end + 1;
  }
  return lines;
}

double fitting_size(const KeyPlace& place, std::string_view name,
                    const std::vector<std::string>& lines) {
  // Widths of a character, of the font size: generous, bold ones more so;
  // and the room a line takes, rounded up at small sizes.
  constexpr double char_width = 0.62, bold_width = 0.7, line_height = 1.25;
  const double width = place.w - 0.3, height = place.h - 0.3;
  auto per_line = [&](double size, double w) { return static_cast<int>(width / (w * size)); };
  for (double size : {0.16, 0.14, 0.125, 0.11, 0.1, 0.09, 0.08}) {
    double name_size = std::min(0.2, size * 1.25);
    double used = name.empty() ? 0
                               : wrapped_lines(name, per_line(name_size, bold_width)) *
                                     line_height * name_size;
    for (const std::string& line : lines) {
      used += wrapped_lines(line, per_line(size, char_width)) * line_height * size;
    }
    if (used <= height) return size;
  }
  return 0.07;
}
