#include "report/rows.h"

#include <gtest/gtest.h>

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

namespace {

Binding bind(std::int32_t position, const std::string& command, BindingKind kind,
             std::int32_t code = 0, const std::string& key_name = "", std::int32_t joystick = 0,
             const std::string& device = "") {
  return {position, command, kind, code, key_name, joystick, device};
}

}  // namespace

TEST(Bindings, SortedByCommandInTheOrderRead) {
  std::vector<Binding> bindings = {bind(2, "Brake", BindingKind::key, 30, "A"),
                                   bind(0, "Roll", BindingKind::unbound),
                                   bind(2, "Brake", BindingKind::button, 0, "", 1, "Stick"),
                                   bind(1, "Pause", BindingKind::key, 25, "P")};
  sort_bindings(bindings);
  std::vector<std::string> order;
  for (const Binding& b : bindings) order.push_back(b.command + "/" + std::to_string(b.code));
  EXPECT_EQ(order, (std::vector<std::string>{"Roll/0", "Pause/25", "Brake/30", "Brake/0"}));
}

TEST(Bindings, RenderedAsTheRowsOfEachKind) {
  Layout layout = make_layout(6, false);
  ReportTexts en = report_texts(false);
  std::vector<Binding> bindings = {bind(0, "Roll", BindingKind::axis, 1, "", 1, "Stick"),
                                   bind(1, "Pause", BindingKind::key, 2, "1"),
                                   bind(1, "Pause", BindingKind::unrecognised_key, 99),
                                   bind(2, "Brake", BindingKind::button, 3, "", 1, "Stick"),
                                   bind(2, "Brake", BindingKind::not_attached, 48, "", 0, "[{X}]"),
                                   bind(3, "Chat", BindingKind::unbound)};
  VersionRows rows = render_rows(bindings, layout, en);
  EXPECT_EQ(rows.line_out,
            (std::vector<std::string>{
                "Roll      Y Axis                        Stick",
                "Pause     1                             Keyboard", "Pause     Unrecognized key",
                "Brake     Button 3                      Stick",
                "Brake     Not assigned to a keyboard key", "Chat      Unassigned"}));
  EXPECT_EQ(rows.line_csv,
            (std::vector<std::string>{
                "\"Roll\",\"Y Axis\",\"Stick\",", "\"Pause\",=\"1\",\"Keyboard\",",
                "\"Pause\",\"Unrecognized key\",\" \",", "\"Brake\",\"Button 3\",\"Stick\",",
                "\"Brake\",\"Not assigned to a keyboard key" + std::string(34, ' ') + "\",\" \",",
                "\"Chat\",\"Unassigned\",\" \","}));
}
