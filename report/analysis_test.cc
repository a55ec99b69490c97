#include "report/analysis.h"

#include <gtest/gtest.h>

namespace {

Binding bind(const std::string& command, BindingKind kind, std::int32_t code,
             std::int32_t joystick = 0, const std::string& key_name = "") {
  return {0, command, kind, code, key_name, joystick, joystick ? "Stick" : ""};
}

std::vector<std::string> lines(const std::vector<Conflict>& conflicts) {
  std::vector<std::string> out;
  for (const Conflict& c : conflicts) out.push_back(conflict_line(c));
  return out;
}

}  // namespace

TEST(Conflicts, APlaceBoundToTwoCommands) {
  ReportTexts en = report_texts(Language::english);
  std::vector<Binding> bindings = {
      bind("Pause", BindingKind::key, 30, 0, "A"),
      bind("Pause", BindingKind::key, 30, 0, "A"),  // the same command twice: no conflict
      bind("Brake", BindingKind::key, 31, 0, "S"),
      bind("Chat", BindingKind::key, 31, 0, "S"),
      bind("Roll", BindingKind::axis, 0, 1),
      bind("Yaw", BindingKind::axis, 0, 1),
      bind("Trim", BindingKind::axis, 0, 2),  // another joystick
      bind("Fire", BindingKind::button, 3, 1),
      bind("Tow", BindingKind::button, 3, 1),
      bind("Gear", BindingKind::button, 3, 2),  // another joystick
      bind("Tow", BindingKind::button, 4, 1),
      bind("Unknown", BindingKind::unrecognised_key, 99),
      bind("Other", BindingKind::unrecognised_key, 99),
      bind("Chat", BindingKind::not_attached, 48),
      bind("Tow", BindingKind::not_attached, 48),
      bind("Gear", BindingKind::unbound, 0),
      bind("Flaps", BindingKind::unbound, 0)};
  EXPECT_EQ(lines(find_conflicts(bindings, {}, en)),
            (std::vector<std::string>{"key S: Brake, Chat", "axis X Axis Stick: Roll, Yaw",
                                      "button Button 3 Stick: Fire, Tow",
                                      "key Unrecognized key 99: Unknown, Other"}));
}

TEST(Conflicts, AKeyThatASiblingToolTakes) {
  ReportTexts en = report_texts(Language::english);
  // A button is no key: button 30 and the tools' key 30 do not meet.
  std::vector<Binding> bindings = {bind("Pause", BindingKind::key, 30, 0, "A"),
                                   bind("Brake", BindingKind::key, 200, 0, "Up"),
                                   bind("Fire", BindingKind::button, 30, 1)};
  std::vector<ToolKeys> tools = {
      {"Palvik", "P.ini", {{"KeyMenu", "Up", 200, 1}, {"KeyOdd", "?", -1, -1}}, true},
      {"Serunt", "S.ini", {{"KeyA", "A", 30, 0}, {"KeyUp", "Up", 200, 1}}, true},
      {"Short", "X.ini", {{"KeyA", "A", 30, 0}}, false}};  // read short: what was read counts
  std::vector<Conflict> conflicts = find_conflicts(bindings, tools, en);
  EXPECT_EQ(lines(conflicts), (std::vector<std::string>{"key A: Pause, Serunt, Short",
                                                        "key Up: Brake, Palvik, Serunt"}));
  EXPECT_EQ(conflicts[1].code, 200);
}

TEST(Sort, StableAscending) {
  std::vector<std::int32_t> keys = {3, 1, 2, 1};
  std::vector<std::string> lines = {"a", "b", "c", "d"};
  my_sort_i_c(4, keys, lines, true);
  EXPECT_EQ(keys, (std::vector<std::int32_t>{1, 1, 2, 3}));
  EXPECT_EQ(lines, (std::vector<std::string>{"b", "d", "c", "a"}));

  keys = {2, 1};
  lines = {"x", "y"};
  my_sort_i_c(1, keys, lines, true);  // one entry: nothing moves
  my_sort_i_c(0, keys, lines, true);
  EXPECT_EQ(lines, (std::vector<std::string>{"x", "y"}));

  keys = {1, 3, 3, 2};
  lines = {"a", "b", "c", "d"};
  my_sort_i_c(4, keys, lines, false);
  EXPECT_EQ(lines, (std::vector<std::string>{"b", "c", "d", "a"}));
}

TEST(Bindings, SortedByCommandInTheOrderRead) {
  std::vector<Binding> bindings = {{2, "Brake", BindingKind::key, 30, "A", 0, ""},
                                   {0, "Roll", BindingKind::unbound, 0, "", 0, ""},
                                   {2, "Brake", BindingKind::button, 0, "", 1, "Stick"},
                                   {1, "Pause", BindingKind::key, 25, "P", 0, ""}};
  sort_bindings(bindings);
  std::vector<std::string> order;
  for (const Binding& b : bindings) order.push_back(b.command + "/" + std::to_string(b.code));
  EXPECT_EQ(order, (std::vector<std::string>{"Roll/0", "Pause/25", "Brake/30", "Brake/0"}));
}

TEST(Found, DifferencesByNameWhateverThePositions) {
  // Pause is the first command of version 2 and the second of version 3.
  CommandTable v2 = {{3001, "Pause"}};
  CommandTable v3 = {{3105, "Engine start"}, {3101, "PAUSE"}};
  VersionModel read2, read3;
  read2.k_cmd = {57};
  read3.k_cmd = {never_bound, 57};
  EXPECT_TRUE(find_differences(v2, read2, v3, read3).empty());
  read3.k_cmd = {57, 16};
  std::vector<Difference> d = find_differences(v2, read2, v3, read3);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].command, "Pause");
  EXPECT_EQ(d[0].position2, 0);
  EXPECT_EQ(d[0].position3, 1);
}

TEST(Found, KeysThatNothingUses) {
  // Only the first entry of a code counts as used; a tool's key may be the
  // table's first entry; an extended key's entry above 256 goes with it.
  ScanCodeTable keys = {{30, "A"}, {30, "A again"}, {16, "Q"}, {200, "Up"}, {328, "Up ext"}};
  VersionModel v;
  v.bindings = {{0, "Pause", BindingKind::key, 30, "A", 0, ""}};
  EXPECT_EQ(unused_key_codes(keys, {v}, {}), (std::vector<std::int32_t>{30, 16, 200}));
  std::vector<ToolKeys> tools = {{"Palvik", "P.ini", {{"KeyA", "A", 30, 0}}, true}};
  EXPECT_EQ(unused_key_codes(keys, {}, tools), (std::vector<std::int32_t>{30, 16, 200}));
  // A tool whose file could not be read to its end takes the keys read
  // before the error, as in the conflicts.
  tools.push_back({"Serunt", "S.ini", {{"KeyQ", "Q", 16, 2}}, false});
  EXPECT_EQ(unused_key_codes(keys, {}, tools), (std::vector<std::int32_t>{30, 200}));
}

TEST(Found, FreeControlsOfAJoystickBeyondTheModel) {
  // 40 axes and 600 buttons declared: the model holds axes 0..32 and
  // buttons 0..512.
  std::vector<FreeControls> free = free_controls({{"Stick", "[S]", 40, 600}}, {});
  ASSERT_EQ(free.size(), 1u);
  ASSERT_EQ(free[0].axes.size(), 33u);
  EXPECT_EQ(free[0].axes.back(), 32);
  ASSERT_EQ(free[0].buttons.size(), 513u);
  EXPECT_EQ(free[0].buttons.back(), 512);
}
