#include "shared/platform_regfile.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* hkcu = "HKEY_CURRENT_USER";

std::string utf16le(const std::string& text) {
  std::string out = "\xFF\xFE";
  for (char c : text) {
    out.push_back(c);
    out.push_back('\0');
  }
  return out;
}

const std::string export_500 =
    "Windows Registry Editor Version 5.00\r\n"
    "\r\n"
    "; a comment\r\n"
    "[HKEY_CURRENT_USER\\Software\\Aerlon3]\r\n"
    "\"InstallDir\"=\"C:\\\\Games\\\\Aerlon 3\"\r\n"
    "\"Quote\"=\"say \\\"hi\\\"\"\r\n"
    "@=\"default\"\r\n"
    "\"Count\"=dword:0000010c\r\n"
    "\r\n"
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
    "Folders]\r\n"
    "\"Personal\"=hex(2):25,00,55,00,53,00,45,00,52,00,50,00,52,00,4f,00,46,00,49,00,\\\r\n"
    "  4c,00,45,00,25,00,5c,00,44,00,6f,00,63,00,73,00,00,00\r\n"
    "[HKEY_CURRENT_USER\\System\\DirectInput\\VID_045E&PID_001B\\Calibration\\0]\r\n"
    "\"GUID\"=hex:40,1a,6a,9f,e6,d1,e9,11,80,01,44,45,53,54,00,00\r\n"
    "[HKEY_CLASSES_ROOT\\.ini]\r\n"
    "@=\"inifile\"\r\n";

}  // namespace

TEST(RegFile, ValuesOfEachKind) {
  EXPECT_EQ(find_reg_value(export_500, hkcu, "Software\\Aerlon3", "InstallDir"),
            std::string("C:\\Games\\Aerlon 3") + '\0');
  EXPECT_EQ(find_reg_value(export_500, hkcu, "Software\\Aerlon3", "Quote"),
            std::string("say \"hi\"") + '\0');
  EXPECT_EQ(find_reg_value(export_500, hkcu, "Software\\Aerlon3", ""),
            std::string("default") + '\0');
  EXPECT_EQ(find_reg_value(export_500, hkcu, "Software\\Aerlon3", "Count"),
            std::string("\x0c\x01\0\0", 4));
  EXPECT_EQ(find_reg_value(export_500, hkcu,
                           "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User "
                           "Shell Folders\\",
                           "Personal"),
            std::string("%USERPROFILE%\\Docs") + '\0');
  EXPECT_EQ(find_reg_value(export_500, hkcu,
                           "System\\DirectInput\\VID_045E&PID_001B\\Calibration\\0", "GUID"),
            std::string("\x40\x1a\x6a\x9f\xe6\xd1\xe9\x11\x80\x01\x44\x45\x53\x54\0\0", 16));
  EXPECT_EQ(find_reg_value(export_500, "HKEY_CLASSES_ROOT", ".ini", "@"),
            std::string("inifile") + '\0');
  // A multiple string of a version 5.00 export is UTF-16LE too.
  EXPECT_EQ(find_reg_value(export_500 + "\"Many\"=hex(7):41,00,00,00,e9,00,00,00,00,00\r\n",
                           "HKEY_CLASSES_ROOT", ".ini", "Many"),
            std::string("A\0\xE9\0\0", 5));
}

TEST(RegFile, NamesCompareWithoutCaseAndTrailingBackslash) {
  EXPECT_TRUE(find_reg_value(export_500, hkcu, "SOFTWARE\\AERLON3\\", "installdir"));
  EXPECT_FALSE(find_reg_value(export_500, hkcu, "SOFTWARE\\AERLON2\\", "InstallDir"));
  EXPECT_FALSE(find_reg_value(export_500, hkcu, "Software\\Aerlon3", "InstallDi"));
  EXPECT_FALSE(find_reg_value(export_500, "HKEY_CLASSES_ROOT", "Software\\Aerlon3", "InstallDir"));
  // A key line ending in "\" carries on no line: its first value is its own.
  EXPECT_EQ(find_reg_value("REGEDIT4\n[HKEY_CURRENT_USER\\K\\]\n\"A\"=\"1\"\n", hkcu, "K", "A"),
            std::string("1") + '\0');
  EXPECT_EQ(find_reg_value("REGEDIT4\n[HKEY_CURRENT_USER\\K\\\n\"A\"=\"1\"\n", hkcu, "K", "A"),
            std::string("1") + '\0');  // without its "]" too
}

TEST(RegFile, Utf16AndRegedit4) {
  EXPECT_EQ(find_reg_value(utf16le(export_500), hkcu, "Software\\Aerlon3", "InstallDir"),
            std::string("C:\\Games\\Aerlon 3") + '\0');
  std::string v4 = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Env]\n\"Docs\"=hex(2):25,41,25,5c,44,00\n";
  EXPECT_EQ(find_reg_value(v4, hkcu, "Env", "Docs"), std::string("%A%\\D") + '\0');
}

TEST(RegFile, LastValueWinsAndDeletionsRemove) {
  std::string file =
      "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"A\"=\"1\"\n\"B\"=\"x\"\n[HKEY_CURRENT_USER\\K]\n"
      "\"A\"=\"2\"\n\"B\"=-\n[-HKEY_CURRENT_USER\\K]\n\"A\"=\"3\"\n";
  EXPECT_EQ(find_reg_value(file, hkcu, "K", "A"), std::string("2") + '\0');
  EXPECT_FALSE(find_reg_value(file, hkcu, "K", "B"));
}

TEST(RegFile, BadInputFindsNothing) {
  EXPECT_FALSE(find_reg_value("", hkcu, "K", "A"));
  EXPECT_FALSE(find_reg_value("\xFF\xFE", hkcu, "K", "A"));
  EXPECT_FALSE(find_reg_value("[HKEY_CURRENT_USER\\K]\n\"A\"=\"1\"\n", hkcu, "K", "A"));
  std::string garbage;
  for (int i = 0; i < 5000; ++i) garbage.push_back(static_cast<char>(i * 7919 % 256));
  EXPECT_FALSE(find_reg_value(garbage, hkcu, "K", "A"));
  EXPECT_FALSE(
      find_reg_value("REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"A\"=\"unclosed\n", hkcu, "K", "A"));
  EXPECT_FALSE(
      find_reg_value("REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"A\"=hex:4g,00\n", hkcu, "K", "A"));
  EXPECT_FALSE(
      find_reg_value("REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"A\"=dword:123456789\n", hkcu, "K", "A"));
  // A file cut off inside a value gives at most the part that is there.
  std::string truncated = export_500.substr(0, export_500.find("4c,00"));
  auto cut_value = find_reg_value(truncated, hkcu,
                                  "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
                                  "User Shell Folders",
                                  "Personal");
  ASSERT_TRUE(cut_value);
  EXPECT_EQ(*cut_value, "%USERPROFI");
  std::string long_line =
      "REGEDIT4\n[HKEY_CURRENT_USER\\K]\n\"A\"=\"" + std::string(100000, 'v') + "\"\n";
  EXPECT_EQ(find_reg_value(long_line, hkcu, "K", "A")->size(), 100001u);
}
