#include "report/keyboard_layout.h"

#include <gtest/gtest.h>

#include <map>

#include "report/tables_reader.h"

namespace {

ScanCodeTable delivered(const std::string& name) {
  testing::internal::CaptureStdout();
  std::optional<ScanCodeTable> table = read_scn("*** File # cannot be opened  ***",
                                                std::string(MALVET_DATA_DIR) + "/" + name, "test");
  testing::internal::GetCapturedStdout();
  EXPECT_TRUE(table) << name;
  return table.value_or(ScanCodeTable());
}

bool overlap(const KeyPlace& a, const KeyPlace& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

}  // namespace

TEST(KeyboardLayout, EveryKeyOfTheDeliveredTablesHasOnePlace) {
  for (auto [table, kind] : {std::pair{"SCN_QWERTY.txt", KeyboardKind::ansi},
                             std::pair{"SCN_AZERTY_FR.txt", KeyboardKind::iso}}) {
    std::map<std::int32_t, int> places;
    for (const KeyPlace& p : keyboard_places(kind)) ++places[p.code];
    ScanCodeTable keys = delivered(table);
    EXPECT_EQ(keys.size(), 104u) << table;
    for (const ScanCode& key : keys) EXPECT_EQ(places[key.code], 1) << table << " " << key.code;
    for (const auto& [code, count] : places) EXPECT_EQ(count, 1) << code;
  }
}

TEST(KeyboardLayout, NoTwoKeysOverlapAndAllLieInside) {
  for (KeyboardKind kind : {KeyboardKind::ansi, KeyboardKind::iso, KeyboardKind::abnt2}) {
    const std::vector<KeyPlace>& keys = keyboard_places(kind);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      EXPECT_GE(keys[i].x, 0);
      EXPECT_GE(keys[i].y, 0);
      EXPECT_LE(keys[i].x + keys[i].w, keyboard_width) << keys[i].code;
      EXPECT_LE(keys[i].y + keys[i].h, keyboard_height) << keys[i].code;
      for (std::size_t j = i + 1; j < keys.size(); ++j) {
        EXPECT_FALSE(overlap(keys[i], keys[j])) << keys[i].code << " " << keys[j].code;
      }
    }
  }
}

TEST(KeyboardLayout, IsoAndAnsiDifferWhereTheyShould) {
  auto place_of = [](KeyboardKind kind, std::int32_t code) {
    for (const KeyPlace& p : keyboard_places(kind)) {
      if (p.code == code) return p;
    }
    return KeyPlace{0, -1, -1, 0, 0};
  };
  // The extra key beside a shorter left Shift.
  EXPECT_EQ(place_of(KeyboardKind::iso, 86).x, 1.25);
  EXPECT_EQ(place_of(KeyboardKind::ansi, 86).x, -1);
  EXPECT_EQ(place_of(KeyboardKind::iso, 42).w, 1.25);
  EXPECT_EQ(place_of(KeyboardKind::ansi, 42).w, 2.25);
  // The tall Enter over two rows; the backslash key moves below it.
  EXPECT_EQ(place_of(KeyboardKind::iso, 28).h, 2);
  EXPECT_EQ(place_of(KeyboardKind::ansi, 28).h, 1);
  EXPECT_EQ(place_of(KeyboardKind::iso, 43).y, place_of(KeyboardKind::iso, 30).y);
  EXPECT_EQ(place_of(KeyboardKind::ansi, 43).y, place_of(KeyboardKind::ansi, 16).y);
  // Everything else stays put.
  for (const KeyPlace& a : keyboard_places(KeyboardKind::ansi)) {
    if (a.code == 28 || a.code == 42 || a.code == 43) continue;
    KeyPlace i = place_of(KeyboardKind::iso, a.code);
    EXPECT_EQ(i.x, a.x) << a.code;
    EXPECT_EQ(i.y, a.y) << a.code;
  }
  // ABNT2: ISO's, with "/ ?" (115) left of a shorter right Shift and the
  // pad's "." (126) below a "+" one row high.
  EXPECT_EQ(place_of(KeyboardKind::abnt2, 86).x, 1.25);
  EXPECT_EQ(place_of(KeyboardKind::abnt2, 115).x, 12.25);
  EXPECT_EQ(place_of(KeyboardKind::abnt2, 54).w, 1.75);
  EXPECT_EQ(place_of(KeyboardKind::abnt2, 78).h, 1);
  EXPECT_EQ(place_of(KeyboardKind::abnt2, 126).y, place_of(KeyboardKind::abnt2, 75).y);
  EXPECT_EQ(place_of(KeyboardKind::iso, 115).x, -1);
}

TEST(KeyboardLayout, TheShapeFollowsTheLayoutNotTheLanguage) {
  struct Row {
    std::uint16_t layout;
    KeyboardKind kind;
  };
  const Row rows[] = {
      {0x0409, KeyboardKind::ansi},   // US English
      {0x0809, KeyboardKind::iso},    // British English, by its whole identifier
      {0x1809, KeyboardKind::iso},    // Irish English
      {0x0C09, KeyboardKind::ansi},   // Australian English
      {0x0407, KeyboardKind::iso},    // German, and its countries by the primary language
      {0x0807, KeyboardKind::iso},    // Swiss German
      {0x040C, KeyboardKind::iso},    // French
      {0x0416, KeyboardKind::abnt2},  // Brazil's ABNT2
      {0x0816, KeyboardKind::iso},    // Portugal's
      {0x0405, KeyboardKind::iso},    // Czech
      {0x0415, KeyboardKind::ansi},   // Polish programmers'
      {0x0419, KeyboardKind::ansi},   // Russian
      {0x0411, KeyboardKind::ansi},   // Japanese: not in the table
  };
  for (const Row& r : rows) EXPECT_EQ(keyboard_of_layout(r.layout), r.kind) << std::hex << r.layout;
}

TEST(KeyboardLayout, StackedTheBlocksComeBelowTheMainOne) {
  for (KeyboardKind kind : {KeyboardKind::ansi, KeyboardKind::iso, KeyboardKind::abnt2}) {
    std::vector<KeyPlace> stacked;
    for (const KeyPlace& p : keyboard_places(kind)) {
      KeyPlace s = stacked_place(p).value_or(p);
      if (stacked_place(p)) {
        // A quarter of a key below the main block, each key on its own row.
        EXPECT_DOUBLE_EQ(s.y - p.y, keyboard_height + 0.25) << p.code;
      }
      EXPECT_LE(s.x + s.w, stacked_width) << p.code;
      EXPECT_LE(s.y + s.h, stacked_height) << p.code;
      for (const KeyPlace& o : stacked) {
        bool apart = s.x + s.w <= o.x || o.x + o.w <= s.x || s.y + s.h <= o.y || o.y + o.h <= s.y;
        EXPECT_TRUE(apart) << p.code << " " << o.code;
      }
      stacked.push_back(s);
    }
  }
  // Home keeps its place beside Insert; Esc stays.
  EXPECT_FALSE(stacked_place({1, 0, 0, 1, 1}).has_value());
}
