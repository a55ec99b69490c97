#include "shared/log.h"

#include <gtest/gtest.h>

#include <regex>

#include "shared/console.h"
#include "tests/test_support.h"

namespace {

std::string pairs(int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += "+-";
  return out;
}

class Log : public ::testing::Test {
 protected:
  // Starts the named log and returns what the messages then put in it.
  std::string logged(std::initializer_list<std::string> messages) {
    log_message_f("CREATE test.log");
    std::string start = dir_.read("test.log");
    for (const std::string& m : messages) log_message_f(m);
    return dir_.read("test.log").substr(start.size());
  }

  TempDir dir_;
  ScopedCwd cwd_{dir_.path()};
};

}  // namespace

TEST_F(Log, BannersFrameMessagesOnConsoleAndFile) {
  testing::internal::CaptureStdout();
  std::string file = logged({"{W}Disk full/Try again", "{I}", "{E}x", "{w}text"});
  std::string console = testing::internal::GetCapturedStdout();
  std::string warning = "+ WARNING " + pairs(34);
  std::string closing = pairs(39);
  ASSERT_EQ(warning.size(), 78u);
  ASSERT_EQ(("+ INFO " + pairs(36)).size(), 79u);
  EXPECT_EQ(file, warning + "\r\nDisk full\r\nTry again\r\n" + closing + "\r\n" + "+ INFO " +
                      pairs(36) + "\r\n \r\n" + closing + "\r\n" + "+ ERROR " + pairs(35) +
                      "\r\nx\r\n" + closing + "\r\n" + "{w}text\r\n");
  EXPECT_NE(console.find(" >>> {W}Disk full/Try again\n" + warning + "\nDisk full\nTry again\n" +
                         closing + "\n"),
            std::string::npos);
}

TEST_F(Log, SplittingQuotingAndLineFeeds) {
  testing::internal::CaptureStdout();
  std::string file =
      logged({"\"a/b\"", "a//b/", "one\ntwo", "  lead/trail   /", "\"", "", "   ", "\"\""});
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(file,
            "a/b\r\n"
            "a\r\n\r\nb\r\n\r\n"
            "one\r\ntwo\r\n"
            "  lead\r\ntrail\r\n\r\n"
            "\"\r\n"
            " \r\n"
            " \r\n"
            "\r\n");  // two quotes around nothing: an empty line
}

TEST_F(Log, TextFromTheMachineIsOneLineAsItStands) {
  // Key names: "Num /", and a Japanese keyboard's Hankaku/Zenkaku key in
  // code page 932, whose second letter ends in the byte of "\".
  testing::internal::CaptureStdout();
  log_message_f("CREATE test.log");
  std::string start = dir_.read("test.log");
  const std::string hankaku = "\x94\xBC\x8A\x70/\x91\x53\x8A\x70\x95\\";
  for (const std::string& text : {std::string("KP /  Num /"), hankaku, std::string("CREATE x")}) {
    log_text_f(text);
  }
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(dir_.read("test.log").substr(start.size()),
            "KP /  Num /\r\n" + hankaku + "\r\nCREATE x\r\n");
}

TEST_F(Log, BodyIsCutAt1024Characters) {
  testing::internal::CaptureStdout();
  std::string file = logged({"{I}" + std::string(2000, 'x')});
  testing::internal::GetCapturedStdout();
  EXPECT_NE(file.find("\r\n" + std::string(1024, 'x') + "\r\n"), std::string::npos);
  EXPECT_EQ(file.find(std::string(1025, 'x')), std::string::npos);
}

TEST_F(Log, CreateReplacesTheFileAndWritesTheDate) {
  testing::internal::CaptureStdout();
  log_message_f("CREATE  my.log");
  log_message_f("first");
  EXPECT_EQ(log_file_name(), "my.log");
  log_message_f("CREATE my.log");  // empties it again
  std::string console = testing::internal::GetCapturedStdout();
  std::string content = dir_.read("my.log");
  EXPECT_TRUE(std::regex_match(content, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\r\n\r\n)")))
      << content;
  EXPECT_NE(console.find(" >>> CREATE  my.log\n CREATE my.log 0\n"), std::string::npos);
}

TEST_F(Log, CreateWithoutNameOrSendNameUsesTheProgramAndTime) {
  testing::internal::CaptureStdout();
  std::string msg = "CREATE-SEND-NAME";
  log_message_f(msg);
  std::string sent = msg;
  log_message_f("CREATE");
  testing::internal::GetCapturedStdout();
  std::smatch m;
  ASSERT_TRUE(std::regex_match(
      sent, m, std::regex(R"(shared_tests_(\d{4})_(\d\d)_(\d\d)-(\d\d)_(\d\d)_(\d\d)\.log)")))
      << sent;
  EXPECT_EQ(dir_.read(sent).substr(0, 19), m[1].str() + "-" + m[2].str() + "-" + m[3].str() + " " +
                                               m[4].str() + ":" + m[5].str() + ":" + m[6].str());
}

TEST_F(Log, CreatedIsACreateCommand) {
  testing::internal::CaptureStdout();
  log_message_f("CREATED more words");
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(log_file_name(), "D more words");
  EXPECT_FALSE(dir_.read("D more words").empty());
}

TEST_F(Log, UnwritableLogNeverStopsTheConsoleCopy) {
  testing::internal::CaptureStdout();
  log_message_f("CREATE no/such/folder/x.log");
  log_message_f("still/shown");
  std::string console = testing::internal::GetCapturedStdout();
  EXPECT_NE(console.find(" CREATE no/such/folder/x.log "), std::string::npos);
  EXPECT_EQ(console.find(" CREATE no/such/folder/x.log 0\n"), std::string::npos);
  EXPECT_NE(console.find("still\nshown\n"), std::string::npos);
}

TEST(Console, LongLinesComeOutWholeWithoutANul) {
  // 512 bytes fill the first buffer's room exactly; 600 pass it.
  for (std::size_t n : {511u, 512u, 600u}) {
    std::string line(n, 'c');
    testing::internal::CaptureStdout();
    console_printf("%s", line.c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), line) << n;
  }
}

TEST(DatedLogName, FromTheProgramPath) {
  std::tm tm{};
  tm.tm_year = 2024 - 1900;
  tm.tm_mon = 2;
  tm.tm_mday = 5;
  tm.tm_hour = 7;
  tm.tm_min = 8;
  tm.tm_sec = 9;
  EXPECT_EQ(dated_log_name("C:\\Tools\\Tavlet.exe", tm), "Tavlet_2024_03_05-07_08_09.log");
  EXPECT_EQ(dated_log_name("a.b.exe", tm), "a_2024_03_05-07_08_09.log");
  EXPECT_EQ(dated_log_name(".\\build\\Brin23", tm), "Brin23_2024_03_05-07_08_09.log");
}
