#include "converter/backup.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <filesystem>

#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

class Backup : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir_.file("C:/P")); }

  // A file of the working folder, dated `t` seconds after a fixed time.
  void make(const std::string& posix_path, long t = 0) {
    dir_.write(posix_path, "copy");
    struct utimbuf times = {1700000000 + t, 1700000000 + t};
    utime(dir_.file(posix_path).c_str(), &times);
  }

  std::string next(std::string name, std::int32_t expected_result = 1) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(get_new_vers(name), expected_result);
    console_ = testing::internal::GetCapturedStdout();
    if (!blocked_listing_) {
      EXPECT_FALSE(fs::exists(dir_.file(listing_file)));
    }
    return name;
  }

  // The name that a listing's lines give.
  static std::string name_of_listing(std::string name, const std::vector<std::string>& lines) {
    EXPECT_EQ(name_from_listing(name, lines), 1);
    return name;
  }

  // Makes the folder listing impossible: a folder stands where it would go.
  void no_listing() {
    fs::create_directories(dir_.file(listing_file));
    blocked_listing_ = true;
  }

  TempDir dir_;
  ScopedCwd cwd_{dir_.path()};
  ScopedEnv answers_{"MALVET_DIALOGS", dir_.file("answers.txt")};
  ScopedEnv log_{"MALVET_DIALOG_LOG", dir_.file("dialogs.log")};
  std::string console_;
  bool blocked_listing_ = false;
};

}  // namespace

TEST_F(Backup, FirstBackupIsNumberedZero) {
  EXPECT_EQ(next("C:\\P\\controls.ini.bak"), "C:\\P\\controls.ini_00000.bak");
  EXPECT_NE(console_.find(" DIR /TW /B /O-D \"C:\\P\\controls.ini_?????.bak\" > "
                          "get_new_vers_tmp.txt\n"),
            std::string::npos);
  EXPECT_NE(console_.find(" C:\\P\\controls.ini_?????.bak\n controls.ini_?????.bak\n"),
            std::string::npos);
}

TEST_F(Backup, HighestNumberPlusOneWhateverTheDates) {
  make("C:/P/controls.ini_00007.bak", 0);
  make("C:/P/controls.ini_00000.bak", 30);
  make("C:/P/controls.ini_00001.bak", 10);
  make("C:/P/other_00009.bak", 20);
  EXPECT_EQ(next("C:\\P\\controls.ini.bak"), "C:\\P\\controls.ini_00008.bak");
}

TEST_F(Backup, TheOldestListedNameGivesTheLetterCase) {
  make("C:/P/Controls.INI_00000.bak", 0);
  make("C:/P/controls.ini_00001.bak", 10);
  EXPECT_EQ(next("C:\\P\\controls.ini.bak"), "C:\\P\\Controls.INI_00002.bak");
}

TEST_F(Backup, NamesWithoutDigitsDoNotCount) {
  make("C:/P/controls.ini_abcde.bak");
  EXPECT_EQ(next("C:\\P\\controls.ini.bak"), "C:\\P\\controls.ini_00000.bak");
  // The name and its extension then come as the listing writes them.
  EXPECT_EQ(name_of_listing("C:\\P\\controls.ini.bak", {"CONTROLS.INI_ABCDE.BAK"}),
            "C:\\P\\CONTROLS.INI_00000.BAK");
}

TEST_F(Backup, AnExtensionIsKeptTo20Characters) {
  const std::string twenty = ".abcdefghijklmnopqrs", longer = twenty + "t";
  ASSERT_EQ(twenty.size(), 20u);
  EXPECT_EQ(name_of_listing("C:\\P\\n" + twenty, {"n_00001" + twenty}), "C:\\P\\n_00002" + twenty);
  EXPECT_EQ(name_of_listing("C:\\P\\n" + longer, {"n_00001" + longer}), "C:\\P\\n_00002" + twenty);
}

TEST_F(Backup, NamesWithoutFolderOrExtension) {
  EXPECT_EQ(next("controls.ini.bak"), ".\\controls.ini_00000.bak");
  make("notes_00003");
  EXPECT_EQ(next("notes"), ".\\notes_00004");
  fs::create_directories(dir_.file("My Pilots/P"));
  make("My Pilots/P/controls.ini_00002.bak");
  EXPECT_EQ(next("My Pilots\\P\\controls.ini.bak"), "My Pilots\\P\\controls.ini_00003.bak");
}

TEST_F(Backup, WithoutListingNamesAreTriedInTurn) {
  no_listing();
  for (int n = 0; n < 5; ++n) make("C:/P/controls.ini_0000" + std::to_string(n) + ".bak");
  EXPECT_EQ(next("C:\\P\\controls.ini.bak"), "C:\\P\\controls.ini_00005.bak");
  // Past a gap a pilot left, one above the highest, as with a listing: the
  // backups stay in the order they were made.
  make("C:/P/controls.ini_00009.bak");
  EXPECT_EQ(next("C:\\P\\controls.ini.bak"), "C:\\P\\controls.ini_00010.bak");
  EXPECT_EQ(next("controls.ini.bak"), "controls.ini_00000.bak");
  EXPECT_EQ(next("notes"), "notes_00000");
}

TEST_F(Backup, TheHistoryInNumberOrder) {
  // With the listing and without: the numbered names, a gap kept, whatever
  // their dates; a name without digits is none.
  for (bool listing : {true, false}) {
    SCOPED_TRACE(listing);
    if (!listing) no_listing();
    make("C:/P/controls.ini_00007.bak", 0);
    make("C:/P/controls.ini_00001.bak", 10);
    make("C:/P/controls.ini_abcde.bak", 20);
    std::vector<std::string> names;
    for (const NumberedBackup& b : backup_history("C:\\P\\controls.ini.bak"))
      names.push_back(b.name);
    EXPECT_EQ(names, (std::vector<std::string>{"C:\\P\\controls.ini_00001.bak",
                                               "C:\\P\\controls.ini_00007.bak"}));
    fs::remove_all(dir_.file("C:/P"));
    fs::create_directories(dir_.file("C:/P"));
  }
}

TEST_F(Backup, TheNewestBackupIsTheHighestNumbered) {
  // With the listing and without: the highest number, whatever the dates;
  // a name without digits does not count.
  for (bool listing : {true, false}) {
    SCOPED_TRACE(listing);
    if (!listing) no_listing();
    EXPECT_EQ(newest_backup("C:\\P\\controls.ini.bak"), std::nullopt);
    make("C:/P/controls.ini_abcde.bak");
    EXPECT_EQ(newest_backup("C:\\P\\controls.ini.bak"), std::nullopt);
    make("C:/P/controls.ini_00007.bak", 0);
    make("C:/P/controls.ini_00001.bak", 10);
    EXPECT_EQ(newest_backup("C:\\P\\controls.ini.bak"), "C:\\P\\controls.ini_00007.bak");
    fs::remove_all(dir_.file("C:/P"));
    fs::create_directories(dir_.file("C:/P"));
  }
}

TEST_F(Backup, NoNumberLeftAfter99999) {
  make("C:/P/controls.ini_99999.bak");
  EXPECT_EQ(next("C:\\P\\controls.ini.bak", 0), "C:\\P\\controls.ini_99999.bak");
  EXPECT_EQ(dir_.read("dialogs.log"),
            "box|warning|Brin23|No new version could be determined for file: "
            "C:\\P\\controls.ini_99999.bak\r\n");
}

TEST_F(Backup, TheLastNumberIsStillHandedOut) {
  make("C:/P/controls.ini_99998.bak");
  EXPECT_EQ(next("C:\\P\\controls.ini.bak"), "C:\\P\\controls.ini_99999.bak");
  // Without a listing, the names tried end at 99998, which is still given.
  no_listing();
  make("C:/P/n_99997");
  EXPECT_EQ(next("C:\\P\\n"), "C:\\P\\n_99998");
  EXPECT_EQ(dir_.read("dialogs.log"), "");  // the warning comes only after them
}

TEST_F(Backup, NoNumberLeftWhenEveryNameIsTaken) {
  no_listing();
  char name[64];
  for (int n = 0; n <= 99998; ++n) {
    std::snprintf(name, sizeof name, "C:/P/n_%05d", n);
    std::FILE* f = std::fopen(dir_.file(name).c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
  }
  EXPECT_EQ(next("C:\\P\\n", 0), "C:\\P\\n_99998");
  EXPECT_EQ(dir_.read("dialogs.log"),
            "box|warning|Brin23|No new version could be determined for file: C:\\P\\n_99998\r\n");
}

TEST_F(Backup, ALeftoverListingIsReplaced) {
  dir_.write(listing_file, "controls.ini_00042.bak\r\n");
  EXPECT_EQ(next("C:\\P\\controls.ini.bak"), "C:\\P\\controls.ini_00000.bak");
}

TEST_F(Backup, AListingThatCantBeMadeIsNeverRead) {
  // A link under the listing's name is neither written through nor read:
  // the names are tried in turn.
  fs::create_symlink("elsewhere.txt", dir_.file(listing_file));
  blocked_listing_ = true;
  make("C:/P/controls.ini_00000.bak");
  make("C:/P/controls.ini_00001.bak");
  EXPECT_EQ(next("C:\\P\\controls.ini.bak"), "C:\\P\\controls.ini_00002.bak");
  EXPECT_FALSE(fs::exists(dir_.file("elsewhere.txt")));
  EXPECT_NE(console_.find("cmdstat= 1"), std::string::npos);
}

TEST_F(Backup, NamesAreNeverCutToAField) {
  std::string folder = std::string(250, 'f');
  fs::create_directories(dir_.file(folder));
  std::string name = next(folder + "\\controls.ini.bak");
  EXPECT_EQ(name, folder + "\\controls.ini_00000.bak");
  EXPECT_GT(name.size(), 256u);
}
