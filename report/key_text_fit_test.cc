#include "report/key_text_fit.h"

#include <gtest/gtest.h>

TEST(KeyTextFit, WidthsOfTheFont) {
  // P a u s e, and a bold A, in thousandths of an em, taken 3 % wide.
  EXPECT_NEAR(text_width("Pause", false), (667 + 556 + 556 + 500 + 556) / 1000.0 * 1.03, 1e-9);
  EXPECT_NEAR(text_width("A", true), 0.722 * 1.03, 1e-9);
  EXPECT_NEAR(text_width("\xE9", false), 1.03, 1e-9);  // a letter of the upper half
}

TEST(KeyTextFit, LinesBrokenOnlyBetweenWords) {
  const double pause = text_width("Pause", false), space = text_width(" ", false);
  EXPECT_EQ(word_lines("Pause", pause), 1);         // a word of a line's width fits it
  EXPECT_EQ(word_lines("Pause", pause - 1e-9), 0);  // a word wider than a line: never broken
  EXPECT_EQ(word_lines("Pause Pause", 2 * pause + space), 1);
  EXPECT_EQ(word_lines("Pause Pause", 2 * pause + space - 1e-9), 2);
  EXPECT_EQ(word_lines("Tow plane view", text_width("Tow plane", false)), 2);
  EXPECT_EQ(word_lines("", 1), 1);
}

TEST(KeyTextFit, TheLargestSizeThatHoldsItAll) {
  const KeyPlace letter{30, 0, 0, 1, 1};
  KeyText one = fit_key_text(letter, "A", {"Pause"}, 1);
  EXPECT_EQ(one.size, 0.2);
  EXPECT_EQ(one.shown, std::vector<bool>{true});
  EXPECT_EQ(one.hidden(), 0u);
  // A letter key's 0.81 units of height: the name and two lines at 0.2
  // (3 x 1.2 x 0.2), three only at the smallest size (0.2020 + 3 x 0.1836).
  EXPECT_EQ(fit_key_text(letter, "Q", {"Flaps", "Brake"}, 2).size, 0.2);
  KeyText three = fit_key_text(letter, "Q", {"Flaps", "Brake", "Pause"}, 3);
  EXPECT_EQ(three.size, smallest_key_text);
  EXPECT_EQ(three.hidden(), 0u);
}

TEST(KeyTextFit, WhatDoesNotFitIsMarkedNeverBroken) {
  const KeyPlace letter{12, 0, 0, 1, 1};
  // "Thermalling" is wider than a letter key even at the smallest size;
  // "MacCready" fits it there.
  KeyText word = fit_key_text(letter, "-", {"Thermalling on"}, 1);
  EXPECT_EQ(word.size, smallest_key_text);
  EXPECT_EQ(word.shown, std::vector<bool>{false});
  EXPECT_EQ(fit_key_text(letter, "-", {"MacCready down"}, 1).shown, std::vector<bool>{true});
  // More lines than the key holds: the first ones, the mark below them.
  KeyText many = fit_key_text(letter, "A", {"Pause", "Brake", "Flaps", "Trim"}, 4);
  EXPECT_EQ(many.size, smallest_key_text);
  EXPECT_EQ(many.shown, (std::vector<bool>{true, true, false, false}));
  EXPECT_EQ(many.hidden(), 2u);
  // A tool's name never shows in place of a command: Palvik fits where
  // "Thermalling on" does not, and is counted in the mark.
  EXPECT_EQ(fit_key_text(letter, "K", {"Thermalling on", "Palvik"}, 1).shown,
            (std::vector<bool>{false, false}));
  EXPECT_EQ(fit_key_text(letter, "K", {"Pause", "Brake", "Palvik"}, 2).shown,
            (std::vector<bool>{true, true, true}));
  // A name wider than its key at the smallest size is narrowed, not broken.
  KeyText name = fit_key_text({349, 0, 0, 1.25, 1}, "Anwendungstaste", {}, 0);
  EXPECT_NEAR(name.name_scale,
              1.06 / (text_width("Anwendungstaste", true) * key_name_size(smallest_key_text)),
              1e-9);
  EXPECT_LT(name.name_scale, 1);
  EXPECT_EQ(fit_key_text(letter, "Scroll Lock", {}, 0).name_scale, 1);
}

TEST(KeyTextFit, EveryKeyOfAPhonesMapIsNamed) {
  struct Case {
    KeyPlace place;
    const char* name;
    const char* language;
    const char* shown;  // empty: the name itself
    bool narrowed;
  };
  const Case cases[] = {
      {{30, 0, 0, 1, 1}, "A", "en", "", false},
      {{201, 0, 0, 1, 1}, "Page Up", "en", "PgUp", true},
      {{201, 0, 0, 1, 1}, "Bild auf", "de", "Bild\xE2\x86\x91", true},
      {{200, 0, 0, 1, 1}, "Up", "fr", "", false},       // it fits as it is
      {{86, 0, 0, 1, 1}, "", "en", "<>", false},        // a key without a name
      {{99, 0, 0, 1, 1}, "", "en", "99", false},        // nor a short form
      {{59, 0, 0, 1, 1}, "Wwwwww", "en", "", true},     // narrowed, as it is
      {{57, 0, 0, 6.25, 1}, "Space", "en", "", false},  // a wide key
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PhoneName phone = phone_name(c.place, c.name, c.language);
    EXPECT_EQ(phone.text, c.shown);
    EXPECT_EQ(phone.scale < 1, c.narrowed);
  }
}
