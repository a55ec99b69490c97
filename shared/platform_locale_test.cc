// The stand-in's code page and regional settings.
#include <gtest/gtest.h>

#include "shared/platform.h"
#include "tests/test_support.h"

TEST(CodePage, EveryByteOf1252) {
  ScopedEnv cp("MALVET_CODEPAGE", std::nullopt);
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::u16string wide = ansi_to_utf16(all);
  ASSERT_EQ(wide.size(), 256u);
  for (int b = 0; b < 256; ++b) {
    char16_t c = wide[static_cast<std::size_t>(b)];
    if (b < 0x80 || b >= 0xA0) {
      EXPECT_EQ(c, b) << b;  // ASCII and Latin-1 stand for themselves
    } else if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) {
      EXPECT_EQ(c, u'?') << b;  // unassigned: something visible
    } else {
      EXPECT_GE(c, 0x100) << b;  // the code page's own letters and signs
      EXPECT_EQ(utf16_to_ansi(std::u16string(1, c)), std::string(1, static_cast<char>(b))) << b;
    }
  }
  EXPECT_EQ(ansi_to_utf16("\xE9\xE8\xE0\x80\x9C"), u"\u00e9\u00e8\u00e0\u20ac\u0153");
  EXPECT_EQ(utf16_to_ansi(u"\u00ff"), "\xFF");
  // A lone second half of a pair is one "?" each time.
  EXPECT_EQ(utf16_to_ansi(std::u16string(u"\xDC00\xDC00"
                                         u"A",
                                         3)),
            "??A");
}

TEST(CodePage, CentralEuropeanAndCyrillicAndWhatTheyLack) {
  ScopedEnv cp("MALVET_CODEPAGE", "1250");
  EXPECT_EQ(ansi_to_utf16("\xA3ukasz Ji\xF8\xED"), u"\u0141ukasz Ji\u0159\u00ED");
  bool whole = false;
  EXPECT_EQ(utf16_to_ansi(u"\u0141ukasz", &whole), "\xA3ukasz");
  EXPECT_TRUE(whole);
  // What the code page lacks is "?", never a look-alike letter; a pair is one.
  EXPECT_EQ(utf16_to_ansi(std::u16string(u"\u0416\u00E5\xD83D\xDE00\xDC00!", 6), &whole),
            "????"
            "!");
  EXPECT_FALSE(whole);
  {
    ScopedEnv cyrillic("MALVET_CODEPAGE", "1251");
    EXPECT_EQ(ansi_to_utf16("\xC6"), u"\u0416");
    EXPECT_EQ(utf16_to_ansi(u"\u0141"), "?");
  }
  {
    // Vietnamese: glibc's 1258 holds a letter back for a mark that may
    // follow; each byte is read apart all the same.
    ScopedEnv vietnamese("MALVET_CODEPAGE", "1258");
    EXPECT_EQ(ansi_to_utf16("Non assign\xE9"
                            "e \xE3\xF0"),
              u"Non assign\u00E9e \u0103\u0111");
  }
  // Not a Windows single-byte code page: 1252.
  for (const char* other : {"65001", "932", "12x", "1250x", ""}) {
    ScopedEnv unknown("MALVET_CODEPAGE", other);
    EXPECT_EQ(ansi_to_utf16("\xA3"), u"\u00A3") << other;
  }
}

TEST(ListSeparator, OneOfFourOrNone) {
  for (auto [value, expected] : {std::pair<const char*, std::optional<char>>{";", ';'},
                                 {",", ','},
                                 {"|x", '|'},
                                 {"\t", '\t'},
                                 {".", std::nullopt},
                                 {"", std::nullopt}}) {
    ScopedEnv sep("MALVET_LIST_SEPARATOR", value);
    EXPECT_EQ(regional_list_separator(), expected) << value;
  }
  ScopedEnv unset("MALVET_LIST_SEPARATOR", std::nullopt);
  EXPECT_EQ(regional_list_separator(), std::nullopt);
}
