#include "shared/pilot_folder.h"

#include "shared/installation_fixture.h"
#include "shared/system.h"

TEST_F(Installation, DocumentsThroughAnEnvironmentVariable) {
  set(shell_folders, "Personal", reg_text("%USERPROFILE%\\Documents"));
  ScopedEnv profile("USERPROFILE", "C:\\Users\\Bob");
  std::string folder;
  testing::internal::CaptureStdout();
  EXPECT_EQ(get_aerlon_2_path("", false, false, folder), 1);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(folder, "C:\\Users\\Bob\\Documents\\Aerlon\\");
}

TEST_F(Installation, DocumentsVariableUnsetOrTooLongOrMalformed) {
  set(shell_folders, "Personal", reg_text("%NOT_SET_ANYWHERE%\\Documents"));
  std::string folder = "3";
  testing::internal::CaptureStdout();
  EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 0);
  EXPECT_EQ(folder, "3");

  set(shell_folders, "Personal", reg_text("%LONG%\\Documents"));
  ScopedEnv long_var("LONG", std::string(600, 'p'));
  folder.clear();
  EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 0);
  EXPECT_EQ(folder, "");

  // A variable that is not set, wherever it stands, is the same error.
  set(shell_folders, "Personal", reg_text("C:\\Docs%UNSET_TOO%"));
  EXPECT_EQ(get_aerlon_2_path("", false, false, folder), 0);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(dir_.read("dialogs.log"),
            "box|error|get_aerlon_user_path|Error getting environment variable\\n"
            "NOT_SET_ANYWHERE\r\n"
            "box|error|get_aerlon_user_path|Error getting environment variable\\nLONG\r\n"
            "box|error|get_aerlon_user_path|Error getting environment variable\\nUNSET_TOO\r\n");
}

TEST_F(Installation, DocumentsWithEveryVariableExpanded) {
  ScopedEnv drive("HOMEDRIVE", "H:");
  ScopedEnv home("HOMEPATH", "\\Users\\Bob");
  ScopedEnv x("X", "Bob");
  // A name is never cut: one of 100 characters is not the one of its first 80.
  const std::string long_name = std::string(80, 'N') + std::string(20, 'M');
  ScopedEnv whole(long_name, "Long");
  ScopedEnv cut_name(std::string(80, 'N'), "Cut");
  const std::string long_value = "%" + long_name + "%\\Docs";
  for (auto [value, expected] :
       {std::pair{"%HOMEDRIVE%%HOMEPATH%\\Documents", "H:\\Users\\Bob\\Documents"},
        std::pair{"C:\\Users\\%X%\\Documents", "C:\\Users\\Bob\\Documents"},
        std::pair{"%X%", "Bob"},
        std::pair{"C:\\100%\\Docs", "C:\\100%\\Docs"},  // a lone "%" stands for itself
        std::pair{"C:\\Docs%X%", "C:\\DocsBob"},
        // A pair of "%" around no name: the first stays, the second may
        // begin a name.
        std::pair{"C:\\50%\\%X%\\Docs", "C:\\50%\\Bob\\Docs"}, std::pair{"%%X%", "%Bob"},
        std::pair{long_value.c_str(), "Long\\Docs"}}) {
    set(shell_folders, "Personal", reg_text(value));
    std::string folder;
    testing::internal::CaptureStdout();
    EXPECT_EQ(get_aerlon_2_path("", false, false, folder), 1) << value;
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(folder, std::string(expected) + "\\Aerlon\\") << value;
  }
  EXPECT_EQ(dir_.read("dialogs.log"), "");
}

TEST_F(Installation, PilotFolderEdgeCases) {
  std::string folder;
  testing::internal::CaptureStdout();
  set("HKEY_CURRENT_USER\\SOFTWARE\\Aerlon3", "LastPlayer", reg_text(""));
  folder = "3";
  EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 1);
  EXPECT_EQ(folder, std::string(docs) + "\\Aerlon3\\Pilots\\");

  folder = "3x";  // not exactly "3": version 2
  EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 1);
  EXPECT_EQ(folder, std::string(docs) + "\\Aerlon\\Pilots\\Ann2");

  // The pilot's name is kept to 40 characters.
  for (std::size_t n : {40u, 41u}) {
    set("HKEY_CURRENT_USER\\SOFTWARE\\Aerlon3", "LastPlayer", reg_text(std::string(n, 'q')));
    folder = "3";
    EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 1);
    EXPECT_EQ(folder, std::string(docs) + "\\Aerlon3\\Pilots\\" + std::string(40, 'q')) << n;
  }

  registry_["HKEY_CURRENT_USER\\SOFTWARE\\Aerlon2"].erase("LastPlayer");
  write_registry();
  folder.clear();  // no last pilot: the documents folder itself
  EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 1);
  EXPECT_EQ(folder, docs);

  registry_.erase(shell_folders);
  write_registry();
  folder.clear();
  EXPECT_EQ(get_aerlon_2_path("", false, true, folder), 0);
  std::string console = testing::internal::GetCapturedStdout();
  EXPECT_NE(console.find("User Shell Folders NOT READABLE"), std::string::npos);
}
