#include "converter/conversion.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// Lines given from memory; with `good`, a read error comes after that many.
class Lines : public LineSource {
 public:
  explicit Lines(std::vector<std::string> lines, std::size_t good = SIZE_MAX)
      : lines_(std::move(lines)), good_(good) {}
  std::optional<std::string> next() override {
    if (at_ == good_) failed_ = true;
    if (failed_ || at_ == lines_.size()) return std::nullopt;
    return lines_[at_++];
  }
  bool failed() const override { return failed_; }

 private:
  std::vector<std::string> lines_;
  std::size_t at_ = 0, good_;
  bool failed_ = false;
};

}  // namespace

TEST(Conversion, TheTableOfCommandNumbers) {
  Lines table({"2105=2040", "", "2106 = 2041", "2107=2041", "2200=", "x=2042", "4001=2043",
               "4000=4000", "2108=-1", "0=0"});
  std::optional<CommandMap> k_v3 = read_command_map(table);
  ASSERT_TRUE(k_v3.has_value());
  ASSERT_EQ(k_v3->size(), 4001u);
  EXPECT_EQ((*k_v3)[2040], 2105);
  EXPECT_EQ((*k_v3)[2041], 2107);  // the last line wins
  EXPECT_EQ((*k_v3)[2042], -1);
  EXPECT_EQ((*k_v3)[2043], -1);  // 4001 can't be held
  EXPECT_EQ((*k_v3)[4000], 4000);
  EXPECT_EQ((*k_v3)[0], 0);
}

TEST(Conversion, LinesRenumberedInTheSourcesOrder) {
  CommandMap k_v3(highest_command + 1, -1);
  k_v3[2040] = 2105;
  k_v3[4000] = 3999;
  Lines source({"[Keyboard]   ", "2040 = 25", "", " [Not a header]", "2041=3", "2040=", "4000=7",
                "4001=7", "[{GUID}]", "x=1"});
  EXPECT_EQ(convert_lines(source, k_v3),
            (std::vector<std::string>{"[Keyboard]", "2105=25", "2105=", "3999=7", "[{GUID}]"}));
}

TEST(Conversion, AReadErrorIsNeverTakenForTheEnd) {
  // A table cut short would drop every binding it lost, and a source cut
  // short every binding after the error.
  Lines table({"2105=2040", "2106=2041"}, 1);
  EXPECT_EQ(read_command_map(table), std::nullopt);
  Lines source({"[K]", "2040=25"}, 1);
  EXPECT_EQ(convert_lines(source, CommandMap(highest_command + 1, 2105)), std::nullopt);
  Lines empty({}, 0);
  EXPECT_EQ(read_command_map(empty), std::nullopt);
}
