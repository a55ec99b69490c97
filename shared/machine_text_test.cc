#include "shared/machine_text.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

TEST(MachineText, WrittenInTheMachinesCodePageWithTheNearestLetters) {
  const std::string own =
      "Pas assign\xE9"
      "e \xE0 une touche, P\xE9riph\xE9rique, \x9C\x80 \xE7 \xFF\xBD";
  struct Case {
    const char* code_page;
    std::string written;
  };
  const Case cases[] = {
      {"1252", own},
      // é and ç are 0xE9 and 0xE7 in Central Europe's code page too; à and
      // œ are not there.
      {"1250",
       "Pas assign\xE9"
       "e a une touche, P\xE9riph\xE9rique, oe\x80 \xE7 y?"},
      // ÿ as y; ½, a sign with no plain form, as "?", never its own byte.
      {"1251", "Pas assignee a une touche, Peripherique, oe\x88 c y?"},
  };
  for (const Case& c : cases) {
    ScopedEnv code_page("MALVET_CODEPAGE", c.code_page);
    EXPECT_EQ(own_in_code_page(own), c.written) << c.code_page;
  }
}

TEST(MachineText, ABoxsTextAsWideText) {
  // The program's words as Windows-1252, the machine's name in its code
  // page: 0xE9 is é in the one, й in Russian's.
  ScopedEnv code_page("MALVET_CODEPAGE", "1251");
  EXPECT_EQ(utf16_of({{"\xE9t\xE9 ", true}, {"\xE9"}}), u"été й");
}
