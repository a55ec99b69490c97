#include "converter/read_back.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

// Tells the lines to `out` as the new file's.
void tell(const std::vector<std::string>& lines, Listener& out) {
  out.pass_started();
  for (const std::string& line : lines) out.new_line({MergedLine::Kind::converted, line});
  out.new_line({MergedLine::Kind::taken, "3101=1"});  // left out: never in the file
}

}  // namespace

TEST(ReadBack, TheNewFileAsMeantOrItsFirstLineThatIsNot) {
  // What the conversion meant, and what the disk gives back.
  const std::vector<std::string> meant = {"[Keyboard]", "2105=25", "3101=57"};
  struct Case {
    const char* what;
    std::string on_disk;
    std::optional<LineDifference> first;
  };
  const std::string long_line = "2105=" + std::string(78, 'v');
  const Case cases[] = {
      {"as written", "[Keyboard]\r\n2105=25\r\n3101=57\r\n", std::nullopt},
      {"a digit flipped", "[Keyboard]\r\n2105=26\r\n3101=57\r\n", LineDifference{2, "2105=25", "2105=26"}},
      {"the last line dropped", "[Keyboard]\r\n2105=25\r\n", LineDifference{3, "3101=57", ""}},
      {"a line more", "[Keyboard]\r\n2105=25\r\n3101=57\r\n3102=1\r\n",
       LineDifference{4, "", "3102=1"}},
      {"a blank line between", "[Keyboard]\r\n\r\n2105=25\r\n3101=57\r\n",
       LineDifference{2, "2105=25", ""}},
  };
  TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dir.write("controls.ini.new", c.on_disk);
    MeantLines told;
    tell(meant, told);
    std::optional<LineDifference> d = read_back(dir.file("controls.ini.new"), told,
                                            [&](Listener& again) { tell(meant, again); });
    ASSERT_EQ(d.has_value(), c.first.has_value());
    if (!d) continue;
    EXPECT_EQ(d->line, c.first->line);
    EXPECT_EQ(d->meant, c.first->meant);
    EXPECT_EQ(d->read, c.first->read);
  }
  // A line longer than the simulator reads is not the line meant.
  dir.write("long.ini", "[K]\r\n" + long_line + "\r\n");
  MeantLines told;
  tell({"[K]", long_line}, told);
  std::optional<LineDifference> d = read_back(dir.file("long.ini"), told, [&](Listener& again) {
    tell({"[K]", long_line}, again);
  });
  ASSERT_TRUE(d);
  EXPECT_EQ(d->line, 2u);
  EXPECT_EQ(d->read, long_line.substr(0, 80));
}

TEST(ReadBack, ACopyByteForByte) {
  struct Case {
    const char* what;
    std::string copy;
    std::optional<std::size_t> differs_at;
  };
  const std::string original = "[K]\r\n3101=25\r\n3102=57\r\n";
  const Case cases[] = {
      {"the same bytes", original, std::nullopt},
      {"cut short", original.substr(0, original.size() - 1), 3u},
      {"a byte changed on the third line", "[K]\r\n3101=25\r\n3102=58\r\n", 3u},
      {"a line end changed", "[K]\n3101=25\r\n3102=57\r\n", 1u},
      {"longer", original + "x", 4u},
  };
  TempDir dir;
  dir.write("controls.ini", original);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dir.write("copy.bak", c.copy);
    std::optional<LineDifference> d = compare_copy(dir.file("copy.bak"), dir.file("controls.ini"));
    ASSERT_EQ(d.has_value(), c.differs_at.has_value());
    if (d) {
      EXPECT_EQ(d->line, *c.differs_at);
    }
  }
  std::optional<LineDifference> d = compare_copy(dir.file("copy.bak"), dir.file("controls.ini"));
  EXPECT_EQ(d->meant, "");
  EXPECT_EQ(d->read, "x");
  // A copy that can't be read is no copy.
  EXPECT_TRUE(compare_copy(dir.file("missing.bak"), dir.file("controls.ini")));
}
