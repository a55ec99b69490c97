#include "shared/devices.h"

#include <gtest/gtest.h>

#include "shared/platform.h"
#include "tests/test_support.h"

namespace {

std::string key(std::int32_t code, std::int32_t* length = nullptr) {
  std::string s;
  std::int32_t n = get_key_name(code, s);
  if (length) *length = n;
  return s;
}

}  // namespace

TEST(KeyNames, CodesModifiersAndExtendedKeys) {
  std::int32_t n = -1;
  EXPECT_EQ(key(-30, &n), "A");
  EXPECT_EQ(n, 1);
  EXPECT_EQ(key(9970, &n), "CTRL+A");  // q 1, k -30
  EXPECT_EQ(n, 1);
  EXPECT_EQ(key(40000, &n), "ALT+");  // the character with code 0
  EXPECT_EQ(n, 1);
  EXPECT_EQ(key(150065), "LONG+CTRL+SHFT+ALT+A");
  EXPECT_EQ(key(65), "A");
  EXPECT_EQ(key(-328, &n), "Up");  // 256 + 72: the extended key
  EXPECT_EQ(n, 2);
  EXPECT_EQ(key(-72), "Num 8");
  EXPECT_EQ(key(-200, &n), "");  // no name in the layout
  EXPECT_EQ(n, 0);
  EXPECT_EQ(key(19800, &n), "SHFT+");  // q 2, k -200
  EXPECT_EQ(n, 0);
  EXPECT_EQ(key(-10000), "LONG+CTRL+SHFT+ALT+");  // q -1: every bit
  EXPECT_EQ(key(5000), "\x88");                   // k 5000 is not past 5000: no prefix
  // Prefixes and name together are cut at 31 characters.
  EXPECT_EQ(key(149652), std::string("LONG+CTRL+SHFT+ALT+Right Windows").substr(0, 31));
}

TEST(KeyNames, ScanCodesAsTheReportNamesThem) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(scan_code_name(30), "A");
  EXPECT_EQ(scan_code_name(200), "Up");         // 200 has no name; 328 has
  EXPECT_EQ(scan_code_name(156), "Num Enter");  // 284
  EXPECT_EQ(scan_code_name(69), "Pause");
  EXPECT_EQ(scan_code_name(197), "Num Lock");
  EXPECT_EQ(scan_code_name(0), "");
  EXPECT_EQ(key_display_name(10, true), "9");  // the French top row's digits
  EXPECT_EQ(key_display_name(11, true), "0");
  EXPECT_EQ(key_name_text(57 << 16, 5), "Spac");  // a buffer of 5 with its NUL
  scan_code_name(INT32_MIN);
  scan_code_name(INT32_MAX);
  testing::internal::GetCapturedStdout();
}

TEST(JoystickHeader, FromTheSixteenBytes) {
  EXPECT_EQ(joystick_header(std::string(
                "\x40\x1a\x6a\x9f\xe6\xd1\xe9\x11\x80\x01\x44\x45\x53\x54\x00\x00", 16)),
            "[{9F6A1A40-D1E6-11E9-8001-444553540000}]");
  EXPECT_EQ(joystick_header(std::string("\x00\x00\x01\x00\x02\x00\x00\x03\x00\x04\x00\x00"
                                        "\x05\x00\x77\x77",
                                        16)),
            "[{00010000-0002-0300-0004-000005000000}]");
}

class Joysticks : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.write("slots.txt", "# slot axes buttons vendor product\n\n2 4 12 045E 001B\n");
    dir_.write("registry.reg",
               "Windows Registry Editor Version 5.00\r\n\r\n"
               "[HKEY_CURRENT_USER\\System\\CurrentControlSet\\Control\\MediaProperties\\"
               "PrivateProperties\\Joystick\\OEM\\VID_045E&PID_001B]\r\n"
               "\"OEMName\"=\"SideWinder Force Feedback 2 Joystick\"\r\n\r\n"
               "[HKEY_CURRENT_USER\\System\\CurrentControlSet\\Control\\MediaProperties\\"
               "PrivateProperties\\DirectInput\\VID_045E&PID_001B\\Calibration\\0]\r\n"
               "\"GUID\"=hex:40,1a,6a,9f,e6,d1,e9,11,80,01,44,45,53,54,00,00\r\n");
  }

  TempDir dir_;
  ScopedEnv slots_{"MALVET_JOYSTICKS", dir_.file("slots.txt")};
  ScopedEnv registry_{"MALVET_REGISTRY", dir_.file("registry.reg")};
};

TEST_F(Joysticks, SlotsUpToTheHighestThatAnswers) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(GetNumJoy(), 3);
  std::string guid = "x", name = "x";
  std::int32_t axes = -1, buttons = -1;
  EXPECT_EQ(GetJoyInfo(0, guid, name, axes, buttons), 0);
  EXPECT_EQ(GetJoyInfo(1, guid, name, axes, buttons), 0);
  EXPECT_EQ(guid, "x");
  EXPECT_EQ(axes, -1);
  EXPECT_EQ(GetJoyInfo(2, guid, name, axes, buttons), 1);
  std::string console = testing::internal::GetCapturedStdout();
  EXPECT_EQ(guid, "[{9F6A1A40-D1E6-11E9-8001-444553540000}]");
  EXPECT_EQ(name, "SideWinder Force Feedback 2 Joystick");
  EXPECT_EQ(axes, 4);
  EXPECT_EQ(buttons, 12);
  EXPECT_NE(console.find("0 ERROR\n1 ERROR\n"), std::string::npos);
  EXPECT_NE(console.find("VID_045E&PID_001B\n"), std::string::npos);
}

TEST_F(Joysticks, TheLastOfTheSixteenSlots) {
  dir_.write("slots.txt", "15 2 3 045E 001B\n16 2 3 045E 001B\n");
  testing::internal::CaptureStdout();
  EXPECT_EQ(GetNumJoy(), 16);
  std::string guid, name;
  std::int32_t axes = 0, buttons = 0;
  EXPECT_EQ(GetJoyInfo(15, guid, name, axes, buttons), 1);
  EXPECT_EQ(GetJoyInfo(16, guid, name, axes, buttons), 0);  // no seventeenth slot
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(guid, "[{9F6A1A40-D1E6-11E9-8001-444553540000}]");
  EXPECT_EQ(buttons, 3);
}

TEST_F(Joysticks, TheNameFromTheMachineWhenTheUserHasNone) {
  std::string reg = dir_.read("registry.reg");
  reg.replace(reg.find("HKEY_CURRENT_USER"), 17, "HKEY_LOCAL_MACHINE");
  dir_.write("registry.reg", reg + "[HKEY_LOCAL_MACHINE\\System]\r\n\"OEMName\"=\"Other\"\r\n");
  std::string guid, name;
  std::int32_t axes = 0, buttons = 0;
  testing::internal::CaptureStdout();
  EXPECT_EQ(GetJoyInfo(2, guid, name, axes, buttons), 1);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(name, "SideWinder Force Feedback 2 Joystick");
}

TEST_F(Joysticks, UnreadableNameAndIdentifierAreEmpty) {
  dir_.write("registry.reg", "Windows Registry Editor Version 5.00\r\n");
  std::string guid = "x", name = "x";
  std::int32_t axes = 0, buttons = 0;
  testing::internal::CaptureStdout();
  EXPECT_EQ(GetJoyInfo(2, guid, name, axes, buttons), 1);
  testing::internal::GetCapturedStdout();
  EXPECT_EQ(guid, "");
  EXPECT_EQ(name, "");
}

TEST_F(Joysticks, NoSlotFileNoJoystick) {
  ScopedEnv unset("MALVET_JOYSTICKS", std::nullopt);
  testing::internal::CaptureStdout();
  EXPECT_EQ(GetNumJoy(), 0);
  testing::internal::GetCapturedStdout();
}

TEST(KeyDisplayName, TheFrenchTopRowShowsItsDigits) {
  testing::internal::CaptureStdout();
  EXPECT_EQ(key_display_name(2, true), "1");
  EXPECT_EQ(key_display_name(10, true), "9");
  EXPECT_EQ(key_display_name(11, true), "0");  // the layout's name: past the rule
  EXPECT_EQ(key_display_name(10, false), "9");
  EXPECT_EQ(key_display_name(30, true), "A");
  // The row's first and last keys are digits, as every key between them.
  EXPECT_EQ(top_row_digit(2), "1");
  EXPECT_EQ(top_row_digit(10), "9");
  EXPECT_EQ(top_row_digit(1), std::nullopt);
  EXPECT_EQ(top_row_digit(11), std::nullopt);
  testing::internal::GetCapturedStdout();
}

TEST(AxisText, LettersNumbersAndTheSideWinder) {
  const InputWords& en = shared_words(Language::english).input;
  const InputWords& fr = shared_words(Language::french).input;
  EXPECT_EQ(axis_text(0, "Stick", en), "X Axis");
  EXPECT_EQ(axis_text(2, "Stick", fr), "Axe Z");
  EXPECT_EQ(axis_text(4, "Stick", en), "4 Axis");
  EXPECT_EQ(axis_text(6, sidewinder_ff2, en), "Cursor");
  EXPECT_EQ(axis_text(8, sidewinder_ff2, fr), "Commande de pouce");
  EXPECT_EQ(axis_text(6, "Stick", fr), "Axe 6");
  const InputWords& de = shared_words(Language::german).input;
  EXPECT_EQ(axis_text(1, "Stick", de), "Achse Y");
  EXPECT_EQ(button_text(3, de), "Knopf 3");
}
