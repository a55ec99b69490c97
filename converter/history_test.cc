#include "converter/history.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace {

// A file's history as a pilot makes it: each state of the file a letter,
// its digest the letter's code; every -undo planned as Brin23 plans it and
// carried out as it does it (the file backed up first when no backup holds
// it, the record kept).
struct Pilot {
  std::vector<BackupState> backups;
  std::optional<std::vector<HistoryEntry>> record = std::vector<HistoryEntry>();
  Digest file;

  std::int32_t next_number() const { return backups.empty() ? 0 : backups.back().number + 1; }

  void convert(char result) {
    HistoryEntry e{HistoryEntry::Kind::convert, next_number(), std::nullopt,
                   static_cast<Digest>(result), 0};
    backups.push_back({next_number(), file});
    file = static_cast<Digest>(result);
    if (record) record->push_back(e);
  }

  // What -undo put back (its number), or "-" at the bottom; and the file.
  std::string undo() {
    UndoPlan plan = plan_undo(backups, file, record);
    if (!plan.restore) return "-";
    const BackupState put_back = backups[*plan.restore];
    HistoryEntry e{HistoryEntry::Kind::undo, std::nullopt, put_back.number, put_back.digest, file};
    if (plan.back_up_current) {
      e.made = next_number();
      backups.push_back({*e.made, file});
    }
    if (!record) record.emplace();
    record->push_back(e);
    file = put_back.digest;
    return std::to_string(put_back.number) + static_cast<char>(file) +
           (plan.from_record ? "" : " from the newest");
  }
};

}  // namespace

TEST(History, EveryUndoOneStateFurtherBackAndTheWalkEnds) {
  // The steps, from the pilot's own file A: "cX" a conversion that writes
  // X, "eX" an edit to X, "u" -undo; what each -undo put back.
  struct Case {
    const char* what;
    std::vector<std::string> steps;
    std::vector<std::string> undone;
  };
  const Case cases[] = {
      {"the pilot who double-clicked twice: one -undo, her own file",
       {"cB", "cB", "u", "u"},
       {"0A", "-"}},
      {"convert, undo, edit, convert, undo: the edited file, then her own",
       {"cB", "u", "eC", "cB", "u", "u", "u"},
       {"0A", "2C", "0A", "-"}},
      {"convert, edit, convert, undo, keep, then six times -undo: never round",
       {"cB", "eC", "cB", "u", "cD", "u", "u", "u", "u", "u", "u"},
       {"1C", "3C", "0A", "-", "-", "-", "-"}},
      {"undo, convert again, undo, undo: the first conversion's result stays undone",
       {"cB", "u", "cB", "u", "u"},
       {"0A", "2A", "-"}},
      {"edited since the last run: backed up first, then back from the newest",
       {"cB", "eC", "u", "u"},
       {"0A from the newest", "-"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Pilot pilot{{}, std::vector<HistoryEntry>(), 'A'};
    std::vector<std::string> undone;
    for (const std::string& step : c.steps) {
      if (step[0] == 'c') pilot.convert(step[1]);
      if (step[0] == 'e') pilot.file = static_cast<Digest>(step[1]);
      if (step[0] == 'u') undone.push_back(pilot.undo());
    }
    EXPECT_EQ(undone, c.undone);
  }
}

TEST(History, HandMadeHistories) {
  // Backups by number (gaps as the pilot left them), the file, the record;
  // the backup put back, whether the file is backed up first, those passed
  // over as the same as the file, and whether the record was followed.
  using K = HistoryEntry::Kind;
  struct Case {
    const char* what;
    std::vector<BackupState> backups;
    std::optional<Digest> file;
    std::optional<std::vector<HistoryEntry>> record;
    std::optional<std::int32_t> restore;
    bool back_up_current;
    std::vector<std::int32_t> passed_over;
    bool from_record;
  };
  const std::vector<BackupState> gaps = {{0, 'A'}, {4, 'B'}, {9, 'B'}};
  const Case cases[] = {
      {"a record lost: the newest that differs, past copies of the file",
       gaps, 'B', std::vector<HistoryEntry>(), 0, false, {9, 4}, false},
      {"a record that can't be read: the same", gaps, 'B', std::nullopt, 0, false, {9, 4}, false},
      {"the record's conversion made 4, numbers with gaps", gaps, 'C',
       std::vector<HistoryEntry>{{K::convert, 4, std::nullopt, 'C', 0}}, 4, true, {}, true},
      {"the backup the record names is gone: back from the newest", gaps, 'C',
       std::vector<HistoryEntry>{{K::convert, 7, std::nullopt, 'C', 0}}, 9, true, {}, false},
      {"no file: the newest comes back", gaps, std::nullopt,
       std::vector<HistoryEntry>(), 9, false, {}, false},
      {"no backup", {}, 'A', std::vector<HistoryEntry>(), std::nullopt, true, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UndoPlan plan = plan_undo(c.backups, c.file, c.record);
    std::optional<std::int32_t> restore;
    if (plan.restore) restore = c.backups[*plan.restore].number;
    std::vector<std::int32_t> passed_over;
    for (std::size_t i : plan.passed_over) passed_over.push_back(c.backups[i].number);
    EXPECT_EQ(restore, c.restore);
    EXPECT_EQ(plan.back_up_current, c.back_up_current);
    EXPECT_EQ(passed_over, c.passed_over);
    EXPECT_EQ(plan.from_record, c.from_record);
  }
  // How many -undo reach a state: after two plain runs, one.
  EXPECT_EQ(undos_to_reach({{0, 'A'}, {1, 'B'}}, 'B',
                           std::vector<HistoryEntry>{{K::convert, 0, std::nullopt, 'B', 0},
                                                     {K::convert, 1, std::nullopt, 'B', 0}},
                           'A'),
            1u);
  EXPECT_EQ(undos_to_reach({{0, 'A'}}, 'A', std::nullopt, 'C'), std::nullopt);
}

TEST(History, TheRecordReadsWholeOrNotAtAll) {
  TempDir dir;
  const std::string name = dir.file("controls.ini.history");
  using K = HistoryEntry::Kind;
  const HistoryEntry entries[] = {{K::convert, 3, std::nullopt, 0x1234, 0},
                                  {K::undo, std::nullopt, 3, 0xFFFFFFFFFFFFFFFFULL, 0x1234},
                                  {K::convert, std::nullopt, std::nullopt, 7, 0}};
  EXPECT_EQ(read_history(name), std::vector<HistoryEntry>());  // none yet
  for (const HistoryEntry& e : entries) ASSERT_TRUE(add_to_history(name, e));
  std::optional<std::vector<HistoryEntry>> read = read_history(name);
  ASSERT_TRUE(read);
  ASSERT_EQ(read->size(), 3u);
  EXPECT_EQ((*read)[1].restored, 3);
  EXPECT_EQ((*read)[1].made, std::nullopt);
  EXPECT_EQ((*read)[1].result, 0xFFFFFFFFFFFFFFFFULL);
  EXPECT_EQ((*read)[2].made, std::nullopt);
  // A line cut short, or changed by hand, and the record is not honoured;
  // the next run writes it anew.
  std::string text = dir.read("controls.ini.history");
  dir.write("controls.ini.history", text.substr(0, text.size() - 3));
  EXPECT_EQ(read_history(name), std::nullopt);
  dir.write("controls.ini.history", "convert 00003 0000000000001234 00000000\r\n");
  EXPECT_EQ(read_history(name), std::nullopt);
  ASSERT_TRUE(add_to_history(name, entries[0]));
  EXPECT_EQ(read_history(name)->size(), 1u);
  // A record grown past 4096 entries keeps its newest half.
  std::string many;
  for (int i = 0; i < 4096; ++i) many += dir.read("controls.ini.history");
  dir.write("controls.ini.history", many);
  ASSERT_TRUE(add_to_history(name, entries[1]));
  read = read_history(name);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->size(), 2049u);
  EXPECT_EQ(read->back(), entries[1]);
}
