// Brin23's receipt of the example installation: every binding by name, in
// each language; a check that touches nothing; the version-3 file dropped
// on Brin23.
#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>

#include "tests/brin23_fixture.h"

namespace {

const std::string ann_folders = "Users/Ann/Documents";

// Every file below `folder`, and with `folders` every folder: a file's
// bytes, and each one's time (a folder's changes with a file made in it,
// even one removed since).
std::map<std::string, std::pair<std::string, fs::file_time_type>> files_below(
    const std::string& folder, bool folders = false) {
  std::map<std::string, std::pair<std::string, fs::file_time_type>> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!folders && !entry.is_regular_file()) continue;
    std::string bytes;
    if (entry.is_regular_file()) {
      std::ifstream in(entry.path(), std::ios::binary);
      bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    files[entry.path().string()] = {bytes, entry.last_write_time()};
  }
  return files;
}

// The lines of a file (CR LF ends), and whether it holds the line.
std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
    lines.push_back(text.substr(at, end - at));
  }
  return lines;
}

}  // namespace

TEST_F(Example, TheReceiptNamesEveryBindingInEachLanguage) {
  // The pilot's files stay as they are for the checks; the conversion comes
  // last. Under Wine no joystick is attached: the stick's section is named
  // by its header there.
  struct Row {
    const char* lang;
    std::vector<std::string> args;
    std::vector<std::string> lines;  // lines the receipt holds
  };
  const std::string not_carried_f3 = "    F3                Tow plane view (3027)               ";
  const std::string not_carried_enter = "    Enter             Chat (3050)                         ";
  const Row rows[] = {
      {"fr_FR.UTF-8",
       {"-check"},
       {"Rien n'a \xE9t\xE9 \xE9"
        "crit : voici ce que Brin23 ferait",
        "Assignations d'Aerlon 2 lues : 48 = 46 reprises + 0 sous un nouveau nom + 2 non reprises "
        "+ 0 illisible",
        not_carried_f3 + "ligne 25 : 3027=61", not_carried_enter + "ligne 33 : 3050=28"}},
      {"de_DE.UTF-8",
       {"-check"},
       {"Gelesene Belegungen von Aerlon 2: 48 = 46 \xFC"
        "bernommen + 0 unter neuem Namen + 2 nicht \xFC"
        "bernommen + 0 unlesbar",
        not_carried_f3 + "Zeile 25: 3027=61", not_carried_enter + "Zeile 33: 3050=28"}},
      {"en_US.UTF-8",
       {},
       {"Aerlon 2 bindings read: 48 = 46 carried + 0 under a new name + 2 not carried + 0 "
        "unreadable",
        "Written to Aerlon 3: 46 from Aerlon 2 + 0 kept from the old file; of the old file's own "
        "bindings, 2 left out",
        not_carried_f3 + "line 25: 3027=61", not_carried_enter + "line 33: 3050=28"}},
  };
  const std::string work = dir_.file("Tools/Malvet");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.lang);
    for (const std::string& made : receipts(work)) fs::remove(work + "/" + made);
    ASSERT_EQ(run("Brin23", row.args, false, row.lang), 0) << console_;
    ASSERT_EQ(receipts(work).size(), 1u);
    std::vector<std::string> lines = lines_of(read("Tools/Malvet/" + receipts(work)[0]));
    for (const std::string& line : row.lines) {
      EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line;
    }
  }
  if (!windows_target()) {
    EXPECT_EQ(read("Tools/Malvet/" + receipts(work)[0]), golden("example-receipt-en.txt"));
  }
}

TEST_F(Example, ACheckTouchesNothingAndSaysWhatTheConversionDoes) {
  const auto before = files_below(dir_.file(ann_folders), true);
  ASSERT_EQ(run("Brin23", {"-Check"}), 0) << console_;
  EXPECT_EQ(files_below(dir_.file(ann_folders), true), before);
  const std::string work = dir_.file("Tools/Malvet");
  std::vector<std::string> check = receipts(work);
  ASSERT_EQ(check.size(), 1u);
  // Beside the receipt and the log, nothing is left in the working folder.
  for (const auto& entry : fs::directory_iterator(work)) {
    std::string name = entry.path().filename().string();
    EXPECT_TRUE(name.rfind("Brin23_", 0) != 0 || name == check[0] ||
                name.substr(name.size() - 4) == ".log")
        << name;
  }
  EXPECT_FALSE(fs::exists(work + "/get_new_vers_tmp.txt"));

  // The conversion that follows: its receipt differs only in its heading
  // and its backup's line.
  fs::rename(work + "/" + check[0], dir_.file("check.txt"));
  ASSERT_EQ(run("Brin23", {}), 0) << console_;
  std::vector<std::string> checked = lines_of(read("check.txt"));
  std::vector<std::string> done = lines_of(read("Tools/Malvet/" + receipts(work).at(0)));
  ASSERT_EQ(checked.size(), done.size());
  for (std::size_t i = 0; i < done.size(); ++i) {
    bool differs = checked[i] != done[i];
    EXPECT_EQ(differs, i == 0 || done[i].rfind("Backup:", 0) == 0) << done[i];
  }
}

TEST_F(Example, TheVersion3FileDroppedOnBrin23Stops) {
  // As Explorer hands a file dropped on a program: its full name.
  const std::string dropped = shown_path(dir_.file(ann_v3));
  const auto before = files_below(dir_.file(ann_folders));
  EXPECT_EQ(run("Brin23", {dropped}), 1) << console_;
  EXPECT_EQ(files_below(dir_.file(ann_folders)), before);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + dropped +
                                     "\\nhas no binding that Aerlon 3 can take: is it an Aerlon 2 "
                                     "controls.ini? Nothing was changed.\r\n");
  std::vector<std::string> made = receipts(dir_.file("Tools/Malvet"));
  ASSERT_EQ(made.size(), 1u);
  std::vector<std::string> lines = lines_of(read("Tools/Malvet/" + made[0]));
  EXPECT_EQ(lines.at(0),
            "Brin23 stopped before writing anything: the source has no binding that Aerlon 3 can "
            "take. Is it an Aerlon 2 controls.ini?");
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "Aerlon 2 bindings read: 48 = 0 carried + 0 under a new name + 48 not "
                      "carried + 0 unreadable"),
            lines.end());
}
