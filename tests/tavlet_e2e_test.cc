// Tavlet run whole in a temporary installation, its files compared byte for
// byte with what the report must hold.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/test_support.h"

namespace {

namespace fs = std::filesystem;

const std::string crlf = "\r\n";

// A report row laid out for the longest command name of the fixture's tables
// (12 characters): fields from columns 1, 17 and 47.
std::string txt(const std::string& f1, const std::string& f2 = "", const std::string& f3 = "") {
  std::string row = f1;
  if (!f2.empty() || !f3.empty()) {
    row.resize(16, ' ');
    row += f2;
  }
  if (!f3.empty()) {
    row.resize(46, ' ');
    row += f3;
  }
  return row + crlf;
}

const std::string nokbk_en = "Not assigned to a keyboard key" + std::string(34, ' ');
const std::string joystick_guid_hex = "40,1a,6a,9f,e6,d1,e9,11,80,01,44,45,53,54,00,00";
const std::string joystick_header = "[{9F6A1A40-D1E6-11E9-8001-444553540000}]";

// The installation: the working folder "work" holds the tables; the registry
// names the other folders relative to it.
class Tavlet : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(dir_.file("work"));
    write("work/CMD.txt",
          "# Aerlon 2\r\n1000=Aileron\r\n1001=Elevator\r\n3001=Pause\r\n3002=Release tow\r\n"
          "3003=Airbrakes\r\n3004=Chat\r\n");
    write("work/CMD_A3.txt",
          "2001=Aileron\r\n2002=Elevator\r\n3101=Pause\r\n3102=Release tow\r\n"
          "3103=Airbrakes\r\n3105=Engine start\r\n");
    write("work/SCN_QWERTY.txt",
          "2=1\r\n16=Q\r\n30=A\r\n44=Zed\r\n57=Space\r\n59=F1\r\n200=Up\r\n328=Up ext\r\n");
    install(2);
    install(3);
    write("Docs/Aerlon/Pilots/Ann/controls.ini",
          "[Keyboard]\r\n3001=57\r\n3002=30\r\n3003=99\r\n3001=16\r\n\r\n" + joystick_header +
              "\r\n1000=1000\r\n1001=1004\r\n3003=49\r\n\r\n"
              "[{00000000-0000-0000-0000-000000000000}]\r\n3004=50\r\n1000=1000\r\n");
    write("Docs/Aerlon3/Pilots/Ann/controls.ini",
          joystick_header + "\r\n2001=1000\r\n3103=49\r\n[Keys]\r\n3101=57\r\n3102=44\r\n"
                            "3105=2\r\n9999=5\r\n3101=16\r\n");
    write("Palvik/Settings/Palvik.ini", "[Keys]\r\nKeyMenu=SCN328\r\n");
    write("joysticks.txt", "0 3 4 045E 001B\r\n");
    write_registry();
  }

  void write(const std::string& name, const std::string& content) { dir_.write(name, content); }

  void install(int v) {
    std::string folder = "Games/Aerlon" + std::to_string(v);
    write(folder + "/Aerlon.exe", "MZ");
    write(folder + "/Logs/Logfile.txt", "Aerlon version: " + std::to_string(v) + "105\r\n");
    installed_[v - 2] = true;
  }

  void write_registry() {
    std::string reg = "Windows Registry Editor Version 5.00\r\n\r\n";
    for (int v : {2, 3}) {
      reg += "[HKEY_CURRENT_USER\\SOFTWARE\\Aerlon" + std::to_string(v) + "]\r\n";
      if (installed_[v - 2]) {
        reg += "\"InstallDir\"=\"..\\\\Games\\\\Aerlon" + std::to_string(v) + "\"\r\n";
      }
      reg += "\"LastPlayer\"=\"Ann\"\r\n\r\n";
    }
    reg +=
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell "
        "Folders]\r\n\"Personal\"=\"..\\\\Docs\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\System\\CurrentControlSet\\Control\\MediaProperties\\"
        "PrivateProperties\\Joystick\\OEM\\VID_045E&PID_001B]\r\n"
        "\"OEMName\"=\"" + joystick_name_ + "\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\System\\CurrentControlSet\\Control\\MediaProperties\\"
        "PrivateProperties\\DirectInput\\VID_045E&PID_001B\\Calibration\\0]\r\n"
        "\"GUID\"=hex:" + joystick_guid_hex + "\r\n";
    write("registry.reg", reg);
  }

  int run(const std::string& lang, std::vector<std::string> args = {},
          const std::string& answers = "no\n") {
    write("answers.txt", answers);
    return run_program(TAVLET_EXE, args, dir_.file("work"),
                       {{"MALVET_REGISTRY", dir_.file("registry.reg")},
                        {"MALVET_JOYSTICKS", dir_.file("joysticks.txt")},
                        {"MALVET_DIALOGS", dir_.file("answers.txt")},
                        {"MALVET_DIALOG_LOG", dir_.file("dialogs.log")},
                        {"LC_ALL", lang}},
                       &console_);
  }

  std::string read(const std::string& name) const { return dir_.read(name); }

  // The log file that the run created, apart from its first line (the date).
  std::string run_log() const {
    auto logs = files_starting_with(dir_.file("work"), "Tavlet_");
    EXPECT_EQ(logs.size(), 1u);
    if (logs.empty()) return "";
    std::string log = read("work/" + logs[0]);
    return log.substr(log.find(crlf) + 2);
  }

  TempDir dir_;
  bool installed_[2] = {false, false};
  std::string joystick_name_ = "Stick One";
  std::string console_;
};

const std::string question_en =
    "box|yesno|Tavlet (beta)|The controls assignment table has been written to : "
    "controls.txt\\nDo you want to open it (with the default text editor) ?\r\n";

}  // namespace

TEST_F(Tavlet, BothVersionsInEnglish) {
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  const std::string v2 = "..\\Docs\\Aerlon\\Pilots\\Ann\\controls.ini";
  const std::string v3 = "..\\Docs\\Aerlon3\\Pilots\\Ann\\controls.ini";
  EXPECT_EQ(read("work/Controls.txt"),
            " \r\n" + v2 + crlf + " \r\n" + txt("Control", "Button/Axis/Key", "Device") +
                " \r\n" + txt("Aileron", "X Axis", "Stick One") +
                txt("Elevator", "Y Axis", "Stick One") + txt("Pause", "Space", "Keyboard") +
                txt("Pause", "Q", "Keyboard") + txt("Release tow", "A", "Keyboard") +
                txt("Airbrakes", "Unrecognized key") + txt("Airbrakes", "Button 1", "Stick One") +
                txt("Chat", "Not assigned to a keyboard key") +
                " \r\n" + v3 + crlf + " \r\n" + txt("Control", "Button/Axis/Key", "Device") +
                " \r\n" + txt("Aileron", "Unassigned") + txt("Elevator", "Unassigned") +
                txt("Pause", "Space", "Keyboard") + txt("Pause", "Q", "Keyboard") +
                txt("Release tow", "Z", "Keyboard") +
                txt("Airbrakes", "Not assigned to a keyboard key") +
                txt("Engine start", "1", "Keyboard") +
                " \r\nAerlon 2 and 3 assignment differences\r\n \r\n" + txt("Aileron") +
                txt("Elevator") + txt("Release tow") + txt("Airbrakes") +
                " \r\n..\\Palvik\\Settings\\Palvik.ini\r\n \r\n" +
                txt("KeyMenu", "Up", "Keyboard") +
                "\r\nKeys, axes and buttons not used in Aerlon, Palvik\r\n\r\n" +
                txt(" ", "F1", "Keyboard") + " \r\n" + txt(" ", "Z Axis", "Stick One") +
                txt(" ", "Button 0", "Stick One") + txt(" ", "Button 2", "Stick One") +
                txt(" ", "Button 3", "Stick One"));
  EXPECT_EQ(read("work/Controls.csv"),
            " \r\n\"" + v2 + "\",\"\",\"\",\r\n \r\n"
            "\"Control\",\"Button/Axis/Key\",\"Device\",\r\n \r\n"
            "\"Aileron\",\"X Axis\",\"Stick One\",\r\n"
            "\"Elevator\",\"Y Axis\",\"Stick One\",\r\n"
            "\"Pause\",\"Space\",\"Keyboard\",\r\n"
            "\"Pause\",\"Q\",\"Keyboard\",\r\n"
            "\"Release tow\",\"A\",\"Keyboard\",\r\n"
            "\"Airbrakes\",\"Unrecognized key\",\" \",\r\n"
            "\"Airbrakes\",\"Button 1\",\"Stick One\",\r\n"
            "\"Chat\",\"" + nokbk_en + "\",\" \",\r\n"
            " \r\n\"" + v3 + "\",\"\",\"\",\r\n \r\n"
            "\"Control\",\"Button/Axis/Key\",\"Device\",\r\n \r\n"
            "\"Aileron\",\"Unassigned\",\" \",\r\n"
            "\"Elevator\",\"Unassigned\",\" \",\r\n"
            "\"Pause\",\"Space\",\"Keyboard\",\r\n"
            "\"Pause\",\"Q\",\"Keyboard\",\r\n"
            "\"Release tow\",\"Z\",\"Keyboard\",\r\n"
            "\"Airbrakes\",\"" + nokbk_en + "\",\" \",\r\n"
            "\"Engine start\",=\"1\",\"Keyboard\",\r\n"
            " \r\n\"Aerlon 2 and 3 assignment differences\";;\r\n \r\n"
            "\"Aileron\",\" \",\" \",\r\n"
            "\"Elevator\",\" \",\" \",\r\n"
            "\"Release tow\",\" \",\" \",\r\n"
            "\"Airbrakes\",\" \",\" \",\r\n"
            " \r\n..\\Palvik\\Settings\\Palvik.ini\r\n \r\n"
            "\"KeyMenu\",\"Up\",\"Keyboard\",\r\n"
            "\r\nKeys, axes and buttons not used in Aerlon, Palvik\r\n\r\n"
            "\" \",\"F1\",\"Keyboard\",\r\n \r\n"
            "\" \",\"Z Axis\",\"Stick One\",\r\n"
            "\" \",\"Button 0\",\"Stick One\",\r\n"
            "\" \",\"Button 2\",\"Stick One\",\r\n"
            "\" \",\"Button 3\",\"Stick One\",\r\n");
  EXPECT_EQ(run_log(), "\r\n" + txt("Zed", "Z"));
  EXPECT_EQ(read("work/Logfile.txt"),
            "Aerlon 2 install path: ..\\Games\\Aerlon2\r\n"
            "Aerlon 3 install path: ..\\Games\\Aerlon3\r\n");
  EXPECT_EQ(read("dialogs.log"), question_en);
  EXPECT_NE(console_.find(" (A,T17,A,T47,A)\n"), std::string::npos);
  EXPECT_NE(console_.find(" 9999 Command not found\n"), std::string::npos);
}
