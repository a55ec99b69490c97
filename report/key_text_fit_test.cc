#include "report/key_text_fit.h"

#include <gtest/gtest.h>

TEST(KeyTextFit, WrappedLines) {
  EXPECT_EQ(wrapped_lines("", 5), 1);
  EXPECT_EQ(wrapped_lines("Pause", 5), 1);  // a word of a line's length fits it
  EXPECT_EQ(wrapped_lines("Pauses", 5), 2);
  EXPECT_EQ(wrapped_lines("ab cd", 5), 1);  // words and their blank of a line's length
  EXPECT_EQ(wrapped_lines("ab cde", 5), 2);
  EXPECT_EQ(wrapped_lines("Trim up", 5), 2);  // "Trim", "up"
  EXPECT_EQ(wrapped_lines("Tow release", 7), 2);
  EXPECT_EQ(wrapped_lines("Screenshot", 4), 3);  // a word longer than a line is broken
  EXPECT_EQ(wrapped_lines("a b c d", 3), 2);     // "a b", "c d"
  EXPECT_EQ(wrapped_lines("x", 0), 1);
}

TEST(KeyTextFit, TheLargestSizeThatFits) {
  const KeyPlace letter{30, 0, 0, 1, 1};
  // A name and a command on a letter key: the largest size.
  EXPECT_EQ(fitting_size(letter, "A", {"Pause"}), 0.16);
  EXPECT_EQ(fitting_size(letter, "", {}), 0.16);
  // Four commands: 0.1 is the first size at which name and lines fit the
  // key's 0.7 units (0.15625 + 4 x 0.125).
  EXPECT_EQ(fitting_size(letter, "A", {"Pause", "Brake", "Flaps", "Wheel"}), 0.1);
  // More than the smallest size holds.
  EXPECT_EQ(fitting_size(letter, "A", std::vector<std::string>(12, "Command")), 0.07);
  // A wider key holds more at a larger size.
  const KeyPlace space{57, 0, 0, 6.25, 1};
  EXPECT_EQ(fitting_size(space, "Space", {"Pause", "Brake", "Flaps"}), 0.125);
}
