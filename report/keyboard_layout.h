// Where each key of a PC keyboard lies, keyed by the value controls.ini
// gives it: the key's scan code, 128 added for an extended key (E0 prefix).
// Places are in key units (the width of a letter key) from the top left of
// the function row: the main block, the function row, the navigation block
// with the arrows, and the numeric pad, as on a full-size keyboard.
#ifndef MALVET_REPORT_KEYBOARD_LAYOUT_H
#define MALVET_REPORT_KEYBOARD_LAYOUT_H

#include <cstdint>
#include <vector>

struct KeyPlace {
  std::int32_t code;  // the controls.ini value
  double x, y;        // top left corner, in key units
  double w, h;        // width and height, in key units
};

enum class KeyboardKind {
  ansi,  // the US keyboard: one-row Enter, a long left Shift
  iso,   // the European keyboard: a tall Enter, an extra key beside left Shift
};

// Every key of the keyboard once, row by row, left to right.
const std::vector<KeyPlace>& keyboard_places(KeyboardKind kind);

// The width and height of the whole drawing, in key units.
inline constexpr double keyboard_width = 22.5;
inline constexpr double keyboard_height = 6.25;

#endif
