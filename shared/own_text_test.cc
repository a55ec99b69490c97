#include "shared/own_text.h"

#include <gtest/gtest.h>

TEST(OwnText, ReadAsWindows1252) {
  EXPECT_EQ(own_to_utf16("Pas assign\xE9"
                         "e \xE0 une touche"),
            u"Pas assignée à une touche");
  EXPECT_EQ(own_to_utf16("\x80\x9C\xFF"), u"€œÿ");
}
