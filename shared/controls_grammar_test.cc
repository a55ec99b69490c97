#include "shared/controls_grammar.h"

#include <gtest/gtest.h>

#include <vector>

TEST(ControlsGrammar, WhatAValueTakes) {
  using K = Input::Kind;
  struct Case {
    std::int32_t command;
    const char* value;
    bool keyboard;
    std::optional<Input> takes;
  };
  const Case cases[] = {
      {2040, "017", true, Input{K::key, 17}},  // any command of the keyboard's: a key code
      {3000, "49", false, Input{K::button, 1}},
      {4000, "48", false, Input{K::button, 0}},
      {2999, "1024", false, Input{K::axis, 6}},  // (1024 mod 1000) / 4
      {2999, "1003", false, Input{K::axis, 0}},
      {2999, "-8", false, Input{K::axis, -2}},
      {3001, "x", false, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(input_of(c.command, c.value, c.keyboard), c.takes);
  }
}

TEST(ControlsGrammar, TheKeyboardSectionHasTheMostKeyCommands) {
  struct Case {
    const char* what;
    // Each section's entries' commands, in file order; 0 stands for a
    // number that does not read.
    std::vector<std::vector<std::int32_t>> sections;
    std::optional<std::size_t> keyboard;
  };
  const Case cases[] = {
      {"3000 is a key command", {{3000, 3000}, {3999}}, 0},
      {"3999 is a key command", {{3999, 3999}, {3000}}, 0},
      {"2999 and 4000 are not", {{3000}, {2999, 4000, 2999}}, 0},
      {"the first of equal ones", {{3001, 2040}, {3002}}, 0},
      {"no key command: none", {{2040, 4001}, {0}}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KeyboardSection keyboard;
    keyboard.entry(3001);  // before any section: none's
    for (const auto& entries : c.sections) {
      keyboard.begin_section();
      for (std::int32_t command : entries) {
        keyboard.entry(command == 0 ? std::nullopt : std::optional<std::int32_t>(command));
      }
    }
    EXPECT_EQ(keyboard.chosen(), c.keyboard);
  }
}
