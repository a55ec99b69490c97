// Where each key of a PC keyboard lies, keyed by the value controls.ini
// gives it: the key's scan code, 128 added for an extended key (E0 prefix).
// Places are in key units (the width of a letter key) from the top left of
// the function row: the main block, the function row, the navigation block
// with the arrows, and the numeric pad, as on a full-size keyboard.
#ifndef MALVET_REPORT_KEYBOARD_LAYOUT_H
#define MALVET_REPORT_KEYBOARD_LAYOUT_H

#include <cstdint>
#include <optional>
#include <vector>

#include "report/bindings.h"
#include "shared/words.h"

struct KeyPlace {
  std::int32_t code;  // the controls.ini value
  double x, y;        // top left corner, in key units
  double w, h;        // width and height, in key units
};

// The keyboard's shape for a keyboard layout, by the layout's language
// identifier (0x0407 German: ISO; 0x0409 US English: ANSI). The layouts
// made for ISO keyboards (a tall Enter, a short left Shift and the extra key
// beside it, scan code 86) are ISO, every other is ANSI.
KeyboardKind keyboard_of_layout(std::uint16_t language);

// The keyboard a run is made for, chosen on its own: the drawing's shape by
// the layout the pilot types with; the scan-code table, and whether the top
// row's keys 2..10 are named by their digits (the French AZERTY keys, whose
// names are not their digits), by the reports' language, as the reports
// have always been made.
struct KeyboardChoice {
  KeyboardKind drawing = KeyboardKind::ansi;
  const char* scan_table = "SCN_QWERTY.txt";
  bool digits_named = false;
};
KeyboardChoice choose_keyboard(std::uint16_t layout, Language language);

// Every key of the keyboard once, row by row, left to right.
const std::vector<KeyPlace>& keyboard_places(KeyboardKind kind);

// The width and height of the whole drawing, in key units.
inline constexpr double keyboard_width = 22.5;
inline constexpr double keyboard_height = 6.25;

// On a screen narrower than a desktop's the keyboard is drawn stacked: the
// navigation block and the numeric pad below the main block, as they stand
// beside each other. Its width and height then, in key units; and where a
// key of those blocks lies (nothing for a key of the main block, which
// stays where it is).
inline constexpr double stacked_width = 15;
inline constexpr double stacked_height = 12.75;
std::optional<KeyPlace> stacked_place(const KeyPlace& place);

// The left edge of the numeric pad, in key units.
inline constexpr double numeric_pad = 18.5;

// The Enter key's code.
inline constexpr std::int32_t enter_key = 28;

// The ISO keyboard's tall Enter (enter_key) is drawn as its place, the lower
// and narrower part, with its wider top beside it: this place, left of the
// tall part on the Enter's first row.
KeyPlace iso_enter_top(const KeyPlace& enter);

#endif
