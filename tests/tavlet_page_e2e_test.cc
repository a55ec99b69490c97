// The reference card, Controls.html, through its fixed markup and its JSON.
#include "tests/tavlet_fixture.h"

namespace {

// The element that carries `attribute` (the first one from `from` on), from
// its "<" to its closing tag; empty when there is none.
std::string element(const std::string& page, const std::string& attribute, std::size_t from = 0) {
  std::size_t at = page.find(attribute, from);
  if (at == std::string::npos) return "";
  std::size_t start = page.rfind('<', at);
  std::size_t name_end = page.find_first_of(" >", start);
  std::string tag = page.substr(start + 1, name_end - start - 1);
  int depth = 0;
  for (std::size_t i = start; i < page.size(); ++i) {
    if (page.compare(i, tag.size() + 1, "<" + tag) == 0 &&
        (page[i + tag.size() + 1] == ' ' || page[i + tag.size() + 1] == '>')) {
      ++depth;
    } else if (page.compare(i, tag.size() + 3, "</" + tag + ">") == 0 && --depth == 0) {
      return page.substr(start, i + tag.size() + 3 - start);
    }
  }
  return "";
}

// A version's part of the page.
std::string part(const std::string& page, int version) {
  return element(page, "data-version=\"" + std::to_string(version) + "\"");
}

std::string embedded_model(const std::string& page) {
  std::string open = "<script type=\"application/json\" id=\"controls-data\">";
  std::size_t start = page.find(open);
  if (start == std::string::npos) return "";
  start += open.size();
  return page.substr(start, page.find("</script>", start) - start);
}

}  // namespace

TEST_F(Tavlet, TheReferenceCardDrawsEveryBindingOfBothVersions) {
  if (windows_target()) GTEST_SKIP() << "Wine attaches no joystick (see the one-version test)";
  // Version 3: two commands on one key, and a key that Palvik takes too.
  write(
      "Docs/Aerlon3/Pilots/Ann/controls.ini",
      joystick_header + "\r\n2001=1000\r\n3103=49\r\n[Keys]\r\n3101=57\r\n3102=57\r\n3105=200\r\n");
  write("work/Controls.html", "last week's card");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  const std::string page = read("work/Controls.html");
  // Its last line ends once, as every other.
  EXPECT_EQ(page.substr(page.size() - 18), "</body>\r\n</html>\r\n");
  EXPECT_FALSE(fs::exists(dir_.file("work/Controls.html.new")));
  EXPECT_EQ(page.compare(0, 15, "<!DOCTYPE html>"), 0);
  EXPECT_EQ(page.find("http"), std::string::npos);  // nothing from the network

  const std::string v2 = part(page, 2), v3 = part(page, 3);
  ASSERT_FALSE(v2.empty());
  ASSERT_FALSE(v3.empty());
  // Every key once per drawing, with its name and its commands.
  for (const std::string& v : {v2, v3}) {
    for (int code : {1, 30, 57, 86, 200, 221}) {
      std::string key = "data-key=\"" + std::to_string(code) + "\"";
      EXPECT_EQ(v.find(key), v.rfind(key)) << code;
      EXPECT_EQ(v.find(key) != std::string::npos, code != 86) << code;  // US keyboard
    }
  }
  std::string space2 = element(v2, "data-key=\"57\"");
  EXPECT_NE(space2.find("Space"), std::string::npos);
  EXPECT_NE(space2.find("Pause"), std::string::npos);
  EXPECT_EQ(space2.find("data-conflict"), std::string::npos);
  std::string space3 = element(v3, "data-key=\"57\"");
  EXPECT_NE(space3.find("Pause"), std::string::npos);
  EXPECT_NE(space3.find("Release tow"), std::string::npos);
  EXPECT_NE(space3.find("data-conflict"), std::string::npos);
  std::string up3 = element(v3, "data-key=\"200\"");
  EXPECT_NE(up3.find("Engine start"), std::string::npos);
  EXPECT_NE(up3.find("Palvik"), std::string::npos);
  EXPECT_NE(up3.find("data-conflict"), std::string::npos);
  std::string up2 = element(v2, "data-key=\"200\"");
  EXPECT_NE(up2.find("Palvik"), std::string::npos);  // taken by Palvik only
  EXPECT_EQ(up2.find("data-conflict"), std::string::npos);

  // The attached joystick's card: every axis and button it has.
  std::string stick = element(v2, "data-joystick=\"" + joystick_header + "\"");
  EXPECT_NE(stick.find("Stick One"), std::string::npos);
  EXPECT_NE(element(stick, "data-axis=\"0\"").find("Aileron"), std::string::npos);
  EXPECT_NE(element(stick, "data-axis=\"1\"").find("Elevator"), std::string::npos);
  EXPECT_NE(element(stick, "data-axis=\"2\"").find("free"), std::string::npos);
  EXPECT_NE(element(stick, "data-button=\"1\"").find("Airbrakes"), std::string::npos);
  for (int b : {0, 2, 3}) {
    EXPECT_NE(element(stick, "data-button=\"" + std::to_string(b) + "\"").find("free"),
              std::string::npos);
  }
  EXPECT_EQ(stick.find("data-button=\"4\""), std::string::npos);  // it has four
  // A device that is not attached: headed so, its header below, its command.
  std::string away = element(v2, "data-joystick=\"[{00000000-0000-0000-0000-000000000000}]\"");
  EXPECT_NE(away.find("<h4>Device not plugged in</h4><p class=\"section-header\">"
                      "[{00000000-0000-0000-0000-000000000000}]</p>"),
            std::string::npos);
  EXPECT_NE(away.find("Chat"), std::string::npos);
  EXPECT_NE(element(away, "data-button=\"2\"").find("Chat"), std::string::npos);

  // Conflicts listed, unbound commands, and the differences side by side.
  EXPECT_NE(v3.find("<th>Space</th><td><span class=\"command\">Pause</span><span "
                    "class=\"command\">Release tow</span>"),
            std::string::npos);
  EXPECT_NE(v3.find("Up</th>"), std::string::npos);
  EXPECT_NE(element(v3, "class=\"unbound-list\"").find("Elevator"), std::string::npos);
  EXPECT_NE(
      page.find("<tr class=\"row\"><td><span class=\"command\">Release tow</span></td><td>A</td>"
                "<td>Space</td></tr>"),
      std::string::npos);
  EXPECT_NE(console_.find(" Conflict 3 key Space: Pause, Release tow\n"), std::string::npos);
  EXPECT_NE(console_.find(" Conflict 3 key Up: Engine start, Palvik\n"), std::string::npos);

  // The model, embedded as JSON.
  std::string model = embedded_model(page);
  EXPECT_EQ(model.front(), '{');
  EXPECT_NE(model.find("\"language\":\"en\",\"keyboard\":\"ansi\""), std::string::npos);
  EXPECT_NE(model.find("{\"position\":2,\"command\":\"Pause\",\"kind\":\"key\",\"code\":57,"
                       "\"joystick\":0,\"device\":\"\",\"text\":\"Space\"}"),
            std::string::npos);
  EXPECT_NE(model.find("{\"position\":0,\"command\":\"Aileron\",\"kind\":\"axis\",\"code\":0,"
                       "\"joystick\":1,\"device\":\"Stick One\",\"text\":\"X Axis\"}"),
            std::string::npos);
  EXPECT_NE(model.find("{\"tool\":\"Palvik\",\"setting\":\"KeyMenu\",\"key\":\"Up\",\"code\":200}"),
            std::string::npos);
  EXPECT_NE(model.find("{\"command\":\"Release tow\",\"version2\":\"A\",\"version3\":\"Space\"}"),
            std::string::npos);
  // The reports themselves do not change for it.
  EXPECT_NE(read("work/Controls.txt").find(txt("Release tow", "Space", "Keyboard")),
            std::string::npos);
}

TEST_F(Tavlet, TheReferenceCardInFrenchWithOneVersion) {
  installed_[0] = false;
  write_registry();
  write("work/SCN_AZERTY_FR.txt",
        "2=1\r\n3=2\r\n11=0\r\n16=A\r\n30=Q\r\n44=W\r\n57=Espace\r\n59=F1\r\n200=Haut\r\n");
  write("joysticks.txt", "");
  ASSERT_EQ(run("fr_FR.UTF-8"), 0) << console_;
  const std::string page = read("work/Controls.html");
  EXPECT_NE(page.find("<html lang=\"fr\">"), std::string::npos);
  EXPECT_NE(page.find("Commandes non assign\xC3\xA9"
                      "es"),
            std::string::npos);  // UTF-8
  EXPECT_TRUE(part(page, 2).empty());
  const std::string v3 = part(page, 3);
  ASSERT_FALSE(v3.empty());
  EXPECT_NE(v3.find("data-key=\"86\""), std::string::npos);  // the ISO keyboard's extra key
  EXPECT_NE(element(v3, "data-key=\"44\"").find("Release tow"), std::string::npos);
  // Without the joystick, its section is a device that is not attached.
  std::string away = element(v3, "data-joystick=\"" + joystick_header + "\"");
  EXPECT_NE(away.find("Airbrakes"), std::string::npos);
  EXPECT_EQ(page.find("class=\"differences\""), std::string::npos);
  std::string model = embedded_model(page);
  EXPECT_NE(model.find("\"language\":\"fr\",\"keyboard\":\"iso\""), std::string::npos);
  EXPECT_NE(model.find("\"differences\":null"), std::string::npos);
}

TEST_F(Tavlet, NoReferenceCardWhenTheReportStops) {
  write("work/Controls.html", "last week's card");
  fs::remove(dir_.file("Docs/Aerlon3/Pilots/Ann/controls.ini"));
  EXPECT_EQ(run("en_US.UTF-8"), 1);
  EXPECT_EQ(read("work/Controls.html"), "last week's card");
}

TEST_F(Tavlet, APageThatCantBeWrittenChangesNothingElseAndLeavesNoOldPage) {
  write("joysticks.txt", "");
  // The page's own name taken by a folder: nothing to remove.
  fs::create_directories(dir_.file("work/Controls.html"));
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_TRUE(fs::is_directory(dir_.file("work/Controls.html")));
  EXPECT_FALSE(fs::exists(dir_.file("work/Controls.html.new")));
  EXPECT_EQ(read("dialogs.log"), question_en);
  EXPECT_NE(console_.find(" Controls.html NOT WRITTEN: Controls.html is a folder\n"),
            std::string::npos);
  // Its passing name taken by a folder: last run's page must not stay to be
  // read as today's.
  fs::remove(dir_.file("work/Controls.html"));
  write("work/Controls.html", "last week's page");
  fs::create_directories(dir_.file("work/Controls.html.new"));
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_FALSE(fs::exists(dir_.file("work/Controls.html")));
  EXPECT_TRUE(fs::is_directory(dir_.file("work/Controls.html.new")));
  EXPECT_NE(console_.find(" Controls.html NOT WRITTEN: Controls.html.new is a link or a folder; "
                          "the old page removed\n"),
            std::string::npos);
  EXPECT_EQ(read("work/Controls.txt").substr(0, 3), " \r\n");
}
