#include "report/keyboard_layout.h"

#include "shared/tables.h"

namespace {

// The rows: the function row, then the five rows of the main block, a
// quarter of a key apart from it.
constexpr double row_f = 0, row_1 = 1.25, row_2 = 2.25, row_3 = 3.25, row_4 = 4.25, row_5 = 5.25;
// The left edges of the navigation block and of the numeric pad.
constexpr double nav = 15.25, pad = numeric_pad;

// A row of keys one unit wide with consecutive codes.
void run_of_keys(std::vector<KeyPlace>& keys, std::int32_t first, std::int32_t last, double x,
                 double y) {
  for (std::int32_t code = first; code <= last; ++code, x += 1) keys.push_back({code, x, y, 1, 1});
}

std::vector<KeyPlace> make_places(KeyboardKind kind) {
  bool iso = kind != KeyboardKind::ansi;
  bool abnt2 = kind == KeyboardKind::abnt2;
  std::vector<KeyPlace> k;
  // Function row: Esc, F1..F12 in groups of four, Print Screen, Scroll Lock
  // and Pause.
  k.push_back({1, 0, row_f, 1, 1});
  run_of_keys(k, 59, 62, 2, row_f);
  run_of_keys(k, 63, 66, 6.5, row_f);
  run_of_keys(k, 67, 68, 11, row_f);
  k.push_back({87, 13, row_f, 1, 1});
  k.push_back({88, 14, row_f, 1, 1});
  k.push_back({183, nav, row_f, 1, 1});
  k.push_back({70, nav + 1, row_f, 1, 1});
  k.push_back({69, nav + 2, row_f, 1, 1});

  // The digits row; Insert, Home, Page Up; Num Lock, / * -.
  k.push_back({41, 0, row_1, 1, 1});
  run_of_keys(k, 2, 13, 1, row_1);
  k.push_back({14, 13, row_1, 2, 1});
  k.push_back({210, nav, row_1, 1, 1});
  k.push_back({199, nav + 1, row_1, 1, 1});
  k.push_back({201, nav + 2, row_1, 1, 1});
  k.push_back({197, pad, row_1, 1, 1});
  k.push_back({181, pad + 1, row_1, 1, 1});
  k.push_back({55, pad + 2, row_1, 1, 1});
  k.push_back({74, pad + 3, row_1, 1, 1});

  // Tab, Q..], then \ (ANSI) or the tall Enter (ISO); Delete, End, Page
  // Down; 7 8 9 and the tall +.
  k.push_back({15, 0, row_2, 1.5, 1});
  run_of_keys(k, 16, 27, 1.5, row_2);
  if (iso) {
    k.push_back({enter_key, 13.75, row_2, 1.25, 2});
  } else {
    k.push_back({43, 13.5, row_2, 1.5, 1});
  }
  k.push_back({211, nav, row_2, 1, 1});
  k.push_back({207, nav + 1, row_2, 1, 1});
  k.push_back({209, nav + 2, row_2, 1, 1});
  run_of_keys(k, 71, 73, pad, row_2);
  k.push_back({78, pad + 3, row_2, 1, abnt2 ? 1.0 : 2.0});

  // Caps Lock, A..', then Enter (ANSI) or the key left of the tall Enter
  // (ISO); 4 5 6.
  k.push_back({58, 0, row_3, 1.75, 1});
  run_of_keys(k, 30, 40, 1.75, row_3);
  if (iso) {
    k.push_back({43, 12.75, row_3, 1, 1});
  } else {
    k.push_back({enter_key, 12.75, row_3, 2.25, 1});
  }
  run_of_keys(k, 75, 77, pad, row_3);
  if (abnt2) k.push_back({126, pad + 3, row_3, 1, 1});  // the pad's "." below its "+"

  // Left Shift (short on ISO, with the extra key beside it), Z../, right
  // Shift; Up; 1 2 3 and the tall Enter of the pad.
  if (iso) {
    k.push_back({42, 0, row_4, 1.25, 1});
    k.push_back({86, 1.25, row_4, 1, 1});
  } else {
    k.push_back({42, 0, row_4, 2.25, 1});
  }
  run_of_keys(k, 44, 53, 2.25, row_4);
  if (abnt2) {
    k.push_back({115, 12.25, row_4, 1, 1});  // "/ ?", left of a short right Shift
    k.push_back({54, 13.25, row_4, 1.75, 1});
  } else {
    k.push_back({54, 12.25, row_4, 2.75, 1});
  }
  k.push_back({200, nav + 1, row_4, 1, 1});
  run_of_keys(k, 79, 81, pad, row_4);
  k.push_back({156, pad + 3, row_4, 1, 2});

  // Ctrl, Windows, Alt, Space, Alt Gr, Windows, Menu, Ctrl; the arrows;
  // the wide 0 and the decimal point.
  k.push_back({29, 0, row_5, 1.25, 1});
  k.push_back({219, 1.25, row_5, 1.25, 1});
  k.push_back({56, 2.5, row_5, 1.25, 1});
  k.push_back({57, 3.75, row_5, 6.25, 1});
  k.push_back({184, 10, row_5, 1.25, 1});
  k.push_back({220, 11.25, row_5, 1.25, 1});
  k.push_back({221, 12.5, row_5, 1.25, 1});
  k.push_back({157, 13.75, row_5, 1.25, 1});
  k.push_back({203, nav, row_5, 1, 1});
  k.push_back({208, nav + 1, row_5, 1, 1});
  k.push_back({205, nav + 2, row_5, 1, 1});
  k.push_back({82, pad, row_5, 2, 1});
  k.push_back({83, pad + 2, row_5, 1, 1});
  return k;
}

}  // namespace

KeyboardKind keyboard_of_layout(std::uint16_t language) {
  // By the whole identifier where a language's countries differ, else by
  // its primary language (its low ten bits; 0x0000 sublanguage bits).
  struct Shape {
    std::uint16_t language;
    KeyboardKind kind;
  };
  static constexpr Shape shapes[] = {
      // English: ISO in the United Kingdom and Ireland, ANSI elsewhere.
      {0x0809, KeyboardKind::iso},
      {0x1809, KeyboardKind::iso},
      {0x0009, KeyboardKind::ansi},
      // Brazil's ABNT2, with its two keys more.
      {0x0416, KeyboardKind::abnt2},
      // German, Swiss and Austrian; French, Belgian; Spanish, Catalan,
      // Portuguese; Italian; Dutch.
      {0x0007, KeyboardKind::iso},
      {0x000C, KeyboardKind::iso},
      {0x000A, KeyboardKind::iso},
      {0x0003, KeyboardKind::iso},
      {0x0016, KeyboardKind::iso},
      {0x0010, KeyboardKind::iso},
      {0x0013, KeyboardKind::iso},
      // Danish, Norwegian, Swedish, Finnish, Icelandic.
      {0x0006, KeyboardKind::iso},
      {0x0014, KeyboardKind::iso},
      {0x001D, KeyboardKind::iso},
      {0x000B, KeyboardKind::iso},
      {0x000F, KeyboardKind::iso},
      // Czech, Slovak, Hungarian, Slovenian, Croatian.
      {0x0005, KeyboardKind::iso},
      {0x001B, KeyboardKind::iso},
      {0x000E, KeyboardKind::iso},
      {0x0024, KeyboardKind::iso},
      {0x001A, KeyboardKind::iso},
      // Greek, Turkish, Estonian, Latvian, Lithuanian.
      {0x0008, KeyboardKind::iso},
      {0x001F, KeyboardKind::iso},
      {0x0025, KeyboardKind::iso},
      {0x0026, KeyboardKind::iso},
      {0x0027, KeyboardKind::iso},
      // Polish (programmers'), Russian: ANSI, as every other.
      {0x0015, KeyboardKind::ansi},
      {0x0019, KeyboardKind::ansi},
  };
  constexpr std::uint16_t primary_bits = 0x03FF;
  for (const Shape& s : shapes) {
    if (s.language == language) return s.kind;
  }
  for (const Shape& s : shapes) {
    if (s.language == (language & primary_bits)) return s.kind;
  }
  return KeyboardKind::ansi;
}

KeyboardChoice choose_keyboard(std::uint16_t layout, Language language) {
  KeyboardChoice choice;
  choice.drawing = keyboard_of_layout(layout);
  ScanTableChoice table = scan_table_of(language);
  choice.scan_table = table.file;
  choice.digits_named = table.digits_named;
  return choice;
}

const std::vector<KeyPlace>& keyboard_places(KeyboardKind kind) {
  static const std::vector<KeyPlace> ansi = make_places(KeyboardKind::ansi);
  static const std::vector<KeyPlace> iso = make_places(KeyboardKind::iso);
  static const std::vector<KeyPlace> abnt2 = make_places(KeyboardKind::abnt2);
  return kind == KeyboardKind::iso ? iso : kind == KeyboardKind::abnt2 ? abnt2 : ansi;
}

std::optional<KeyPlace> stacked_place(const KeyPlace& place) {
  // A quarter of a key below the main block, the blocks' left edge at 0.
  constexpr double below = keyboard_height + 0.25;
  if (place.x < nav) return std::nullopt;
  return KeyPlace{place.code, place.x - nav, place.y + below, place.w, place.h};
}

KeyPlace iso_enter_top(const KeyPlace& enter) {
  // A quarter of a key wider to the left; drawn behind the tall part, a
  // little past its left edge.
  return {enter.code, enter.x - 0.25, enter.y, 0.4, 1};
}
