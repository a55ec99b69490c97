#include "shared/text.h"

#include <gtest/gtest.h>

TEST(FixedWidth, TrimCutPadAndCompare) {
  EXPECT_EQ(trim("  ab  "), "  ab");
  EXPECT_EQ(left_justify("  ab  "), "ab");
  EXPECT_EQ(cut("abcdef", 4), "abcd");
  EXPECT_EQ(cut("ab  cd", 4), "ab");  // what a 4-character field shows
  EXPECT_EQ(pad("ab", 4), "ab  ");
  EXPECT_EQ(pad("abcdef", 4), "abcd");
  EXPECT_TRUE(same_text("ab  ", "ab"));
  EXPECT_FALSE(same_text(" ab", "ab"));
  EXPECT_TRUE(is_blank("   "));
  EXPECT_FALSE(is_blank(" \t "));
}

TEST(WholeNumber, ReadsFreeForm) {
  EXPECT_EQ(read_whole_number("42"), 42);
  EXPECT_EQ(read_whole_number("   -7"), -7);
  EXPECT_EQ(read_whole_number("+3001"), 3001);
  EXPECT_EQ(read_whole_number("12 and more"), 12);
  EXPECT_EQ(read_whole_number("12\tx"), 12);
  EXPECT_EQ(read_whole_number("\t12"), 12);
  EXPECT_EQ(read_whole_number("12,13"), 12);
  EXPECT_EQ(read_whole_number("12/x"), 12);
  EXPECT_EQ(read_whole_number("2147483647"), 2147483647);
  EXPECT_EQ(read_whole_number("-2147483648"), INT32_MIN);
}

TEST(WholeNumber, RejectsWhatIsNotOne) {
  for (const char* bad : {"", "   ", "-", "+", "12abc", "5.", "abc", "- 5", "2147483648",
                          "-2147483649", "99999999999999999999999999"}) {
    EXPECT_FALSE(read_whole_number(bad).has_value()) << bad;
  }
}

TEST(ExtractKeyVal, SplitsAtFirstEqualsElseColon) {
  auto kv = extract_key_val("Key = Value");
  EXPECT_EQ(kv.key, "Key");
  EXPECT_EQ(kv.val, "Value");
  kv = extract_key_val("  Key:Value");
  EXPECT_EQ(kv.key, "Key");
  EXPECT_EQ(kv.val, "Value");
  kv = extract_key_val("a:b=c");  // an "=" anywhere beats a ":" before it
  EXPECT_EQ(kv.key, "a:b");
  EXPECT_EQ(kv.val, "c");
  kv = extract_key_val("C:\\Games=1");
  EXPECT_EQ(kv.key, "C:\\Games");
  kv = extract_key_val("A==B");
  EXPECT_EQ(kv.key, "A");
  EXPECT_EQ(kv.val, "=B");
}

TEST(ExtractKeyVal, LinesWithoutSeparatorOrParts) {
  auto kv = extract_key_val("  NoSeparator");
  EXPECT_EQ(kv.key, "  NoSeparator");
  EXPECT_EQ(kv.val, "");
  kv = extract_key_val("=");
  EXPECT_EQ(kv.key, "");
  EXPECT_EQ(kv.val, "");
  kv = extract_key_val("    ");
  EXPECT_EQ(kv.key, "");
  EXPECT_EQ(kv.val, "");
  kv = extract_key_val("Name=");
  EXPECT_EQ(kv.key, "Name");
  EXPECT_EQ(kv.val, "");
}

TEST(ExtractKeyValRel, LaterOperatorInTableOrderWins) {
  auto r = extract_key_val_rel("speed>=10");
  EXPECT_EQ(r.key, "speed");
  EXPECT_EQ(r.rel, ">=");
  EXPECT_EQ(r.val, "10");
  r = extract_key_val_rel("name[]abc");
  EXPECT_EQ(r.key, "name");
  EXPECT_EQ(r.rel, "[]");
  EXPECT_EQ(r.val, "abc");
  r = extract_key_val_rel("a<=b");
  EXPECT_EQ(r.rel, "<=");
  EXPECT_EQ(r.val, "b");
  r = extract_key_val_rel("a!=b");
  EXPECT_EQ(r.rel, "!=");
  r = extract_key_val_rel("x=1<2");
  EXPECT_EQ(r.key, "x=1");
  EXPECT_EQ(r.rel, "<");
  EXPECT_EQ(r.val, "2");
  r = extract_key_val_rel("  plain");
  EXPECT_EQ(r.key, "  plain");
  EXPECT_EQ(r.rel, "");
  EXPECT_EQ(r.val, "");
}

TEST(Lists, ItemsQuotesAndEmptyItems) {
  std::string val = "a, b ,c";
  EXPECT_EQ(read_list(val, ',', 16), (std::vector<std::string>{"a", "b", "c"}));
  EXPECT_EQ(val, "");

  val = "a,,b";
  EXPECT_EQ(read_list(val, ',', 16), (std::vector<std::string>{"a"}));
  EXPECT_EQ(val, "b");

  val = "x,\"y,z\",w";
  EXPECT_EQ(read_list(val, ',', 16), (std::vector<std::string>{"x", "\"y,z\"", "w"}));

  val = "x,\"y,z\"";  // a quoted last item: nothing follows its closing quote
  EXPECT_EQ(extract_comma(val), "x");
  EXPECT_EQ(extract_comma(val), "\"y,z\"");
  EXPECT_EQ(val, "");

  val = " a;b";  // the item is left-justified, the rest is not
  EXPECT_EQ(extract_list(val, ';'), "a");
  val = "a; b";
  extract_list(val, ';');
  EXPECT_EQ(val, " b");

  val = "abcdefgh,x";  // items are cut to the element's capacity
  EXPECT_EQ(read_list(val, ',', 3), (std::vector<std::string>{"abc", "x"}));
  val = std::string(256, 'i') + ",x";  // at most 256, whatever the capacity asked
  EXPECT_EQ(read_list(val, ',', 300), (std::vector<std::string>{std::string(256, 'i'), "x"}));
}

TEST(CaseBlindCompare, FoldsOnlyAsciiLetters) {
  EXPECT_TRUE(case_blind_compare("Joystick", "JOYSTICK  "));
  EXPECT_FALSE(case_blind_compare(" A", "A"));
  EXPECT_FALSE(case_blind_compare("\xE9", "\xC9"));  // é and É
  EXPECT_TRUE(case_blind_compare("", "   "));
  EXPECT_FALSE(case_blind_compare("[", "{"));  // not folded by bit tricks
  // The whole alphabet, both ends included, and nothing next to it.
  std::string lower = "abcdefghijklmnopqrstuvwxyz", upper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  EXPECT_TRUE(case_blind_compare(lower, upper));
  for (std::size_t i = 0; i < lower.size(); ++i) {
    EXPECT_TRUE(case_blind_compare(lower.substr(i, 1), upper.substr(i, 1))) << lower[i];
    EXPECT_FALSE(case_blind_compare(
        lower.substr(i, 1), i + 1 < lower.size() ? upper.substr(i + 1, 1) : std::string("[")))
        << lower[i];
  }
  EXPECT_FALSE(case_blind_compare("`", "@"));  // the neighbours of a and A
  EXPECT_FALSE(case_blind_compare("{", "["));  // and of z and Z
}

TEST(Utf8, WellFormedAndNothingElse) {
  std::string all;
  for (char32_t u : {U'\0', U'A', U'\x7F', U'\x80', U'\xE9', U'\x7FF', U'\x800', U'\x20AC',
                     U'\xFFFF', U'\x10000', U'\x10FFFF'}) {
    std::string one;
    append_utf8(one, u);
    EXPECT_TRUE(is_utf8(one)) << static_cast<unsigned>(u);
    EXPECT_EQ(one.size(), u < 0x80 ? 1u : u < 0x800 ? 2u : u < 0x10000 ? 3u : 4u);
    all += one;
  }
  EXPECT_TRUE(is_utf8(all));
  EXPECT_EQ(utf8_to_utf16(all),
            std::u16string(u"\0A\x7F\x80\xE9\x7FF\x800\x20AC\xFFFF\xD800\xDC00\xDBFF\xDFFF", 13));
  // What strict readers refuse: a longer form than needed, a surrogate, past
  // U+10FFFF, a lone or cut sequence; each such byte is one "?".
  for (const char* bad : {"\xC0\xBF", "\xC0\x80", "\xE0\x80\xBF", "\xED\xA0\x80",
                          "\xF4\x90\x80\x80", "\x80", "\xC3", "a\xE2\x82", "\xFF"}) {
    EXPECT_FALSE(is_utf8(bad)) << bad;
    std::u16string units = utf8_to_utf16(bad);
    EXPECT_EQ(units.find_first_not_of(u"a?"), std::u16string::npos) << bad;
  }
}

TEST(Utf8, FromUtf16PairsAndLoneHalves) {
  // A, e acute, a pair, a lone second half, a lone first half at the end.
  EXPECT_EQ(utf16_to_utf8(std::u16string(u"A\xE9\xD83D\xDE00\xDC00\xD800", 6)),
            "A\xC3\xA9\xF0\x9F\x98\x80??");
  EXPECT_EQ(utf16le_units(std::string("A\0\xAC\x20!", 5)), u"A\x20AC");  // a last odd byte
}

TEST(I2b, LeftJustifiedOrStars) {
  EXPECT_EQ(i2b(-42, 256), "-42");
  EXPECT_EQ(i2b(123, 2), "**");
  EXPECT_EQ(i2b(0), "0");
  EXPECT_EQ(i2b(INT32_MIN), "-2147483648");
  EXPECT_EQ(i2b(-1234567, 8), "-1234567");
  EXPECT_EQ(i2b(-12345678, 8), "********");
}

TEST(BoundaryCopies, CToFieldAndBack) {
  EXPECT_EQ(strcpy_c2f("abcdefg", 0, 5), "abcde");
  EXPECT_EQ(strcpy_c2f("", 0, 5), "");
  EXPECT_EQ(strcpy_c2f("abcdefg", 3, 5), "abc");
  const char with_nul[] = {'a', 'b', '\0', 'c'};
  EXPECT_EQ(strcpy_c2f(with_nul, 0, 4), "ab");
  EXPECT_EQ(strcpy_f2c("ab  "), "ab");

  std::string field("name\0garbage", 12);
  remove_trail_0(field);
  EXPECT_EQ(field, "name");
  field = "no nul";
  remove_trail_0(field);
  EXPECT_EQ(field, "no nul");

  std::string text = "a\nb\r\nc";
  make_printable(text);
  EXPECT_EQ(text, "a/b\r/c");
}

TEST(Paths, NameAndFolder) {
  EXPECT_EQ(extract_name("D:\\Pilots\\Me\\controls.ini"), "controls.ini");
  EXPECT_EQ(extract_name("controls.ini"), "controls.ini");
  EXPECT_EQ(extract_name("  "), "");

  auto pn = extract_path_name("D:\\Pilots\\Me\\controls.ini");
  EXPECT_EQ(pn.p1, "D:\\Pilots\\Me\\");
  EXPECT_EQ(pn.n1, "controls.ini");
  pn = extract_path_name("controls.ini");
  EXPECT_EQ(pn.p1, ".\\");
  EXPECT_EQ(pn.n1, "controls.ini");
  pn = extract_path_name("..");
  EXPECT_EQ(pn.p1, "..\\");
  EXPECT_EQ(pn.n1, "");
  pn = extract_path_name("a/b.txt");  // "/" is an ordinary character
  EXPECT_EQ(pn.p1, ".\\");
  EXPECT_EQ(pn.n1, "a/b.txt");
  pn = extract_path_name("");
  EXPECT_EQ(pn.p1, "");
  EXPECT_EQ(pn.n1, "");
  pn = extract_path_name(std::string(1500, 'x') + "\\tail");  // cut at 1,024
  EXPECT_EQ(pn.p1, ".\\");
  EXPECT_EQ(pn.n1.size(), 1024u);
}
