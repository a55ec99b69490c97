#include "report/html_text.h"

#include <gtest/gtest.h>

#include "shared/text.h"
#include "tests/test_support.h"

namespace {

std::string html(std::string_view text) {
  std::string out;
  append_html(out, text);
  return out;
}

std::string json(std::string_view text) {
  std::string out;
  append_json(out, text);
  return out;
}

}  // namespace

TEST(HtmlText, WhatMarkupWouldTakeIsEscaped) {
  ScopedEnv cp("MALVET_CODEPAGE", std::nullopt);
  for (auto [text, as_html, as_json] :
       {std::tuple<std::string, std::string, std::string>{"<b>&\"'", "&lt;b&gt;&amp;&quot;'",
                                                          "\\u003cb\\u003e\\u0026\\\"'"},
        {"</script>", "&lt;/script&gt;", "\\u003c/script\\u003e"},
        {"a\\b/c", "a\\b/c", "a\\\\b/c"},
        {std::string("nul\0tab\tlf\ndel\x7F", 15), "nul tab lf del ",
         "nul\\u0000tab\\u0009lf\\u000adel\\u007f"},
        // The code page's letters in UTF-8: e acute, oe, S caron, the euro.
        {"\xE9\x9C\x8A\x80", "\xC3\xA9\xC5\x93\xC5\xA0\xE2\x82\xAC",
         "\xC3\xA9\xC5\x93\xC5\xA0\xE2\x82\xAC"},
        {"\x80", "\xE2\x82\xAC", "\xE2\x82\xAC"}}) {
    EXPECT_EQ(html(text), as_html) << text;
    EXPECT_EQ(json(text), as_json) << text;
  }
  ScopedEnv central("MALVET_CODEPAGE", "1250");
  EXPECT_EQ(html("\xA3ukasz"), "\xC5\x81ukasz");
}

TEST(HtmlText, EveryByteGivesWellFormedUtf8) {
  for (const char* cp : {"1252", "1250", "1251"}) {
    ScopedEnv code_page("MALVET_CODEPAGE", cp);
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    std::string h = html(all), j = json(all);
    EXPECT_TRUE(is_utf8(h)) << cp;
    EXPECT_TRUE(is_utf8(j)) << cp;
    for (char c : h) EXPECT_FALSE(c == '<' || c == '>' || c == '"' || c == '\0') << cp;
    for (char c : j) EXPECT_FALSE(c == '<' || c == '>' || c == '&' || c == '\0') << cp;
  }
}

TEST(HtmlText, LinesEndInCrLfAndLengthsInUnits) {
  PageText o;
  o << "a\nb" << std::int32_t{-12} << Html{"<"} << Json{"\""} << "\n";
  o << Units{22.5} << " " << Units{0.4} << " " << Units{1} << " " << Units{13.75} << " "
    << Units{0.125} << " " << Units{0.0035} << " " << Units{0.153};
  EXPECT_EQ(o.text, "a\r\nb-12&lt;\"\\\"\"\r\n22.5 0.4 1 13.75 0.125 0.004 0.153");
}
