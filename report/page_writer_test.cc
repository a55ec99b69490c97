#include "report/page_writer.h"

#include <gtest/gtest.h>

#include "report/analysis.h"
#include "report/key_text_fit.h"
#include "shared/text.h"
#include "tests/test_support.h"

namespace {

// Every byte 0x00..0xFF, in a text of the model.
std::string every_byte() {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  return all;
}

// A model whose versions hold the given section header and texts `any` in
// every place a name of a pilot's file or machine can reach: file, header,
// command, key, joystick, sibling tool.
ReportModel model_of(Language language, const std::string& header, const std::string& any) {
  ReportModel model;
  model.keyboard = language == Language::french ? KeyboardKind::iso : KeyboardKind::ansi;
  model.key_names = {{30, any}};
  model.joysticks = {{any, header, 2, 2}};
  VersionModel v;
  v.ctrfile = any;
  v.devices.sections = {
      {any, SectionKind::keyboard, 0, 0}, {header, SectionKind::joystick, 1, 0}, {header + "2"}};
  v.bindings = {{0, any, BindingKind::key, 30, any, 0, ""},
                {1, any, BindingKind::button, 1, "", 1, any},
                {2, any, BindingKind::not_attached, 48, "", 0, header + "2"},
                {3, any, BindingKind::unbound, 0, "", 0, ""}};
  ToolKeys tool{any, any, {{any, any, 30, 0}}, true};
  model.tools = {tool};
  ReportTexts texts = report_texts(language);
  v.conflicts = find_conflicts(v.bindings, {tool}, texts);
  for (int version : {2, 3}) {
    v.version = version;
    model.versions.push_back(v);
  }
  model.compared = true;
  model.differences = {{any, 0, 0}};
  return model;
}

std::string render(const ReportModel& model, Language language = Language::english) {
  ReportTexts texts = report_texts(language);
  return render_page(build_card(model, texts), model, texts);
}

// The JSON island's text.
std::string island(const std::string& html) {
  const std::string open = "<script type=\"application/json\" id=\"controls-data\">";
  std::size_t start = html.find(open);
  if (start == std::string::npos) return "";
  start += open.size();
  return html.substr(start, html.find("</script>", start) - start);
}

std::size_t count_of(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

}  // namespace

TEST(Page, EveryByteOfAPilotsTextGivesWellFormedUtf8AndNoMarkup) {
  ScopedEnv cp("MALVET_CODEPAGE", std::nullopt);
  for (Language language : {Language::english, Language::french}) {
    std::string html = render(model_of(language, every_byte(), every_byte()), language);
    EXPECT_TRUE(is_utf8(html));
    EXPECT_EQ(html.find('\0'), std::string::npos);
    // The JSON island holds no raw "<": a header holding "</script>" can't
    // end it.
    std::string data = island(html);
    ASSERT_FALSE(data.empty());
    EXPECT_EQ(data.find('<'), std::string::npos);
    EXPECT_EQ(html.find("<\x01"), std::string::npos);
  }
}

TEST(Page, TextsThatLookLikeMarkupStayText) {
  // Headers that a pilot, or a broken file, may hold.
  ReportModel model = model_of(Language::english, "[<b>\"x\"</script>\\]", "<i>&amp;");
  std::string html = render(model);
  EXPECT_NE(html.find("data-joystick=\"[&lt;b&gt;&quot;x&quot;&lt;/script&gt;\\]\"><h4>&lt;i&gt;"
                      "&amp;amp;</h4>"),
            std::string::npos);
  EXPECT_EQ(html.find("<b>\"x\""), std::string::npos);
  EXPECT_EQ(count_of(html, "</script>"), 2u);  // the island's end and the search's
  EXPECT_NE(island(html).find("\"header\":\"[\\u003cb\\u003e\\\"x\\\"\\u003c/script\\u003e\\\\]\""),
            std::string::npos);
  EXPECT_NE(island(html).find("\"command\":\"\\u003ci\\u003e\\u0026amp;\""), std::string::npos);
}

TEST(Page, TheCodePagesLettersInUtf8) {
  ScopedEnv cp("MALVET_CODEPAGE", std::nullopt);
  std::string html = render(model_of(Language::french,
                                     "[Man\x9C"
                                     "uvre \x8A]",
                                     "C\x9C"
                                     "ur"),
                            Language::french);
  EXPECT_NE(html.find(">[Man\xC5\x93uvre \xC5\xA0]<"), std::string::npos);
  EXPECT_NE(island(html).find("\"C\xC5\x93ur\""), std::string::npos);
}

TEST(Page, EachKeyboardIsARegionUnderAHeadingThatNamesIt) {
  std::string english = render(model_of(Language::english, "[S]", "x"));
  EXPECT_NE(english.find("<h3 class=\"keyboard-title\">US keyboard</h3>\r\n<div "
                         "class=\"keyboard-frame\" tabindex=\"0\" role=\"region\" "
                         "aria-label=\"US keyboard, Aerlon 2\">"),
            std::string::npos);
  EXPECT_NE(render(model_of(Language::french, "[S]", "x"), Language::french)
                .find("aria-label=\"Clavier ISO, Aerlon 3\""),
            std::string::npos);
  ReportModel english_iso = model_of(Language::english, "[S]", "x");
  english_iso.keyboard = KeyboardKind::iso;
  EXPECT_NE(render(english_iso).find(">ISO keyboard</h3>"), std::string::npos);
}

TEST(Page, TheSearchCountsNoneAsNoneAndFindsConflictsByTheLegendsWord) {
  for (Language language : {Language::english, Language::french, Language::german}) {
    std::string html = render(model_of(language, "[S]", "x"), language);
    std::size_t none = html.find("data-found-none=\"");
    ASSERT_NE(none, std::string::npos);
    EXPECT_EQ(html.substr(none + 17, 2), "0 ") << html.substr(none, 40);
    const std::string swatch = "<span class=\"swatch conflict\"></span>";
    std::size_t legend = html.find(swatch) + swatch.size();
    std::string word = html.substr(legend, html.find('<', legend) - legend);
    EXPECT_NE(html.find("data-conflict=\"" + word + "\""), std::string::npos) << word;
  }
}

TEST(Page, AJoystickOfMoreAxesAndButtonsThanTheModelHolds) {
  ReportModel model = model_of(Language::english, "[S]", "x");
  model.joysticks[0].axes = 40;
  model.joysticks[0].buttons = 600;
  std::string html = render(model);
  std::size_t card = html.find("data-joystick=\"[S]\"");
  std::string first = html.substr(card, html.find("</article>", card) - card);
  EXPECT_EQ(count_of(first, "data-axis="), 33u);     // axes 0..32
  EXPECT_EQ(count_of(first, "data-button="), 513u);  // buttons 0..512
  EXPECT_NE(first.find("data-button=\"512\""), std::string::npos);
}

TEST(Page, NoHeadingOverAnEmptyList) {
  // A joystick without axes, bound nowhere on them: no "Axes" over nothing.
  ReportModel model = model_of(Language::english, "[S]", "x");
  model.joysticks[0].axes = 0;
  std::string html = render(model);
  EXPECT_EQ(html.find("-axes\""), std::string::npos);
  EXPECT_NE(html.find("-buttons\""), std::string::npos);
}

TEST(Page, EndsWithTheDocument) {
  std::string html = render(model_of(Language::english, "[S]", "x"));
  EXPECT_EQ(html.substr(html.size() - 18), "</body>\r\n</html>\r\n");
  EXPECT_EQ(count_of(html, "</html>"), 1u);
  EXPECT_EQ(count_of(html, "\n"), count_of(html, "\r\n"));
}

TEST(Page, AKeyShowsWhatFitsAndItsMarkFreeControlsAsRanges) {
  ReportModel model = model_of(Language::english, "[S]", "x");
  VersionModel& v = model.versions[0];
  v.bindings.clear();
  for (const char* c : {"Pause", "Brake", "Flaps", "Trim nose up"}) {
    v.bindings.push_back({0, c, BindingKind::key, 30, "A", 0, ""});
  }
  v.bindings.push_back({1, "Roll", BindingKind::button, 1, "", 1, "x"});
  model.joysticks[0].buttons = 12;
  model.key_names = {{30, "A"}};
  std::string html = render(model);
  EXPECT_NE(html.find(" title=\"Pause, Brake, Flaps, Trim nose up, x\""), std::string::npos);
  EXPECT_NE(html.find("<span class=\"command beyond\">Flaps</span><span class=\"command "
                      "beyond\">Trim nose up</span><span class=\"tool-name beyond\">x</span>"
                      "<span class=\"more\">+3</span></div>"),
            std::string::npos);
  // The list of such keys, in full.
  EXPECT_NE(html.find("<li class=\"row\"><b>A</b> <span class=\"command\">Pause</span>"),
            std::string::npos);
  EXPECT_NE(html.find("<li class=\"free-ranges\">Buttons 0, 2&ndash;11 free</li>"),
            std::string::npos);
  EXPECT_NE(html.find("<li class=\"free-ranges\">Axes X, Y free</li>"), std::string::npos);
}

TEST(Page, AKeyThatHidesItsOneLineStillTellsIt) {
  // One command too long for a letter's key at the smallest size: its mark
  // "+1", and the title of one line.
  ReportModel model = model_of(Language::english, "[S]", "x");
  model.tools.clear();
  model.key_names = {{30, "A"}};
  const std::string name = "Padlock nearest glider with a long name";
  ASSERT_EQ(fit_key_text({30, 0, 0, 1, 1}, "A", {name}, 1).hidden(), 1u);
  VersionModel& v = model.versions[0];
  v.bindings = {{0, name, BindingKind::key, 30, "A", 0, ""}};
  v.conflicts.clear();
  std::string html = render(model);
  EXPECT_NE(html.find(" title=\"" + name + "\""), std::string::npos);
  EXPECT_NE(html.find("<span class=\"more\">+1</span>"), std::string::npos);
  // And the list below the drawing gives it whole.
  EXPECT_NE(html.find("<li class=\"row\"><b>A</b> <span class=\"command\">" + name),
            std::string::npos);
}

TEST(Page, WhatIsSaidOnlyWhenThereIsSomethingToSay) {
  // A conflict of two commands names no tool; a version without a joystick
  // section says so.
  ReportModel model = model_of(Language::english, "[S]", "x");
  model.tools.clear();
  model.compared = false;
  model.versions.resize(1);
  VersionModel& v = model.versions[0];
  v.devices.sections.resize(1);
  v.bindings = {{0, "Pause", BindingKind::key, 30, "x", 0, ""},
                {1, "Brake", BindingKind::key, 30, "x", 0, ""}};
  v.conflicts = find_conflicts(v.bindings, {}, report_texts(Language::english));
  ASSERT_EQ(v.conflicts.size(), 1u);
  // One free key, alone: no range; no key not known, no word for it.
  model.keys = {{59, "F1"}};
  model.key_names.emplace_back(59, "F1");
  std::string html = render(model);
  EXPECT_EQ(html.find("class=\"taken-by\""), std::string::npos);
  EXPECT_NE(html.find("<p>No joystick section in this file.</p>"), std::string::npos);
  EXPECT_NE(html.find("data-keys=\"F1\">F1</li>"), std::string::npos);
  EXPECT_EQ(html.find("swatch unknown"), std::string::npos);
  // A tool read short: keys not known, and their word in the legend.
  model.tools = {{"Palvik", "P.ini", {}, false}};
  html = render(model);
  EXPECT_NE(html.find("<span class=\"swatch unknown\"></span>not known</span>"),
            std::string::npos);
}
