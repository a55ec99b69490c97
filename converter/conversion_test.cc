#include "converter/conversion.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "converter/keep.h"

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
  std::vector<std::string> texts, values;
  ASSERT_TRUE(convert_lines(source, k_v3, [&](const ConvertedLine& line) {
    texts.push_back(line.text);
    values.push_back(line.header ? "[" : line.value);
  }));
  EXPECT_EQ(texts,
            (std::vector<std::string>{"[Keyboard]", "2105=25", "2105=", "3999=7", "[{GUID}]"}));
  EXPECT_EQ(values, (std::vector<std::string>{"[", "25", "", "7", "["}));
}

TEST(Conversion, AReadErrorIsNeverTakenForTheEnd) {
  // A table cut short would drop every binding it lost, and a source cut
  // short every binding after the error.
  Lines table({"2105=2040", "2106=2041"}, 1);
  EXPECT_EQ(read_command_map(table), std::nullopt);
  Lines source({"[K]", "2040=25"}, 1);
  EXPECT_FALSE(
      convert_lines(source, CommandMap(highest_command + 1, 2105), [](const ConvertedLine&) {}));
  Lines empty({}, 0);
  EXPECT_EQ(read_command_map(empty), std::nullopt);
}

namespace {

// The new file that a conversion keeping the old file's own bindings
// writes: kept lines marked "+ ", lines left out as taken "- ", set aside
// "x ".
std::vector<std::string> kept(const std::vector<std::string>& table,
                              const std::vector<std::string>& source,
                              const std::vector<std::string>& old) {
  Lines table_lines(table), source_lines(source), old_lines(old);
  std::optional<CommandMap> k_v3 = read_command_map(table_lines);
  OldFile old_file = read_old_file(old_lines, VersionThreeOnly(*k_v3));
  EXPECT_EQ(old_file.read, OldFile::Read::whole);
  Keeper keeper(old_file.sections);
  std::vector<std::string> out;
  auto add = [&](const std::vector<MergedLine>& lines) {
    for (const MergedLine& line : lines) {
      const char* mark = line.kind == MergedLine::Kind::kept        ? "+ "
                         : line.kind == MergedLine::Kind::taken     ? "- "
                         : line.kind == MergedLine::Kind::set_aside ? "x "
                                                                    : "";
      out.push_back(mark + line.text);
    }
  };
  // Two passes over the source, as the conversion makes them.
  Lines first_pass(source);
  EXPECT_TRUE(
      convert_lines(first_pass, *k_v3, [&](const ConvertedLine& line) { keeper.look_at(line); }));
  EXPECT_TRUE(convert_lines(source_lines, *k_v3,
                            [&](const ConvertedLine& line) { add(keeper.take(line)); }));
  add(keeper.finish());
  std::size_t kept_lines = 0, taken_lines = 0, set_aside_lines = 0;
  for (const std::string& line : out) {
    kept_lines += line.rfind("+ ", 0) == 0 && line.find("+ [") != 0 ? 1 : 0;
    taken_lines += line.rfind("- ", 0) == 0 ? 1 : 0;
    set_aside_lines += line.rfind("x ", 0) == 0 && line.find("x [") != 0 ? 1 : 0;
  }
  EXPECT_EQ(keeper.kept(), kept_lines);
  EXPECT_EQ(keeper.taken(), taken_lines);
  EXPECT_EQ(keeper.set_aside(), set_aside_lines);
  return out;
}

}  // namespace

TEST(Conversion, KeepsTheOldFilesOwnBindings) {
  const std::vector<std::string> table = {"2105=2040", "3010=3001", "3500=", "3020=3005",
                                          "3021=3005"};
  const std::vector<std::string> source = {"[Keyboard]", "3001=30", "3005=45", "[{JOY-A}]",
                                           "2040=48"};
  struct Case {
    const char* what;
    std::vector<std::string> source, old, expected;
    std::vector<std::string> own_table = {};  // where a case needs a table of its own
  };
  const Case cases[] = {
      // Version-3-only by a blank right part (3500), by absence (3501, 3600)
      // and by a later line that took its version-2 number (3020); 3501's
      // value is 3021's now; a device only the old file has.
      {"the example",
       source,
       {"[Keyboard]", "3010=99", "3500=18", "3501=45", "3020=50", "[{JOY-A}]", "3600=49", "2105=50",
        "[{JOY-V3}]", "3010=48"},
       {"[Keyboard]", "3010=30", "3021=45", "+ 3500=18", "- 3501=45", "+ 3020=50", "[{JOY-A}]",
        "2105=48", "+ 3600=49", "+ [{JOY-V3}]", "+ 3010=48"}},
      {"no old file: the conversion as it is",
       source,
       {},
       {"[Keyboard]", "3010=30", "3021=45", "[{JOY-A}]", "2105=48"}},
      // A blank value is never taken; a converted blank value takes none.
      {"blank values",
       {"[K]", "3001=", "3005=7"},
       {"[K]", "3500=", "3501= 7 ", "3502=   "},
       {"[K]", "3010=", "3021=7", "+ 3500=", "- 3501=7", "+ 3502="}},
      // Headers compare without trailing blanks nor letter case, as Windows
      // reads sections; a section the new file has twice keeps after its
      // first; the old file's sections of one header keep together; lines
      // before any header, blank lines, keys that are no number and " ["
      // lines are left out.
      {"headers and lines that are not kept",
       {"[K]  ", "3001=1", "[k]", "[K]", "3001=2"},
       {"3500=1", "", "[K]", "3501=5", "x=3", " [K]", "[k] ", "3502=6", "[K]", "-3=0",
        "99999999:4"},
       {"[K]", "3010=1", "+ 3501=5", "+ 3502=6", "+ -3=0", "+ 99999999=4", "[k]", "[K]", "3010=2"}},
      // What a binding takes as the report reads it, not its text: a key
      // code in the keyboard section (the one with the most 3000s); in a
      // stick's, a button from 3000 on, else an axis ((value mod 1000) / 4),
      // never a button for an axis.
      {"a key, an axis and a button as the report reads them",
       {"[Keyboard]", "3001=018", "3005=30", "[{JOY-A}]", "2040=1001", "3005=49"},
       {"[Keyboard]", "3500=18", "3501=19", "[{JOY-A}]", "2600=1000", "2601=1004", "3602=049",
        "2602=49"},
       {"[Keyboard]", "3010=018", "3021=30", "- 3500=18", "+ 3501=19", "[{JOY-A}]", "2105=1001",
        "3021=49", "- 2600=1000", "+ 2601=1004", "- 3602=049", "+ 2602=49"}},
      // Every section of one header counts, whatever its letter case: a
      // stick the version-2 file gives twice, an old "[keyboard]".
      {"a section given twice, a header in another letter case",
       {"[Keyboard]", "3001=30", "[{JOY-A}]", "2040=1000", "[{JOY-A}]", "3005=48"},
       {"[keyboard]", "3500=30", "3501=31", "[{joy-a}]", "3600=48", "3601=50"},
       {"[Keyboard]", "3010=30", "- 3500=30", "+ 3501=31", "[{JOY-A}]", "2105=1000", "- 3600=48",
        "+ 3601=50", "[{JOY-A}]", "3021=48"}},
      // A header's name as Windows reads it: a tab or blanks around it, or a
      // note after its "]", name the same section.
      {"headers as Windows reads them",
       {"[Keyboard]", "3001=30"},
       {"[Keyboard]\t", "3500=18", "[\t keyboard ] ; a note", "3501=19"},
       {"[Keyboard]", "3010=30", "+ 3500=18", "+ 3501=19"}},
      // What is kept never makes another section than the version-2
      // keyboard's hold the most 3000s, and so pass for the keyboard: a
      // stick's kept buttons, a stick kept whole (ties go to the first),
      // counting what the keyboard keeps.
      {"a stick's kept buttons that would outnumber the keyboard's keys",
       {"[Keyboard]", "3001=30", "[{JOY-A}]", "3005=48"},
       {"[{JOY-A}]", "3500=49", "3501=50"},
       {"[Keyboard]", "3010=30", "[{JOY-A}]", "3021=48", "x 3500=49", "x 3501=50"}},
      {"a stick kept whole that would outnumber them",
       {"[Keyboard]", "3001=30"},
       {"[{JOY-V3}]", "3500=48", "3501=49", "[{JOY-V3}]", "3502=50"},
       {"[Keyboard]", "3010=30", "x [{JOY-V3}]", "x 3500=48", "x 3501=49", "x [{JOY-V3}]",
        "x 3502=50"}},
      {"one that only equals them",
       {"[Keyboard]", "3001=30"},
       {"[Keyboard]", "3500=18", "[{JOY-V3}]", "3500=48", "3501=49"},
       {"[Keyboard]", "3010=30", "+ 3500=18", "+ [{JOY-V3}]", "+ 3500=48", "+ 3501=49"}},
      {"a stick before the keyboard that ties with it",
       {"[{JOY-A}]", "3005=48", "[Keyboard]", "3001=30", "3005=31"},
       {"[{JOY-A}]", "3500=49"},
       {"[{JOY-A}]", "3021=48", "x 3500=49", "[Keyboard]", "3010=30", "3021=31"}},
      // The keyboard section reads key codes whatever the command (17 is not
      // 16, though both would be axis 4), and is the first of sections
      // with as many 3000s.
      {"the keyboard section, the first of equal ones",
       {"[Keyboard]", "3001=30", "2040=17", "[{JOY-A}]", "3005=1"},
       {"[Keyboard]", "2601=16"},
       {"[Keyboard]", "3010=30", "2105=17", "+ 2601=16", "[{JOY-A}]", "3021=1"}},
      // 3000, the lowest key command, counts as 3999 does: in the new
      // file's keyboard, in what it keeps, in a stick kept whole.
      {"3000 in the new file's keyboard: the stick only ties with it",
       {"[Keyboard]", "3003=30", "3001=31", "[{JOY-A}]", "3005=48"},
       {"[{JOY-A}]", "3500=49"},
       {"[Keyboard]", "3000=30", "3010=31", "[{JOY-A}]", "3021=48", "+ 3500=49"},
       {"3000=3003", "3010=3001", "3021=3005", "3500="}},
      {"3000 kept in the keyboard: the stick only ties with it",
       {"[Keyboard]", "3001=30", "[{JOY-A}]", "3005=48"},
       {"[Keyboard]", "3000=18", "[{JOY-A}]", "3500=49"},
       {"[Keyboard]", "3010=30", "+ 3000=18", "[{JOY-A}]", "3021=48", "+ 3500=49"},
       {"3000=", "3010=3001", "3021=3005", "3500="}},
      // Command 0 is a command like any other: converted to, never the
      // old file's own.
      {"command 0 of version 3",
       {"[Keyboard]", "3007=20", "3001=30"},
       {"[Keyboard]", "0=21", "3500=22"},
       {"[Keyboard]", "0=20", "3010=30", "+ 3500=22"},
       {"0=3007", "3010=3001", "3500="}},
      {"3000 in a stick kept whole: it outnumbers the keyboard",
       {"[Keyboard]", "3001=30"},
       {"[{JOY-V3}]", "3000=48", "3500=49"},
       {"[Keyboard]", "3010=30", "x [{JOY-V3}]", "x 3000=48", "x 3500=49"},
       {"3000=", "3010=3001", "3500="}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(kept(c.own_table.empty() ? table : c.own_table, c.source, c.old), c.expected);
  }
}

TEST(Conversion, AnOldFileThatCantBeKeptWhole) {
  VersionThreeOnly own(CommandMap(highest_command + 1, -1));
  Lines cut_short({"[K]", "3500=1"}, 1);
  OldFile failed = read_old_file(cut_short, own);
  EXPECT_EQ(failed.read, OldFile::Read::failed);
  EXPECT_TRUE(failed.sections.empty());  // none of what was read before is kept
  std::vector<std::string> many(max_old_lines, "3500=1");
  many.insert(many.begin(), "[K]");
  Lines too_many(many);
  OldFile old = read_old_file(too_many, own);
  EXPECT_EQ(old.read, OldFile::Read::too_long);
  EXPECT_TRUE(old.sections.empty());
  // Exactly as many lines as it may hold are kept.
  many.pop_back();
  Lines as_many(many);
  EXPECT_EQ(read_old_file(as_many, own).read, OldFile::Read::whole);
  // Lines it does not hold count for nothing.
  std::vector<std::string> garbage(max_old_lines + 1, "x=1");
  garbage.insert(garbage.begin(), "[K]");
  Lines unheld(garbage);
  EXPECT_EQ(read_old_file(unheld, own).read, OldFile::Read::whole);
}
