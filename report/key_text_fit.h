// How the page fits a key's text into the key: the largest font size at
// which the key's name and its commands, wrapped, fit its face.
#ifndef MALVET_REPORT_KEY_TEXT_FIT_H
#define MALVET_REPORT_KEY_TEXT_FIT_H

#include <string>
#include <string_view>
#include <vector>

#include "report/keyboard_layout.h"

// The lines that greedy word wrapping makes of `text` with `per_line`
// characters a line (at least one), a word longer than a line broken
// anywhere.
int wrapped_lines(std::string_view text, int per_line);

// The largest of the sizes 0.16, 0.14, 0.125, 0.11, 0.1, 0.09 and 0.08 key
// units at which the key's name (set a quarter larger, 0.2 at most) and its
// lines fit the key, wrapped; 0.07 when none does.
double fitting_size(const KeyPlace& place, std::string_view name,
                    const std::vector<std::string>& lines);

#endif
