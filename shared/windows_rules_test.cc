#include "shared/windows_rules.h"

#include <gtest/gtest.h>

using namespace windows_rules;

TEST(WindowsRules, WhyAFileStepWasRefused) {
  EXPECT_EQ(refusal_of(error_sharing_violation, 0x20), FileRefusal::held);
  EXPECT_EQ(refusal_of(error_lock_violation, 0x20), FileRefusal::held);
  EXPECT_EQ(refusal_of(error_access_denied, attribute_read_only | 0x20), FileRefusal::read_only);
  // Denied to a file that is not read-only: ransomware protection or an
  // antivirus; so too where no file stands yet (a folder it guards).
  EXPECT_EQ(refusal_of(error_access_denied, 0x20), FileRefusal::access_denied);
  EXPECT_EQ(refusal_of(error_access_denied, invalid_attributes), FileRefusal::access_denied);
  EXPECT_EQ(refusal_of(error_access_denied, attribute_directory | attribute_read_only),
            FileRefusal::none);                       // a folder where the file should be
  EXPECT_EQ(refusal_of(2, 0x20), FileRefusal::none);  // not found
  // A network path gone, and each cloud file's error: a cloud-only file
  // offline, OneDrive not running, its sync root's records at fault...
  for (std::uint32_t error :
       {53u,  59u,  64u,  67u,  358u, 362u, 363u, 364u, 365u, 366u, 369u, 370u, 372u,
        373u, 374u, 375u, 376u, 377u, 378u, 386u, 387u, 388u, 389u, 391u, 392u, 393u,
        394u, 395u, 396u, 397u, 398u, 404u, 426u, 429u, 475u}) {
    EXPECT_EQ(refusal_of(error, 0x20), FileRefusal::undelivered) << error;
  }
  EXPECT_EQ(refusal_of(371, 0x20), FileRefusal::none);  // ERROR_NOT_A_CLOUD_FILE
}

TEST(WindowsRules, LeftoversThatMayGo) {
  EXPECT_TRUE(leftover_removable(0x20, 0));
  EXPECT_TRUE(leftover_removable(attribute_read_only | attribute_hidden, 0));
  // OneDrive's cloud placeholder (IO_REPARSE_TAG_CLOUD_6): a plain file.
  EXPECT_TRUE(leftover_removable(attribute_reparse_point | 0x20, 0x9000601A));
  // A symbolic link, a junction, a folder: never.
  EXPECT_FALSE(leftover_removable(attribute_reparse_point, 0xA000000C));
  EXPECT_FALSE(leftover_removable(attribute_reparse_point | attribute_directory, 0xA0000003));
  EXPECT_FALSE(leftover_removable(attribute_directory, 0));
  EXPECT_FALSE(leftover_removable(invalid_attributes, 0));
  EXPECT_TRUE(hidden_from_the_interpreter(attribute_hidden));
  EXPECT_TRUE(hidden_from_the_interpreter(attribute_system | 0x20));
  EXPECT_FALSE(hidden_from_the_interpreter(attribute_read_only));
  EXPECT_FALSE(hidden_from_the_interpreter(invalid_attributes));
}

TEST(WindowsRules, TheVirtualStoreOfProgramFiles) {
  const std::vector<std::string> program_files = {"C:\\Program Files", "C:\\Program Files (x86)\\"};
  const std::string local = "C:\\Users\\Ann\\AppData\\Local";
  EXPECT_EQ(virtual_store_path("C:\\Program Files (x86)\\Aerlon3\\Logs\\Logfile.txt", program_files,
                               local),
            "C:\\Users\\Ann\\AppData\\Local\\VirtualStore\\Program Files (x86)\\Aerlon3\\Logs\\"
            "Logfile.txt");
  EXPECT_EQ(virtual_store_path("c:\\PROGRAM FILES\\Aerlon3\\Logs\\Logfile.txt", program_files,
                               local + "\\"),
            "C:\\Users\\Ann\\AppData\\Local\\VirtualStore\\PROGRAM FILES\\Aerlon3\\Logs\\"
            "Logfile.txt");
  EXPECT_EQ(virtual_store_path("D:\\Games\\Aerlon3\\Logs\\Logfile.txt", program_files, local),
            std::nullopt);
  EXPECT_EQ(virtual_store_path("C:\\Program Files Extra\\A\\Logfile.txt", program_files, local),
            std::nullopt);
  EXPECT_EQ(virtual_store_path("C:\\Program Files\\A\\Logfile.txt", program_files, ""),
            std::nullopt);
}

TEST(WindowsRules, HowANameIsTurnedIntoTheCodePage) {
  using windows_rules::Narrowing;
  struct Case {
    std::uint32_t code_page, flags;
    Narrowing::Told told;
  };
  const Case cases[] = {
      {1252, windows_rules::wc_no_best_fit_chars, Narrowing::Told::by_default_character},
      {1250, windows_rules::wc_no_best_fit_chars, Narrowing::Told::by_default_character},
      {932, windows_rules::wc_no_best_fit_chars, Narrowing::Told::by_default_character},
      {65001, windows_rules::wc_err_invalid_chars, Narrowing::Told::by_failure},
      {54936, windows_rules::wc_err_invalid_chars, Narrowing::Told::by_failure},
      {65000, 0, Narrowing::Told::by_turning_back},
      {50220, 0, Narrowing::Told::by_turning_back},
      {50229, 0, Narrowing::Told::by_turning_back},
      {57002, 0, Narrowing::Told::by_turning_back},
      {57011, 0, Narrowing::Told::by_turning_back},
      {42, 0, Narrowing::Told::by_turning_back},
      {50230, windows_rules::wc_no_best_fit_chars, Narrowing::Told::by_default_character},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code_page);
    Narrowing n = windows_rules::narrowing(c.code_page);
    EXPECT_EQ(n.flags, c.flags);
    EXPECT_EQ(n.told, c.told);
  }
}

TEST(WindowsRules, ASystemCodePageOfUtf8) {
  EXPECT_TRUE(windows_rules::system_code_page_is_utf8("65001"));
  EXPECT_FALSE(windows_rules::system_code_page_is_utf8("1252"));
  EXPECT_FALSE(windows_rules::system_code_page_is_utf8("650012"));
  EXPECT_FALSE(windows_rules::system_code_page_is_utf8(""));
}

TEST(WindowsRules, AKeyboardLayoutByItsName) {
  EXPECT_EQ(windows_rules::layout_of_name("00000407"), 0x0407);  // German
  EXPECT_EQ(windows_rules::layout_of_name("0001040c"), 0x040C);  // French, a variant
  EXPECT_EQ(windows_rules::layout_of_name("00000809"), 0x0809);
  EXPECT_EQ(windows_rules::layout_of_name("407"), std::nullopt);
  EXPECT_EQ(windows_rules::layout_of_name("0000040G"), std::nullopt);
}

TEST(WindowsRules, HowADocumentIsOpened) {
  using windows_rules::Opener;
  EXPECT_EQ(windows_rules::document_opener("C:\\Malvet\\Controls.txt", true), Opener::interpreter);
  EXPECT_EQ(windows_rules::document_opener("C:\\Ji?\xED\\Controls.txt", false), Opener::shell);
  EXPECT_EQ(windows_rules::document_opener("C:\\100%\\Controls.txt", true), Opener::shell);
}
