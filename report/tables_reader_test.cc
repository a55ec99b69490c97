#include "report/tables_reader.h"

#include <gtest/gtest.h>

#include "report/texts.h"
#include "tests/test_support.h"

namespace {

class Tables : public ::testing::Test {
 protected:
  std::string transcript() const { return dir_.read("dialogs.log"); }

  TempDir dir_;
  ScopedEnv answers_{"MALVET_DIALOGS", dir_.file("answers.txt")};
  ScopedEnv log_{"MALVET_DIALOG_LOG", dir_.file("dialogs.log")};
  ScopedCwd cwd_{dir_.path()};
};

}  // namespace

TEST_F(Tables, ScanCodesInFileOrderWithBlankLinesSkipped) {
  dir_.write("SCN.txt", "30=A\r\n\r\n   \r\n 48 : B\r\n200=Up\r\n30=again\r\n");
  auto table = read_scn("*** File # cannot be opened  ***", "SCN.txt", "T");
  ASSERT_TRUE(table);
  ASSERT_EQ(table->size(), 4u);
  EXPECT_EQ((*table)[1].code, 48);
  EXPECT_EQ((*table)[1].name, "B");
  EXPECT_EQ((*table)[3].code, 30);
  EXPECT_EQ((*table)[3].name, "again");
}

TEST_F(Tables, ScanCodeTableEndsAtAnUnreadableCode) {
  dir_.write("SCN.txt", "30=A\n# a comment\n31=S\n");
  auto table = read_scn("*** File # cannot be opened  ***", "SCN.txt", "T");
  ASSERT_TRUE(table);
  ASSERT_EQ(table->size(), 2u);  // the "#" line is counted and ends it
  EXPECT_EQ((*table)[1].code, 0);
  EXPECT_EQ((*table)[1].name, "");
}

TEST_F(Tables, NamesAreCutToTheirFields) {
  dir_.write("SCN.txt", "1=" + std::string(40, 'k') + "\n");
  dir_.write("CMD.txt", "3001=" + std::string(70, 'c') + "\n");
  auto keys = read_scn("*** File # cannot be opened  ***", "SCN.txt", "T");
  EXPECT_EQ((*keys)[0].name, std::string(32, 'k'));
  std::int32_t lmax = 0;
  auto commands = read_cmd("CMD.txt", "*** File # cannot be opened  ***", lmax, "T");
  EXPECT_EQ((*commands)[0].name, std::string(64, 'c'));
  EXPECT_EQ(lmax, 70);
}

TEST_F(Tables, CommandTableSkipsCommentsAndGoesOnPastBadNumbers) {
  dir_.write("CMD.txt",
             "# comment\n\n3001=Brakes\n #3002=Not a comment\nxx=Bad number\n"
             "3001=Brakes again\n2=Aileron\n");
  std::int32_t lmax = 5;
  auto table = read_cmd("CMD.txt", "*** File # cannot be opened  ***", lmax, "T");
  ASSERT_TRUE(table);
  ASSERT_EQ(table->size(), 5u);
  EXPECT_EQ((*table)[0].number, 3001);
  EXPECT_EQ((*table)[1].number, 0);  // " #3002": a leading blank, so an entry
  EXPECT_EQ((*table)[1].name, "Not a comment");
  EXPECT_EQ((*table)[2].number, 0);
  EXPECT_EQ((*table)[3].name, "Brakes again");
  EXPECT_EQ((*table)[4].number, 2);
  EXPECT_EQ(lmax, 13);  // the longest name, never lowered
  lmax = 99;
  read_cmd("CMD.txt", "*** File # cannot be opened  ***", lmax, "T");
  EXPECT_EQ(lmax, 99);
}

TEST_F(Tables, LoadingStopsAtCapacity) {
  std::string keys, commands;
  for (int i = 1; i <= 600; ++i) {
    keys += std::to_string(i) + "=K" + std::to_string(i) + "\n";
    commands += std::to_string(3000 + i) + "=C" + std::to_string(i) + "\n";
  }
  dir_.write("SCN.txt", keys);
  dir_.write("CMD.txt", commands);
  auto key_table = read_scn("*** File # cannot be opened  ***", "SCN.txt", "T");
  EXPECT_EQ(key_table->size(), maxkey);
  EXPECT_EQ(key_table->back().code, 512);
  std::int32_t lmax = 0;
  auto command_table = read_cmd("CMD.txt", "*** File # cannot be opened  ***", lmax, "T");
  EXPECT_EQ(command_table->size(), maxcmd);
  EXPECT_EQ(command_table->back().number, 3256);
  EXPECT_EQ(lmax, 4);  // names past the capacity are not read
}

TEST_F(Tables, EmptyFilesLoadNothing) {
  dir_.write("SCN.txt", "");
  dir_.write("CMD.txt", "");
  std::int32_t lmax = 0;
  EXPECT_EQ(read_scn("*** File # cannot be opened  ***", "SCN.txt", "T")->size(), 0u);
  EXPECT_EQ(read_cmd("CMD.txt", "*** File # cannot be opened  ***", lmax, "T")->size(), 0u);
  EXPECT_EQ(transcript(), "");
}

TEST_F(Tables, MissingTablesAreReportedByName) {
  std::int32_t lmax = 0;
  const std::string en = report_texts(Language::english).table_unreadable;
  const std::string fr = report_texts(Language::french).table_unreadable;
  EXPECT_FALSE(read_cmd("CMD_A3.txt", en, lmax, "Tavlet (beta)"));
  EXPECT_FALSE(read_cmd("CMD_A3.txt", fr, lmax, "Tavlet (beta)"));
  EXPECT_FALSE(read_scn(en, "SCN_QWERTY.txt", "Tavlet (beta)"));
  EXPECT_FALSE(read_scn(fr, "SCN_AZERTY_FR.txt", "Tavlet (beta)"));
  EXPECT_FALSE(read_scn(report_texts(Language::german).table_unreadable, "SCN_QWERTY.txt", "T"));
  EXPECT_EQ(transcript(),
            "box|error|Tavlet (beta)|*** File CMD_A3.txt cannot be opened  ***\r\n"
            "box|error|Tavlet (beta)|*** Le fichier CMD_A3.txt ne peut pas "
            "\xEAtre ouvert  ***\r\n"
            "box|error|Tavlet (beta)|*** File SCN_QWERTY.txt cannot be opened  ***\r\n"
            "box|error|Tavlet (beta)|*** Le fichier SCN_AZERTY_FR.txt ne peut pas "
            "\xEAtre ouvert  ***\r\n"
            "box|error|T|*** Die Datei SCN_QWERTY.txt kann nicht ge\xF6"
            "ffnet werden  ***\r\n");
}
