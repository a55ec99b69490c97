#include "report/card.h"

#include <gtest/gtest.h>

#include "report/analysis.h"

namespace {

const std::string stick = "[{9F6A1A40-D1E6-11E9-8001-444553540000}]";

// A version read with the keyboard as section 1, the stick (joystick 1) as
// section 2 and the sections `more` after it.
VersionModel version_of(std::vector<Binding> bindings, std::vector<std::string> more = {}) {
  VersionModel v;
  v.version = 3;
  v.ctrfile = "controls.ini";
  v.devices.sections = {{"[Keyboard]", SectionKind::keyboard, 0, 0},
                        {stick, SectionKind::joystick, 1, 0}};
  for (const std::string& header : more) v.devices.sections.push_back({header});
  v.bindings = std::move(bindings);
  return v;
}

ReportModel model_of(Language language, VersionModel v, std::vector<Joystick> joysticks) {
  ReportModel model;
  model.joysticks = std::move(joysticks);
  model.key_names = {{30, "A"}, {16, "Q"}};
  v.conflicts = find_conflicts(v.bindings, {}, report_texts(language));
  model.versions.push_back(std::move(v));
  return model;
}

const CardKey& key_of(const VersionCard& v, std::int32_t code) {
  for (const CardKey& k : v.keys) {
    if (k.place.code == code) return k;
  }
  static const CardKey none{};
  ADD_FAILURE() << "no key " << code;
  return none;
}

std::vector<std::string> labels(const std::vector<CardControl>& controls) {
  std::vector<std::string> out;
  for (const CardControl& c : controls) out.push_back(c.label);
  return out;
}

}  // namespace

TEST(Card, KeysTheirCommandsToolsAndState) {
  VersionModel v = version_of({{0, "Pause", BindingKind::key, 30, "A", 0, ""},
                               {1, "Brake", BindingKind::key, 30, "A", 0, ""},
                               {0, "Pause", BindingKind::key, 30, "A", 0, ""}});
  ReportModel model = model_of(Language::english, v, {{"Stick", stick, 0, 0}});
  // A tool read whole takes Q and A; one read short takes W, read before
  // its error, and may take any other.
  model.tools = {{"Palvik", "P.ini", {{"KeyA", "A", 30, 0}, {"KeyQ", "Q", 16, 1}}, true},
                 {"Serunt", "S.ini", {{"KeyW", "W", 17, 2}}, false}};
  Card card = build_card(model, report_texts(Language::english));
  ASSERT_EQ(card.versions.size(), 1u);
  const VersionCard& vc = card.versions[0];
  const CardKey& a = key_of(vc, 30);
  EXPECT_EQ(a.name, "A");
  EXPECT_EQ(a.lines, (std::vector<std::string>{"Pause", "Brake", "Palvik"}));
  EXPECT_EQ(a.commands, 2u);
  EXPECT_EQ(a.state, KeyState::bound);
  EXPECT_TRUE(a.conflict);
  EXPECT_EQ(key_of(vc, 16).state, KeyState::taken);
  EXPECT_EQ(key_of(vc, 17).state, KeyState::taken);
  // Serunt's file read short may take any key nothing else does: not known.
  EXPECT_EQ(key_of(vc, 18).state, KeyState::unknown);
  // What a screen reader says of each.
  auto said = [&](std::int32_t code) {
    std::string all;
    for (const TextRun& run : key_of(vc, code).label) all += run.text;
    return all;
  };
  const std::string may_be = ", may also be Serunt's: its file could not be read to its end";
  EXPECT_EQ(said(30), "A: Pause, Brake, taken by Palvik (conflict)" + may_be);
  EXPECT_EQ(said(16), "Q: taken by Palvik" + may_be);
  EXPECT_EQ(said(17), "(17): taken by Serunt");
  EXPECT_EQ(said(18), "(18): not known, Serunt's file could not be read");
  EXPECT_TRUE(vc.free_keys.empty());
  ASSERT_EQ(card.unread_tools.size(), 1u);
  EXPECT_EQ(bytes_of(card.unread_tools[0]), "S.ini could not be read to its end.");
  // Every file read: free.
  model.tools.pop_back();
  EXPECT_EQ(key_of(build_card(model, report_texts(Language::english)).versions[0], 18).state,
            KeyState::free);
  EXPECT_FALSE(key_of(vc, 16).conflict);
  EXPECT_FALSE(key_of(vc, 28).enter_top.has_value());  // the US keyboard's Enter
  model.keyboard = KeyboardKind::iso;
  EXPECT_TRUE(key_of(build_card(model, report_texts(Language::english)).versions[0], 28).enter_top);
}

TEST(Card, KeysThatShowOnlyAPartAndKeysOffTheDrawing) {
  std::vector<Binding> bindings;
  for (const char* c : {"Pause", "Brake", "Flaps", "Trim nose up"}) {
    bindings.push_back({0, c, BindingKind::key, 30, "A", 0, ""});
  }
  bindings.push_back({1, "Chat", BindingKind::unrecognised_key, 300, "", 0, ""});
  Card card = build_card(model_of(Language::english, version_of(bindings), {}),
                         report_texts(Language::english));
  const VersionCard& v = card.versions[0];
  const CardKey& a = key_of(v, 30);
  EXPECT_EQ(a.fit.shown, (std::vector<bool>{true, true, false, false}));
  ASSERT_EQ(v.part_shown.size(), 1u);
  EXPECT_EQ(v.keys[v.part_shown[0]].place.code, 30);
  ASSERT_EQ(v.off_drawing.size(), 1u);
  EXPECT_EQ(v.off_drawing[0].command, "Chat");
  ASSERT_EQ(v.off_drawing[0].place.size(), 2u);
  EXPECT_EQ(v.off_drawing[0].place[0].text, "Unrecognized key");
  EXPECT_TRUE(v.off_drawing[0].place[0].own);
  EXPECT_EQ(v.off_drawing[0].place[1].text, " (300)");
}

TEST(Card, AJoysticksControlsAndThoseLeftFree) {
  // Declares 3 axes and 12 buttons; binds button 1 and button 14 beyond.
  VersionModel v = version_of({{0, "Roll", BindingKind::axis, 0, "", 1, "Stick"},
                               {1, "Brake", BindingKind::button, 1, "", 1, "Stick"},
                               {2, "Flaps", BindingKind::button, 14, "", 1, "Stick"},
                               {2, "Flaps", BindingKind::button, 14, "", 1, "Stick"}},
                              {stick});  // the stick's section again
  v.devices.sections[2] = {stick, SectionKind::joystick, 1, 0};
  for (Language language : {Language::english, Language::french}) {
    Card card =
        build_card(model_of(language, v, {{"Stick", stick, 3, 12}}), report_texts(language));
    const VersionCard& vc = card.versions[0];
    ASSERT_EQ(vc.joysticks.size(), 1u);  // one card for a section given twice
    const JoystickCard& j = vc.joysticks[0];
    EXPECT_TRUE(j.attached);
    EXPECT_EQ(j.name, "Stick");
    EXPECT_EQ(labels(j.axes), language == Language::french
                                  ? (std::vector<std::string>{"Axe X", "Axe Y", "Axe Z"})
                                  : (std::vector<std::string>{"X Axis", "Y Axis", "Z Axis"}));
    ASSERT_EQ(j.buttons.size(), 13u);  // 0..11, and 14
    EXPECT_EQ(j.buttons.back().index, 14);
    EXPECT_EQ(j.buttons.back().commands, (std::vector<std::string>{"Flaps"}));
    EXPECT_FALSE(j.buttons.back().conflict);
    ASSERT_TRUE(j.free_buttons);
    EXPECT_EQ(j.free_buttons->head, language == Language::french ? "Boutons" : "Buttons");
    EXPECT_EQ(j.free_buttons->tail, language == Language::french ? "libres" : "free");
    using Runs = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(j.free_buttons->runs, (Runs{{"0", ""}, {"2", "11"}}));
    ASSERT_TRUE(j.free_axes);
    EXPECT_EQ(j.free_axes->head, "Axes");
    EXPECT_EQ(j.free_axes->runs, (Runs{{"Y", ""}, {"Z", ""}}));  // two in a row: each
  }
}

TEST(Card, OneAxisFreeAndTheSideWindersAxisThree) {
  // The reports never list the SideWinder Force Feedback 2's axis 3 as
  // unused; nor does its card, unless it is bound.
  const std::string sw(sidewinder_ff2);
  VersionModel v = version_of({{0, "Roll", BindingKind::axis, 0, "", 1, sw},
                               {1, "Pitch", BindingKind::axis, 1, "", 1, sw},
                               {2, "Yaw", BindingKind::axis, 2, "", 1, sw}});
  Card card = build_card(model_of(Language::french, v, {{sw, stick, 5, 0}}),
                         report_texts(Language::french));
  const JoystickCard& j = card.versions[0].joysticks[0];
  EXPECT_EQ(labels(j.axes), (std::vector<std::string>{"Axe X", "Axe Y", "Axe Z", "Axe 4"}));
  ASSERT_TRUE(j.free_axes);
  EXPECT_EQ(j.free_axes->head, "Axe");
  EXPECT_EQ(j.free_axes->tail, "libre");
  EXPECT_FALSE(j.free_buttons);
  // One free button: headed as one too.
  Card one = build_card(model_of(Language::french, v, {{sw, stick, 5, 1}}),
                        report_texts(Language::french));
  const JoystickCard& k = one.versions[0].joysticks[0];
  ASSERT_TRUE(k.free_buttons);
  EXPECT_EQ(k.free_buttons->head, "Bouton");
  EXPECT_EQ(k.free_buttons->tail, "libre");
}

TEST(Card, ADeviceNotAttachedListsItsValuesAsButtonsAndItsAxes) {
  VersionModel v = version_of({{0, "Brake", BindingKind::not_attached, 50, "", 0, "[Pedals]"},
                               {1, "Chat", BindingKind::not_attached, 10, "", 0, "[Pedals]"},
                               {4, "Gear", BindingKind::not_attached, 48, "", 0, "[Pedals]"},
                               {2, "Yaw", BindingKind::unbound, 0, "", 0, ""},
                               {3, "Pitch", BindingKind::unbound, 0, "", 0, ""}},
                              {"[Pedals]", "[Empty]"});
  // Yaw on the pedals' first axis: on their card, not among the unbound.
  v.unattached_axes = {{2, "Yaw", BindingKind::axis, 0, "", 0, "[Pedals]"}};
  Card card = build_card(model_of(Language::english, v, {{"Stick", stick, 0, 0}}),
                         report_texts(Language::english));
  const VersionCard& vc = card.versions[0];
  ASSERT_EQ(vc.joysticks.size(), 3u);
  const JoystickCard& pedals = vc.joysticks[1];
  EXPECT_FALSE(pedals.attached);
  EXPECT_EQ(pedals.header, "[Pedals]");
  ASSERT_EQ(pedals.buttons.size(), 3u);
  EXPECT_EQ(pedals.buttons[0].index, 2);
  EXPECT_EQ(pedals.buttons[0].label, "Button 2");
  EXPECT_EQ(pedals.buttons[1].index, -1);  // 10 names no button
  EXPECT_EQ(pedals.buttons[1].label, "?");
  EXPECT_EQ(pedals.buttons[2].label, "Button 0");  // 48, the first
  ASSERT_EQ(pedals.axes.size(), 1u);
  EXPECT_EQ(pedals.axes[0].label, "X Axis");
  EXPECT_EQ(pedals.axes[0].commands, std::vector<std::string>{"Yaw"});
  EXPECT_EQ(vc.unbound, std::vector<std::string>{"Pitch"});
  EXPECT_TRUE(vc.joysticks[2].buttons.empty());
  EXPECT_TRUE(vc.joysticks[2].axes.empty());
}

TEST(Card, ConflictsUnboundCommandsAndDifferences) {
  VersionModel v2 = version_of({{0, "Pause", BindingKind::key, 30, "A", 0, ""},
                                {0, "Pause", BindingKind::key, 16, "Q", 0, ""},
                                {1, "Brake", BindingKind::key, 30, "A", 0, ""},
                                {2, "Chat", BindingKind::unbound, 0, "", 0, ""}});
  ReportModel model = model_of(Language::french, v2, {{"Stick", stick, 2, 2}});
  VersionModel v3 = version_of({{0, "Pause", BindingKind::button, 1, "", 1, "Stick"}});
  v3.version = 3;
  model.versions[0].version = 2;
  model.versions.push_back(v3);
  model.compared = true;
  model.differences = {{"Pause", 0, 0}, {"Chat", 2, 5}};
  Card card = build_card(model, report_texts(Language::french));
  const VersionCard& first = card.versions[0];
  ASSERT_EQ(first.conflicts.size(), 1u);
  EXPECT_EQ(first.conflicts[0].place, "A");
  EXPECT_EQ(first.conflicts[0].commands, (std::vector<std::string>{"Pause", "Brake"}));
  EXPECT_EQ(first.unbound, (std::vector<std::string>{"Chat"}));
  ASSERT_TRUE(card.compared);
  ASSERT_EQ(card.differences.size(), 2u);
  auto joined = [](const MixedText& text) {
    std::string all;
    for (const TextRun& run : text) all += (run.own ? "[" : "") + run.text + (run.own ? "]" : "");
    return all;
  };
  EXPECT_EQ(joined(card.differences[0].version2), "A, Q");  // bound twice: both places
  EXPECT_EQ(joined(card.differences[0].version3), "[Bouton 1] (Stick)");
  EXPECT_EQ(joined(card.differences[1].version2),
            "[Non assign\xE9"
            "e]");
  EXPECT_EQ(joined(card.differences[1].version3), "");
}

TEST(Card, FreeKeysAsTheReportsListThemInRunsAlongARowOfABlock) {
  // F1 bound; Q taken; the digits row free but 4 (not in the table); E
  // free but nameless; Num 7 8 9 and Delete, End, Page Down free.
  VersionModel v = version_of({{0, "Help", BindingKind::key, 59, "F1", 0, ""}});
  ReportModel model = model_of(Language::english, v, {});
  model.tools = {{"Palvik", "P.ini", {{"KeyQ", "Q", 16, 0}}, true}};
  model.key_names.clear();
  const std::pair<std::int32_t, const char*> keys[] = {
      {59, "F1"},    {60, "F2"},      {61, "F3"},   {2, "1"},          {3, "2"},      {4, "3"},
      {6, "5"},      {7, "6"},        {16, "Q"},    {17, "W"},         {71, "Num 7"}, {72, "Num 8"},
      {73, "Num 9"}, {211, "Delete"}, {207, "End"}, {209, "Page Down"}};
  for (auto [code, name] : keys) {
    model.keys.push_back({code, name});
    model.key_names.emplace_back(code, name);
  }
  model.key_names.emplace_back(5, "4");  // drawn, but not a key of the table
  std::vector<std::pair<std::string, std::string>> runs;
  Card card = build_card(model, report_texts(Language::english));
  for (const KeyRun& r : card.versions[0].free_keys) {
    runs.emplace_back(r.first, r.last);
  }
  // Two in a row are told apart; the navigation block and the pad are
  // runs of their own, beside the main block's.
  EXPECT_EQ(runs, (std::vector<std::pair<std::string, std::string>>{{"F2", ""},
                                                                    {"F3", ""},
                                                                    {"1", "3"},
                                                                    {"5", ""},
                                                                    {"6", ""},
                                                                    {"W", ""},
                                                                    {"Delete", "Page Down"},
                                                                    {"Num 7", "Num 9"}}));
}

TEST(Card, EachJoystickItsOwnControlsConflictsAndFreeOnes) {
  // Two sticks binding button 1 and their axes apart; button 1 twice on the
  // throttle only; Roll at another position in version 3's table, on the
  // throttle's Y there.
  const std::string throttle = "[{B0C1D2E3-4F5A-11E9-8002-444553540000}]";
  VersionModel v2 = version_of({{0, "Roll", BindingKind::axis, 0, "", 1, "Stick"},
                                {1, "Fire", BindingKind::button, 1, "", 1, "Stick"},
                                {2, "Gear", BindingKind::button, 1, "", 2, "Throttle"},
                                {3, "Flaps", BindingKind::button, 1, "", 2, "Throttle"},
                                {4, "Brake", BindingKind::button, 2, "", 1, "Stick"}},
                               {throttle});
  v2.version = 2;
  v2.devices.sections[2] = {throttle, SectionKind::joystick, 2, 0};
  VersionModel v3 = v2;
  v3.version = 3;
  v3.bindings[0] = {5, "Roll", BindingKind::axis, 1, "", 2, "Throttle"};
  ReportModel model =
      model_of(Language::english, v2, {{"Stick", stick, 2, 3}, {"Throttle", throttle, 2, 2}});
  model.versions.push_back(v3);
  model.versions[1].conflicts = find_conflicts(v3.bindings, {}, report_texts(Language::english));
  model.compared = true;
  model.differences = {{"Roll", 0, 5}};
  Card card = build_card(model, report_texts(Language::english));
  const VersionCard& vc = card.versions[0];
  ASSERT_EQ(vc.joysticks.size(), 2u);
  const JoystickCard& s = vc.joysticks[0];
  const JoystickCard& t = vc.joysticks[1];
  EXPECT_EQ(s.name, "Stick");
  EXPECT_EQ(s.buttons[1].commands, (std::vector<std::string>{"Fire"}));
  EXPECT_FALSE(s.buttons[1].conflict);
  EXPECT_EQ(t.buttons[1].commands, (std::vector<std::string>{"Gear", "Flaps"}));
  EXPECT_TRUE(t.buttons[1].conflict);
  // The throttle has no button 2, which the stick binds.
  EXPECT_EQ(t.buttons.size(), 2u);
  // Each stick's free ones: the stick's button 0, axis Y; the throttle's
  // button 0 and both axes.
  using Runs = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(s.free_buttons->runs, (Runs{{"0", ""}}));
  EXPECT_EQ(s.free_axes->runs, (Runs{{"Y", ""}}));
  EXPECT_EQ(t.free_buttons->runs, (Runs{{"0", ""}}));
  EXPECT_EQ(t.free_axes->runs, (Runs{{"X", ""}, {"Y", ""}}));
  // Version 3 binds the throttle's Y: not free there.
  EXPECT_EQ(card.versions[1].joysticks[1].free_axes->runs, (Runs{{"X", ""}}));
  ASSERT_EQ(card.differences.size(), 1u);
  EXPECT_EQ(bytes_of(card.differences[0].version2), "X Axis (Stick)");
  EXPECT_EQ(bytes_of(card.differences[0].version3), "Y Axis (Throttle)");
}
