// Tavlet run whole in a temporary installation, its files compared byte for
// byte with what the report must hold.
#include <gtest/gtest.h>

#include <filesystem>

#include "shared/text.h"
#include "tests/e2e_support.h"
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
    if (std::string why = e2e_unavailable(); !why.empty()) GTEST_SKIP() << why;
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
          joystick_header +
              "\r\n2001=1000\r\n3103=49\r\n[Keys]\r\n3101=57\r\n3102=44\r\n"
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
        "Folders]\r\n\"Personal\"=\"..\\\\" +
        documents_ +
        "\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\System\\CurrentControlSet\\Control\\MediaProperties\\"
        "PrivateProperties\\Joystick\\OEM\\VID_045E&PID_001B]\r\n"
        "\"OEMName\"=\"" +
        joystick_name_ +
        "\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\System\\CurrentControlSet\\Control\\MediaProperties\\"
        "PrivateProperties\\DirectInput\\VID_045E&PID_001B\\Calibration\\0]\r\n"
        "\"GUID\"=hex:" +
        joystick_guid_hex + "\r\n";
    write("registry.reg", reg);
  }

  int run(const std::string& lang, std::vector<std::string> args = {},
          const std::string& answers = "no\n", const RunOptions& options = {}) {
    write("answers.txt", answers);
    std::vector<std::pair<std::string, std::string>> env = {
        {"MALVET_JOYSTICKS", dir_.file("joysticks.txt")},
        {"MALVET_DIALOGS", dir_.file("answers.txt")},
        {"MALVET_DIALOG_LOG", dir_.file("dialogs.log")},
        {"LC_ALL", lang}};
    env.insert(env.end(), extra_env_.begin(), extra_env_.end());
    return run_malvet("Tavlet", args, dir_.file("work"), dir_.file("registry.reg"), env, &console_,
                      options);
  }

  std::string read(const std::string& name) const { return dir_.read(name); }

  TempDir dir_;
  bool installed_[2] = {false, false};
  std::string joystick_name_ = "Stick One";
  std::string documents_ = "Docs";  // below the working folder's parent
  std::vector<std::pair<std::string, std::string>> extra_env_;
  std::string console_;
};

const std::string question_en =
    "box|yesno|Tavlet (beta)|The controls assignment table has been written to : "
    "controls.txt\\nDo you want to open it (with the default text editor) ?\r\n";

}  // namespace

TEST_F(Tavlet, BothVersionsInEnglish) {
  if (windows_target()) GTEST_SKIP() << "Wine attaches no joystick (see WithoutAJoystick)";
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  const std::string v2 = "..\\Docs\\Aerlon\\Pilots\\Ann\\controls.ini";
  const std::string v3 = "..\\Docs\\Aerlon3\\Pilots\\Ann\\controls.ini";
  EXPECT_EQ(
      read("work/Controls.txt"),
      " \r\n" + v2 + crlf + " \r\n" + txt("Control", "Button/Axis/Key", "Device") + " \r\n" +
          txt("Aileron", "X Axis", "Stick One") + txt("Elevator", "Y Axis", "Stick One") +
          txt("Pause", "Space", "Keyboard") + txt("Pause", "Q", "Keyboard") +
          txt("Release tow", "A", "Keyboard") + txt("Airbrakes", "Unrecognized key") +
          txt("Airbrakes", "Button 1", "Stick One") +
          txt("Chat", "Not assigned to a keyboard key") + " \r\n" + v3 + crlf + " \r\n" +
          txt("Control", "Button/Axis/Key", "Device") + " \r\n" + txt("Aileron", "Unassigned") +
          txt("Elevator", "Unassigned") + txt("Pause", "Space", "Keyboard") +
          txt("Pause", "Q", "Keyboard") + txt("Release tow", "Z", "Keyboard") +
          txt("Airbrakes", "Not assigned to a keyboard key") +
          txt("Engine start", "1", "Keyboard") +
          " \r\nAerlon 2 and 3 assignment differences\r\n \r\n" + txt("Aileron") + txt("Elevator") +
          txt("Release tow") + txt("Airbrakes") + " \r\n..\\Palvik\\Settings\\Palvik.ini\r\n \r\n" +
          txt("KeyMenu", "Up", "Keyboard") +
          "\r\nKeys, axes and buttons not used in Aerlon, Palvik\r\n\r\n" +
          txt(" ", "F1", "Keyboard") + " \r\n" + txt(" ", "Z Axis", "Stick One") +
          txt(" ", "Button 0", "Stick One") + txt(" ", "Button 2", "Stick One") +
          txt(" ", "Button 3", "Stick One"));
  EXPECT_EQ(read("work/Controls.csv"),
            " \r\n\"" + v2 +
                "\",\"\",\"\",\r\n \r\n"
                "\"Control\",\"Button/Axis/Key\",\"Device\",\r\n \r\n"
                "\"Aileron\",\"X Axis\",\"Stick One\",\r\n"
                "\"Elevator\",\"Y Axis\",\"Stick One\",\r\n"
                "\"Pause\",\"Space\",\"Keyboard\",\r\n"
                "\"Pause\",\"Q\",\"Keyboard\",\r\n"
                "\"Release tow\",\"A\",\"Keyboard\",\r\n"
                "\"Airbrakes\",\"Unrecognized key\",\" \",\r\n"
                "\"Airbrakes\",\"Button 1\",\"Stick One\",\r\n"
                "\"Chat\",\"" +
                nokbk_en +
                "\",\" \",\r\n"
                " \r\n\"" +
                v3 +
                "\",\"\",\"\",\r\n \r\n"
                "\"Control\",\"Button/Axis/Key\",\"Device\",\r\n \r\n"
                "\"Aileron\",\"Unassigned\",\" \",\r\n"
                "\"Elevator\",\"Unassigned\",\" \",\r\n"
                "\"Pause\",\"Space\",\"Keyboard\",\r\n"
                "\"Pause\",\"Q\",\"Keyboard\",\r\n"
                "\"Release tow\",\"Z\",\"Keyboard\",\r\n"
                "\"Airbrakes\",\"" +
                nokbk_en +
                "\",\" \",\r\n"
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
  EXPECT_EQ(run_log(dir_.file("work"), "Tavlet"), "\r\n" + txt("Zed", "Z"));
  EXPECT_EQ(read("work/Logfile.txt"),
            "Aerlon 2 install path: ..\\Games\\Aerlon2\r\n"
            "Aerlon 3 install path: ..\\Games\\Aerlon3\r\n");
  EXPECT_EQ(read("dialogs.log"), question_en);
  EXPECT_NE(console_.find(" (A,T17,A,T47,A)\n"), std::string::npos);
  EXPECT_NE(console_.find(" 9999 Command not found\n"), std::string::npos);
}

namespace {

// The fixture's report in English with both versions read.
std::string english_block(const std::string& path, const std::string& rows) {
  return " \r\n" + path + crlf + " \r\n" + txt("Control", "Button/Axis/Key", "Device") + " \r\n" +
         rows;
}

int count_of(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++n;
  }
  return n;
}

}  // namespace

TEST_F(Tavlet, OnlyVersion3InFrench) {
  installed_[0] = false;
  write_registry();
  write("work/SCN_AZERTY_FR.txt",
        "2=1\r\n3=2\r\n11=0\r\n16=A\r\n30=Q\r\n44=W\r\n57=Espace\r\n59=F1\r\n200=Haut\r\n");
  fs::remove(dir_.file("work/CMD.txt"));  // not needed without version 2
  write("joysticks.txt", "");
  ASSERT_EQ(run("fr_FR.UTF-8"), 0) << console_;
  const std::string nokbk =
      "Pas assign\xE9"
      "e \xE0 une touche du clavier";
  EXPECT_EQ(read("work/Controls.txt"),
            " \r\n..\\Docs\\Aerlon3\\Pilots\\Ann\\controls.ini\r\n \r\n" +
                txt("Commande", "Bouton/Axe/Touche", "P\xE9riph\xE9rique") + " \r\n" +
                txt("Aileron",
                    "Non assign\xE9"
                    "e") +
                txt("Elevator",
                    "Non assign\xE9"
                    "e") +
                txt("Pause", "Space", "Clavier") + txt("Pause", "Q", "Clavier") +
                txt("Release tow", "Z", "Clavier") + txt("Airbrakes", nokbk) +
                txt("Engine start", "1", "Clavier") +
                " \r\n..\\Palvik\\Settings\\Palvik.ini\r\n \r\n" + txt("KeyMenu", "Up", "Clavier") +
                "\r\nTouches, axes & boutons non utilis\xE9s dans Aerlon, Palvik\r\n\r\n" +
                txt(" ", "2", "Clavier") + txt(" ", "0", "Clavier") + txt(" ", "A", "Clavier") +
                txt(" ", "F1", "Clavier"));
  EXPECT_EQ(read("work/Controls.csv"),
            " \r\n\"..\\Docs\\Aerlon3\\Pilots\\Ann\\controls.ini\";\"\";\"\";\r\n \r\n"
            "\"Commande\";\"Bouton/Axe/Touche\";\"P\xE9riph\xE9rique\";\r\n \r\n"
            "\"Aileron\";\"Non assign\xE9"
            "e\";\" \";\r\n"
            "\"Elevator\";\"Non assign\xE9"
            "e\";\" \";\r\n"
            "\"Pause\";\"Space\";\"Clavier\";\r\n"
            "\"Pause\";\"Q\";\"Clavier\";\r\n"
            "\"Release tow\";\"Z\";\"Clavier\";\r\n"
            "\"Airbrakes\";\"" +
                nokbk + std::string(64 - nokbk.size(), ' ') +
                "\";\" \";\r\n"
                "\"Engine start\";=\"1\";\"Clavier\";\r\n"
                " \r\n..\\Palvik\\Settings\\Palvik.ini\r\n \r\n"
                "\"KeyMenu\";\"Up\";\"Clavier\";\r\n"
                "\r\nTouches, axes & boutons non utilis\xE9s dans Aerlon, Palvik\r\n\r\n"
                "\" \";=\"2\";\"Clavier\";\r\n"
                "\" \";=\"0\";\"Clavier\";\r\n"
                "\" \";\"A\";\"Clavier\";\r\n"
                "\" \";\"F1\";\"Clavier\";\r\n");
  // The names that the layout gives differently from the table.
  EXPECT_EQ(run_log(dir_.file("work"), "Tavlet"),
            "\r\n" + txt("Espace", "Space") + txt("W", "Z") + txt("A", "Q"));
  EXPECT_EQ(read("dialogs.log"),
            "box|yesno|Tavlet (beta)|La table d'assignation des commandes a \xE9t\xE9 \xE9"
            "crite dans : controls.txt\\nVoulez vous l'ouvrir (avec l'\xE9"
            "diteur de texte par "
            "d\xE9"
            "faut) ?\r\n");
}

TEST_F(Tavlet, EnglishForcedOnAFrenchSystem) {
  ASSERT_EQ(run("fr_FR.UTF-8", {"-EN"}), 0) << console_;
  std::string english = read("work/Controls.txt");
  EXPECT_NE(english.find(txt("Control", "Button/Axis/Key", "Device")), std::string::npos);
  EXPECT_EQ(read("dialogs.log"), question_en);

  // Any other argument leaves the language to the system: the French table
  // is then needed.
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run("fr_FR.UTF-8", {"-en"}), 1);
  EXPECT_EQ(run("fr_FR.UTF-8", {"-EN", "x"}), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|*** Le fichier SCN_AZERTY_FR.txt ne peut pas \xEAtre "
            "ouvert  ***\r\n"
            "box|error|Tavlet (beta)|*** Le fichier SCN_AZERTY_FR.txt ne peut pas \xEAtre "
            "ouvert  ***\r\n");
  EXPECT_EQ(read("work/Controls.txt"), english);  // never reached
}

TEST_F(Tavlet, NoDifferencesBetweenTheVersions) {
  write("Docs/Aerlon/Pilots/Ann/controls.ini", "[Keyboard]\r\n3001=57\r\n3004=30\r\n");
  write("Docs/Aerlon3/Pilots/Ann/controls.ini", "[Keyboard]\r\n3101=57\r\n");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_NE(read("work/Controls.txt")
                .find(" \r\nAerlon 2 and 3 assignment differences\r\n \r\nNone\r\n \r\n"),
            std::string::npos);
  EXPECT_NE(read("work/Controls.csv")
                .find(" \r\n\"Aerlon 2 and 3 assignment differences\";;\r\n \r\n\"None\";;\r\n"),
            std::string::npos);
}

TEST_F(Tavlet, SideWinderAxesAndOnlyVersion2) {
  if (windows_target()) GTEST_SKIP() << "Wine attaches no joystick";
  joystick_name_ = "SideWinder Force Feedback 2 Joystick";
  installed_[1] = false;
  write_registry();
  write("joysticks.txt", "# slot axes buttons vendor product\r\n0 9 0 045E 001B\r\n");
  write("Docs/Aerlon/Pilots/Ann/controls.ini",
        "[Keyboard]\r\n3001=57\r\n" + joystick_header + "\r\n1000=1024\r\n1001=1004\r\n");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  const std::string sw = joystick_name_;
  std::string report = read("work/Controls.txt");
  // One version: lmax is version 2's longest name, "Release tow".
  auto row = [&](const std::string& f1, const std::string& f2, const std::string& f3) {
    std::string r = f1;
    r.resize(15, ' ');
    r += f2;
    r.resize(45, ' ');
    return r + f3 + crlf;
  };
  EXPECT_NE(report.find(row("Aileron", "Cursor", sw) + row("Elevator", "Y Axis", sw)),
            std::string::npos);
  EXPECT_NE(report.find(" \r\n" + row(" ", "X Axis", sw) + row(" ", "Z Axis", sw) +
                        row(" ", "4 Axis", sw) + row(" ", "5 Axis", sw) + row(" ", "7 Axis", sw) +
                        row(" ", "Hat switch", sw)),
            std::string::npos);
  EXPECT_EQ(report.find("differences"), std::string::npos);
  EXPECT_NE(read("work/Controls.csv").find("\" \",\"4 Axis\",\"" + sw + "\",\r\n"),
            std::string::npos);
}

TEST_F(Tavlet, StopsWithoutAnInstallation) {
  installed_[0] = installed_[1] = false;
  write_registry();
  EXPECT_EQ(run("en_US.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|No Aerlon installation detected\r\n");
  EXPECT_EQ(read("work/Logfile.txt"), "No Aerlon installation detected\r\n");
  EXPECT_FALSE(fs::exists(dir_.file("work/Controls.txt")));
  EXPECT_TRUE(files_starting_with(dir_.file("work"), "Tavlet_").empty());
}

TEST_F(Tavlet, StopsAtATableOrControlsFileThatCantBeReadWhole) {
  // Missing, or failing at a read: a file read in part would give shorter
  // reports without a word.
  struct Case {
    std::string file;
    bool read_error;
    std::string box;
  };
  const std::string v2 = "..\\Docs\\Aerlon\\Pilots\\Ann\\controls.ini";
  const Case cases[] = {
      {"work/CMD_A3.txt", false, "*** File CMD_A3.txt cannot be opened  ***"},
      {"work/CMD.txt", true, "*** File CMD.txt cannot be opened  ***"},
      {"work/SCN_QWERTY.txt", true, "*** File SCN_QWERTY.txt cannot be opened  ***"},
      {"Docs/Aerlon/Pilots/Ann/controls.ini", true, v2 + "\\nError opening"}};
  for (const Case& c : cases) {
    if (c.read_error && windows_target()) continue;  // read errors are made on Linux
    SCOPED_TRACE(c.file);
    std::string kept = read(c.file);
    fs::remove(dir_.file(c.file));
    if (c.read_error) fs::create_symlink("/proc/self/mem", dir_.file(c.file));
    fs::remove(dir_.file("dialogs.log"));
    EXPECT_EQ(run("en_US.UTF-8"), 1);
    EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + c.box + "\r\n");
    // A controls.ini fails after its block's heading, as one that can't be
    // opened; a table before the reports are opened.
    EXPECT_EQ(
        read("work/Controls.txt"),
        c.file == "Docs/Aerlon/Pilots/Ann/controls.ini"
            ? " \r\n" + v2 + crlf + " \r\n" + txt("Control", "Button/Axis/Key", "Device") + " \r\n"
            : "");
    fs::remove(dir_.file(c.file));
    write(c.file, kept);
    fs::remove(dir_.file("work/Controls.txt"));
  }
}

// Without a joystick, the stick's section is a device that is not attached.
const std::string v2_rows_without_joystick =
    txt("Aileron", "Unassigned") + txt("Elevator", "Unassigned") +
    txt("Pause", "Space", "Keyboard") + txt("Pause", "Q", "Keyboard") +
    txt("Release tow", "A", "Keyboard") + txt("Airbrakes", "Unrecognized key") +
    txt("Airbrakes", "Not assigned to a keyboard key") +
    txt("Chat", "Not assigned to a keyboard key");

TEST_F(Tavlet, BothVersionsWithoutAJoystick) {
  write("joysticks.txt", "");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_EQ(
      read("work/Controls.txt"),
      english_block("..\\Docs\\Aerlon\\Pilots\\Ann\\controls.ini", v2_rows_without_joystick) +
          english_block("..\\Docs\\Aerlon3\\Pilots\\Ann\\controls.ini",
                        txt("Aileron", "Unassigned") + txt("Elevator", "Unassigned") +
                            txt("Pause", "Space", "Keyboard") + txt("Pause", "Q", "Keyboard") +
                            txt("Release tow", "Z", "Keyboard") +
                            txt("Airbrakes", "Not assigned to a keyboard key") +
                            txt("Engine start", "1", "Keyboard")) +
          // Airbrakes: 99 (the unrecognised key) against never bound.
          " \r\nAerlon 2 and 3 assignment differences\r\n \r\n" + txt("Release tow") +
          txt("Airbrakes") + " \r\n..\\Palvik\\Settings\\Palvik.ini\r\n \r\n" +
          txt("KeyMenu", "Up", "Keyboard") +
          "\r\nKeys, axes and buttons not used in Aerlon, Palvik\r\n\r\n" +
          txt(" ", "F1", "Keyboard"));
  EXPECT_EQ(run_log(dir_.file("work"), "Tavlet"), "\r\n" + txt("Zed", "Z"));
  EXPECT_EQ(read("dialogs.log"), question_en);
}

TEST_F(Tavlet, StopsAfterTheFirstBlockWhenTheSecondFileIsMissing) {
  write("joysticks.txt", "");
  fs::remove(dir_.file("Docs/Aerlon3/Pilots/Ann/controls.ini"));
  EXPECT_EQ(run("en_US.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|..\\Docs\\Aerlon3\\Pilots\\Ann\\controls.ini\\nnot "
            "found\r\n");
  EXPECT_EQ(read("work/Controls.txt"),
            english_block("..\\Docs\\Aerlon\\Pilots\\Ann\\controls.ini", v2_rows_without_joystick));
  EXPECT_EQ(count_of(read("work/Controls.csv"), crlf), 13);
}

TEST_F(Tavlet, StopsWhenAReportFileCantBeOpenedAndKeepsTheOldReport) {
  write("work/Controls.txt", "last week's report\r\n");
  fs::create_directories(dir_.file("work/Controls.csv"));
  EXPECT_EQ(run("fr_FR.UTF-8", {"-EN"}), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : Controls.csv\\nError opening\r\n");
  EXPECT_EQ(read("work/Controls.txt"), "last week's report\r\n");
}

TEST_F(Tavlet, AnsweringYesOpensTheReportWithoutWaitingAndNoOpensNothing) {
  if (windows_target()) GTEST_SKIP() << "Wine would start its text editor";
  // A document opener on the PATH that records what it is given; the run is
  // followed to the end of what it started.
  write("bin/xdg-open", "#!/bin/sh\necho \"$@\" >> \"" + dir_.file("opened.txt") + "\"\n");
  fs::permissions(dir_.file("bin/xdg-open"), fs::perms::owner_all);
  extra_env_ = {{"PATH", dir_.file("bin") + ":" + std::getenv("PATH")}};
  RunOptions followed;
  followed.until_all_it_started_ended = true;
  ASSERT_EQ(run("en_US.UTF-8", {}, "no\n", followed), 0) << console_;
  EXPECT_FALSE(fs::exists(dir_.file("opened.txt")));
  ASSERT_EQ(run("en_US.UTF-8", {}, "yes\n", followed), 0) << console_;
  EXPECT_EQ(read("opened.txt"), "Controls.txt\n");
  EXPECT_EQ(read("dialogs.log"), question_en + question_en);
}

TEST_F(Tavlet, HostileControlsFilesNeverOverrunTheModel) {
  std::string garbage;
  for (int i = 0; i < 20000; ++i) garbage.push_back(static_cast<char>((i * 7919 + 13) % 256));
  write("Docs/Aerlon/Pilots/Ann/controls.ini", garbage);

  std::string huge = "[Keys]\r\n";
  for (int i = 0; i < 100000; ++i) huge += "3101=57\r\n";
  huge += "3101=" + std::string(10000, '9') + "\r\n3102=30 " + std::string(10000, 'x') + "\r\n" +
          std::string(10000, '[') + "\r\n";
  write("Docs/Aerlon3/Pilots/Ann/controls.ini", huge);
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  std::string report = read("work/Controls.txt");
  EXPECT_EQ(count_of(report, txt("Pause", "Space", "Keyboard")), 256);
  EXPECT_EQ(count_of(read("work/Controls.csv"), "\"Pause\",\"Space\",\"Keyboard\","), 256);
  EXPECT_NE(report.find("Keys, axes and buttons not used in Aerlon"), std::string::npos);
}

TEST_F(Tavlet, SectionsPastTheCapacityAreLeftOut) {
  std::string many;
  for (int s = 1; s <= 200; ++s) many += "[S" + std::to_string(s) + "]\r\n3101=57\r\n";
  write("Docs/Aerlon3/Pilots/Ann/controls.ini", many);
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  std::string report = read("work/Controls.txt");
  report = report.substr(report.find("Aerlon3"));  // version 3's block on
  EXPECT_EQ(count_of(report, txt("Pause", "Space", "Keyboard")), 1);
  EXPECT_EQ(count_of(report, txt("Pause", "Not assigned to a keyboard key")), 63);
  EXPECT_EQ(count_of(report, "Unassigned"), 5);
}

// Hostile files and folders.

TEST_F(Tavlet, ReadOnlyWorkingFolder) {
  if (windows_target()) GTEST_SKIP() << "permissions are tested on Linux";
  open_to_everyone(dir_.path());
  make_read_only_folder(dir_.file("work"));
  RunOptions nobody;
  nobody.as_nobody = true;
  EXPECT_EQ(run("en_US.UTF-8", {}, "no\n", nobody), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : Controls.txt\\nError opening\r\n");
  EXPECT_NE(console_.find(">>> CREATE"), std::string::npos);  // its log went to the console
}

TEST_F(Tavlet, FullDiskIsNotReportedAsSuccess) {
  if (windows_target()) GTEST_SKIP() << "Wine's writes of Controls.txt escape the file-size limit";
  write("work/Controls.csv", "last week's\r\n");
  RunOptions full;
  full.max_file_size = 1000;  // Controls.txt needs more
  EXPECT_EQ(run("en_US.UTF-8", {}, "no\n", full), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : Controls.txt\\nError opening\r\n");
}

TEST_F(Tavlet, AFullDiskOnlyForControlsCsvIsNotReportedAsSuccess) {
  if (windows_target()) GTEST_SKIP() << "Wine's writes of Controls.txt escape the file-size limit";
  // Rows of a device that is not attached: their CSV cell keeps its 64
  // characters, so that Controls.csv outgrows Controls.txt.
  write("work/CMD.txt", read("work/CMD.txt") + "4005=Smoke\r\n");
  std::string pedals = "[Pedals]\r\n";
  for (int i = 0; i < 200; ++i) pedals += "4005=50\r\n";
  write("Docs/Aerlon/Pilots/Ann/controls.ini", pedals);
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  const long txt_size = static_cast<long>(read("work/Controls.txt").size());
  ASSERT_LT(txt_size + 100, static_cast<long>(read("work/Controls.csv").size()));
  RunOptions full;
  full.max_file_size = txt_size + 50;  // the text report fits, the CSV does not
  fs::remove(dir_.file("dialogs.log"));
  EXPECT_EQ(run("en_US.UTF-8", {}, "no\n", full), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : Controls.csv\\nError opening\r\n");
}

TEST_F(Tavlet, ControlsFileThatIsAFolder) {
  fs::remove(dir_.file("Docs/Aerlon/Pilots/Ann/controls.ini"));
  fs::create_directories(dir_.file("Docs/Aerlon/Pilots/Ann/controls.ini"));
  EXPECT_EQ(run("en_US.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|..\\Docs\\Aerlon\\Pilots\\Ann\\controls.ini\\nnot "
            "found\r\n");
}

TEST_F(Tavlet, ControlsFilesInOtherEncodingsGiveTheSameReport) {
  write("joysticks.txt", "");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  const std::string report = read("work/Controls.txt");
  const std::string v3 = read("Docs/Aerlon3/Pilots/Ann/controls.ini");
  std::string utf16 = "\xFF\xFE", cr_only, no_last_end = v3.substr(0, v3.size() - 2);
  for (char c : v3) {
    utf16.push_back(c);
    utf16.push_back('\0');
    if (c != '\n') cr_only.push_back(c);
  }
  for (const std::string& content : {utf16, cr_only, no_last_end}) {
    write("Docs/Aerlon3/Pilots/Ann/controls.ini", content);
    ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
    EXPECT_EQ(read("work/Controls.txt"), report);
  }
}

TEST_F(Tavlet, EmptyControlsFileLeavesEveryCommandUnbound) {
  installed_[0] = false;
  write_registry();
  write("Docs/Aerlon3/Pilots/Ann/controls.ini", "");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_NE(read("work/Controls.txt")
                .find(txt("Aileron", "Unassigned") + txt("Elevator", "Unassigned") +
                      txt("Pause", "Unassigned") + txt("Release tow", "Unassigned") +
                      txt("Airbrakes", "Unassigned") + txt("Engine start", "Unassigned")),
            std::string::npos);
}

// Mended faults and the limits around them.

TEST_F(Tavlet, KeyTextsThatReachTheDeviceColumnKeepTheirEnd) {
  // Key codes with all four modifiers: 30 and 31 characters of key text.
  write("Palvik/Settings/Palvik.ini", "KeyA=SCN-149946\r\nKeyB=SCN-149652\r\nKeyC=SCN328\r\n");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_NE(
      read("work/Controls.txt")
          .find(" \r\n..\\Palvik\\Settings\\Palvik.ini\r\n \r\n"
                "KeyA" +
                std::string(12, ' ') + "LONG+CTRL+SHFT+ALT+Right Shift Keyboard\r\n" + "KeyB" +
                std::string(12, ' ') + "LONG+CTRL+SHFT+ALT+Right Window Keyboard\r\n" +
                txt("KeyC", "Up", "Keyboard")),
      std::string::npos);
  EXPECT_NE(read("work/Controls.csv")
                .find("\"KeyB\",\"LONG+CTRL+SHFT+ALT+Right Window\",\"Keyboard\",\r\n"),
            std::string::npos);
}

TEST_F(Tavlet, AKeyNamedCreateNeverStartsANewLog) {
  write("work/SCN_QWERTY.txt",
        "2=1\r\n16=Q\r\n30=CREATEX\r\n44=Zed\r\n57=Space\r\n59=F1\r\n200=Up\r\n328=Up ext\r\n");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_EQ(run_log(dir_.file("work"), "Tavlet"), "\r\n" + txt("CREATEX", "A") + txt("Zed", "Z"));
  EXPECT_TRUE(files_starting_with(dir_.file("work"), "X").empty());
}

TEST_F(Tavlet, NumbersAtTheEndsOfTheRangeAreSafe) {
  // Every number read from a file, at both ends of the signed 32-bit range:
  // in the scan-code table, the controls.ini and a sibling tool's settings.
  write("work/SCN_QWERTY.txt",
        "2147483647=Left\r\n-2147483648=Min\r\n2147483520=Near\r\n330=Ext\r\n57=Space\r\n");
  write("Docs/Aerlon3/Pilots/Ann/controls.ini",
        joystick_header +
            "\r\n2001=2147483647\r\n2002=-2147483648\r\n3103=2147483647\r\n3102=-2147483648\r\n"
            "[Keys]\r\n3101=2147483647\r\n3101=-2147483648\r\n3105=57\r\n-2147483648=1\r\n"
            "2147483647=1\r\n");
  write("Palvik/Settings/Palvik.ini",
        "KeyA=SCN2147483647\r\nKeyB=SCN-2147483648\r\nKeyC=ASC-2147483648\r\n"
        "KeyD=ASC2147483647\r\n");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  std::string report = read("work/Controls.txt");
  EXPECT_NE(report.find(txt("Engine start", "Space", "Keyboard")), std::string::npos);
  EXPECT_NE(report.find("Keys, axes and buttons not used in Aerlon, Palvik\r\n"),
            std::string::npos);
}

TEST_F(Tavlet, AControlsFileNameTooLongForItsFieldIsNotCut) {
  if (windows_target()) GTEST_SKIP() << "Windows paths stop at 260 characters";
  // "..\" + documents + "\Aerlon\Pilots\Ann\controls.ini": 257 characters.
  documents_ = std::string(223, 'd');
  write_registry();
  std::string pilot = documents_ + "/Aerlon/Pilots/Ann/";
  write(pilot + "controls.ini", "[Keyboard]\r\n3001=57\r\n");
  write(pilot + "controls.in", "[Keyboard]\r\n3001=16\r\n");  // what the cut name would read
  const std::string name = "..\\" + documents_ + "\\Aerlon\\Pilots\\Ann\\controls.ini";
  ASSERT_EQ(name.size(), 257u);
  EXPECT_EQ(run("en_US.UTF-8"), 1);
  EXPECT_EQ(read("dialogs.log"), "box|error|Tavlet (beta)|" + name.substr(0, 256) + "\r\n");
  EXPECT_EQ(read("work/Controls.txt"), "");
}

TEST_F(Tavlet, ASiblingFileThatCantBeReadToItsEndIsNotCounted) {
  if (windows_target()) GTEST_SKIP() << "read errors are made on Linux";
  fs::remove(dir_.file("Palvik/Settings/Palvik.ini"));
  fs::create_symlink("/proc/self/mem", dir_.file("Palvik/Settings/Palvik.ini"));
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  std::string report = read("work/Controls.txt");
  EXPECT_NE(report.find(" \r\n..\\Palvik\\Settings\\Palvik.ini\r\n \r\n"
                        "\r\nKeys, axes and buttons not used in Aerlon\r\n\r\n"),
            std::string::npos);
}

TEST_F(Tavlet, AJoystickInTheLastSlot) {
  if (windows_target()) GTEST_SKIP() << "Wine attaches no joystick";
  write("joysticks.txt", "15 3 4 045E 001B\r\n");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  std::string report = read("work/Controls.txt");
  EXPECT_NE(report.find(txt("Aileron", "X Axis", "Stick One")), std::string::npos);
  EXPECT_NE(report.find(txt(" ", "Button 3", "Stick One")), std::string::npos);
}

// The reference card, Controls.html, through its fixed markup and its JSON.

namespace {

// The element that carries `attribute` (the first one from `from` on), from
// its "<" to its closing tag; empty when there is none.
std::string element(const std::string& page, const std::string& attribute, std::size_t from = 0) {
  std::size_t at = page.find(attribute, from);
  if (at == std::string::npos) return "";
  std::size_t start = page.rfind('<', at);
  std::size_t name_end = page.find_first_of(" >", start);
  std::string tag = page.substr(start + 1, name_end - start - 1);
  int depth = 0;
  for (std::size_t i = start; i < page.size(); ++i) {
    if (page.compare(i, tag.size() + 1, "<" + tag) == 0 &&
        (page[i + tag.size() + 1] == ' ' || page[i + tag.size() + 1] == '>')) {
      ++depth;
    } else if (page.compare(i, tag.size() + 3, "</" + tag + ">") == 0 && --depth == 0) {
      return page.substr(start, i + tag.size() + 3 - start);
    }
  }
  return "";
}

// A version's part of the page.
std::string part(const std::string& page, int version) {
  return element(page, "data-version=\"" + std::to_string(version) + "\"");
}

std::string embedded_model(const std::string& page) {
  std::string open = "<script type=\"application/json\" id=\"controls-data\">";
  std::size_t start = page.find(open);
  if (start == std::string::npos) return "";
  start += open.size();
  return page.substr(start, page.find("</script>", start) - start);
}

}  // namespace

TEST_F(Tavlet, TheReferenceCardDrawsEveryBindingOfBothVersions) {
  if (windows_target()) GTEST_SKIP() << "Wine attaches no joystick (see the one-version test)";
  // Version 3: two commands on one key, and a key that Palvik takes too.
  write(
      "Docs/Aerlon3/Pilots/Ann/controls.ini",
      joystick_header + "\r\n2001=1000\r\n3103=49\r\n[Keys]\r\n3101=57\r\n3102=57\r\n3105=200\r\n");
  write("work/Controls.html", "last week's card");
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  const std::string page = read("work/Controls.html");
  EXPECT_FALSE(fs::exists(dir_.file("work/Controls.html.new")));
  EXPECT_EQ(page.compare(0, 15, "<!DOCTYPE html>"), 0);
  EXPECT_EQ(page.find("http"), std::string::npos);  // nothing from the network

  const std::string v2 = part(page, 2), v3 = part(page, 3);
  ASSERT_FALSE(v2.empty());
  ASSERT_FALSE(v3.empty());
  // Every key once per drawing, with its name and its commands.
  for (const std::string& v : {v2, v3}) {
    for (int code : {1, 30, 57, 86, 200, 221}) {
      std::string key = "data-key=\"" + std::to_string(code) + "\"";
      EXPECT_EQ(v.find(key), v.rfind(key)) << code;
      EXPECT_EQ(v.find(key) != std::string::npos, code != 86) << code;  // US keyboard
    }
  }
  std::string space2 = element(v2, "data-key=\"57\"");
  EXPECT_NE(space2.find("Space"), std::string::npos);
  EXPECT_NE(space2.find("Pause"), std::string::npos);
  EXPECT_EQ(space2.find("data-conflict"), std::string::npos);
  std::string space3 = element(v3, "data-key=\"57\"");
  EXPECT_NE(space3.find("Pause"), std::string::npos);
  EXPECT_NE(space3.find("Release tow"), std::string::npos);
  EXPECT_NE(space3.find("data-conflict"), std::string::npos);
  std::string up3 = element(v3, "data-key=\"200\"");
  EXPECT_NE(up3.find("Engine start"), std::string::npos);
  EXPECT_NE(up3.find("Palvik"), std::string::npos);
  EXPECT_NE(up3.find("data-conflict"), std::string::npos);
  std::string up2 = element(v2, "data-key=\"200\"");
  EXPECT_NE(up2.find("Palvik"), std::string::npos);  // taken by Palvik only
  EXPECT_EQ(up2.find("data-conflict"), std::string::npos);

  // The attached joystick's card: every axis and button it has.
  std::string stick = element(v2, "data-joystick=\"" + joystick_header + "\"");
  EXPECT_NE(stick.find("Stick One"), std::string::npos);
  EXPECT_NE(element(stick, "data-axis=\"0\"").find("Aileron"), std::string::npos);
  EXPECT_NE(element(stick, "data-axis=\"1\"").find("Elevator"), std::string::npos);
  EXPECT_NE(element(stick, "data-axis=\"2\"").find("free"), std::string::npos);
  EXPECT_NE(element(stick, "data-button=\"1\"").find("Airbrakes"), std::string::npos);
  for (int b : {0, 2, 3}) {
    EXPECT_NE(element(stick, "data-button=\"" + std::to_string(b) + "\"").find("free"),
              std::string::npos);
  }
  EXPECT_EQ(stick.find("data-button=\"4\""), std::string::npos);  // it has four
  // A device that is not attached: its header, its command.
  std::string away = element(v2, "data-joystick=\"[{00000000-0000-0000-0000-000000000000}]\"");
  EXPECT_NE(away.find("Chat"), std::string::npos);
  EXPECT_NE(element(away, "data-button=\"2\"").find("Chat"), std::string::npos);

  // Conflicts listed, unbound commands, and the differences side by side.
  EXPECT_NE(v3.find("<th>Space</th><td><span class=\"command\">Pause</span><span "
                    "class=\"command\">Release tow</span>"),
            std::string::npos);
  EXPECT_NE(v3.find("Up</th>"), std::string::npos);
  EXPECT_NE(element(v3, "class=\"unbound-list\"").find("Elevator"), std::string::npos);
  EXPECT_NE(
      page.find("<tr class=\"row\"><td><span class=\"command\">Release tow</span></td><td>A</td>"
                "<td>Space</td></tr>"),
      std::string::npos);
  EXPECT_NE(console_.find(" Conflict 3 key Space: Pause, Release tow\n"), std::string::npos);
  EXPECT_NE(console_.find(" Conflict 3 key Up: Engine start, Palvik\n"), std::string::npos);

  // The model, embedded as JSON.
  std::string model = embedded_model(page);
  EXPECT_EQ(model.front(), '{');
  EXPECT_NE(model.find("\"language\":\"en\",\"keyboard\":\"ansi\""), std::string::npos);
  EXPECT_NE(model.find("{\"position\":2,\"command\":\"Pause\",\"kind\":\"key\",\"code\":57,"
                       "\"joystick\":0,\"device\":\"\",\"text\":\"Space\"}"),
            std::string::npos);
  EXPECT_NE(model.find("{\"position\":0,\"command\":\"Aileron\",\"kind\":\"axis\",\"code\":0,"
                       "\"joystick\":1,\"device\":\"Stick One\",\"text\":\"X Axis\"}"),
            std::string::npos);
  EXPECT_NE(model.find("{\"tool\":\"Palvik\",\"setting\":\"KeyMenu\",\"key\":\"Up\",\"code\":200}"),
            std::string::npos);
  EXPECT_NE(model.find("{\"command\":\"Release tow\",\"version2\":\"A\",\"version3\":\"Space\"}"),
            std::string::npos);
  // The reports themselves do not change for it.
  EXPECT_NE(read("work/Controls.txt").find(txt("Release tow", "Space", "Keyboard")),
            std::string::npos);
}

TEST_F(Tavlet, TheReferenceCardInFrenchWithOneVersion) {
  installed_[0] = false;
  write_registry();
  write("work/SCN_AZERTY_FR.txt",
        "2=1\r\n3=2\r\n11=0\r\n16=A\r\n30=Q\r\n44=W\r\n57=Espace\r\n59=F1\r\n200=Haut\r\n");
  write("joysticks.txt", "");
  ASSERT_EQ(run("fr_FR.UTF-8"), 0) << console_;
  const std::string page = read("work/Controls.html");
  EXPECT_NE(page.find("<html lang=\"fr\">"), std::string::npos);
  EXPECT_NE(page.find("Commandes non assign\xC3\xA9"
                      "es"),
            std::string::npos);  // UTF-8
  EXPECT_TRUE(part(page, 2).empty());
  const std::string v3 = part(page, 3);
  ASSERT_FALSE(v3.empty());
  EXPECT_NE(v3.find("data-key=\"86\""), std::string::npos);  // the ISO keyboard's extra key
  EXPECT_NE(element(v3, "data-key=\"44\"").find("Release tow"), std::string::npos);
  // Without the joystick, its section is a device that is not attached.
  std::string away = element(v3, "data-joystick=\"" + joystick_header + "\"");
  EXPECT_NE(away.find("Airbrakes"), std::string::npos);
  EXPECT_EQ(page.find("class=\"differences\""), std::string::npos);
  std::string model = embedded_model(page);
  EXPECT_NE(model.find("\"language\":\"fr\",\"keyboard\":\"iso\""), std::string::npos);
  EXPECT_NE(model.find("\"differences\":null"), std::string::npos);
}

TEST_F(Tavlet, NoReferenceCardWhenTheReportStops) {
  write("work/Controls.html", "last week's card");
  fs::remove(dir_.file("Docs/Aerlon3/Pilots/Ann/controls.ini"));
  EXPECT_EQ(run("en_US.UTF-8"), 1);
  EXPECT_EQ(read("work/Controls.html"), "last week's card");
}

TEST_F(Tavlet, APageThatCantBeWrittenChangesNothingElseAndLeavesNoOldPage) {
  write("joysticks.txt", "");
  // The page's own name taken by a folder: nothing to remove.
  fs::create_directories(dir_.file("work/Controls.html"));
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_TRUE(fs::is_directory(dir_.file("work/Controls.html")));
  EXPECT_FALSE(fs::exists(dir_.file("work/Controls.html.new")));
  EXPECT_EQ(read("dialogs.log"), question_en);
  EXPECT_NE(console_.find(" Controls.html NOT WRITTEN: Controls.html is a folder\n"),
            std::string::npos);
  // Its passing name taken by a folder: last run's page must not stay to be
  // read as today's.
  fs::remove(dir_.file("work/Controls.html"));
  write("work/Controls.html", "last week's page");
  fs::create_directories(dir_.file("work/Controls.html.new"));
  ASSERT_EQ(run("en_US.UTF-8"), 0) << console_;
  EXPECT_FALSE(fs::exists(dir_.file("work/Controls.html")));
  EXPECT_TRUE(fs::is_directory(dir_.file("work/Controls.html.new")));
  EXPECT_NE(console_.find(" Controls.html NOT WRITTEN: Controls.html.new is a link or a folder; "
                          "the old page removed\n"),
            std::string::npos);
  EXPECT_EQ(read("work/Controls.txt").substr(0, 3), " \r\n");
}

TEST_F(Tavlet, AccentsOnAConsoleShowTheirLettersAndGoAsBytesToAFile) {
  if (!windows_target()) GTEST_SKIP() << "the console's wide text is Windows's";
  // A pilot whose name has an accented letter, as the registry gives it
  // (REGEDIT4: single bytes of the code page).
  std::string reg = read("registry.reg");
  reg.replace(0, reg.find("\r\n"), "REGEDIT4");
  std::size_t at;
  while ((at = reg.find("\"LastPlayer\"=\"Ann\"")) != std::string::npos) {
    reg.replace(at, 18, "\"LastPlayer\"=\"Ren\xE9\"");
  }
  write("registry.reg", reg);
  for (const char* folder : {"Docs/Aerlon/Pilots/", "Docs/Aerlon3/Pilots/"}) {
    write(std::string(folder) + "Ren\xC3\xA9/controls.ini",
          read(std::string(folder) + "Ann/controls.ini"));
  }
  ASSERT_EQ(run("C.UTF-8"), 0) << console_;
  EXPECT_NE(console_.find("player Ren\xE9\n"), std::string::npos);  // bytes to a file
  EXPECT_EQ(console_.find("Ren\xC3\xA9"), std::string::npos);

  RunOptions terminal;
  terminal.on_a_terminal = true;
  ASSERT_EQ(run("C.UTF-8", {}, "no\n", terminal), 0) << console_;
  // The console got the letter é, which the terminal shows in its UTF-8.
  EXPECT_NE(console_.find("player Ren\xC3\xA9"), std::string::npos) << console_;
}

TEST_F(Tavlet, AReportOpenInAnotherProgram) {
  if (!windows_target()) GTEST_SKIP() << "files held by other programs are Windows's";
  write("work/SCN_AZERTY_FR.txt", "30=Q\r\n");
  write("work/Controls.csv", "open in a spreadsheet\r\n");
  for (const char* lang : {"en_US.UTF-8", "fr_FR.UTF-8"}) {
    // As Excel holds a CSV: others may read it, not write it.
    WindowsHelper spreadsheet("hold_file", {"Controls.csv", "write", "held.txt", "release.txt"},
                              dir_.file("work"));
    ASSERT_TRUE(wait_for_file(dir_.file("work/held.txt")));
    EXPECT_EQ(run(lang), 1) << console_;
    write("work/release.txt", "");
    EXPECT_EQ(spreadsheet.wait(), 0);
    fs::remove(dir_.file("work/held.txt"));
    fs::remove(dir_.file("work/release.txt"));
  }
  EXPECT_EQ(read("dialogs.log"),
            "box|error|Tavlet (beta)|Output file : Controls.csv\\nError opening\\n"
            "The file is open in another program: close it first.\r\n"
            "box|error|Tavlet (beta)|Fichier de sortie : Controls.csv\\nOuverture impossible\\n"
            "Le fichier est ouvert dans un autre programme : fermez-le d'abord.\r\n");
  EXPECT_EQ(read("work/Controls.csv"), "open in a spreadsheet\r\n");
}

// Every pilot's Windows: other code pages and regions, a prompt started
// elsewhere, files as pilots keep them.

namespace {

// The registry export as the registry editor writes it: UTF-16LE, here with
// the last pilot `pilot` (UTF-8) in both versions.
std::string utf16_export(std::string reg, const std::string& pilot) {
  std::size_t at;
  while ((at = reg.find("\"LastPlayer\"=\"Ann\"")) != std::string::npos) {
    reg.replace(at, 18, "\"LastPlayer\"=\"" + pilot + "\"");
  }
  std::string out = "\xFF\xFE";
  for (char16_t u : utf8_to_utf16(reg)) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

}  // namespace

TEST_F(Tavlet, APolishPilotsNameKeepsItsLetters) {
  // Łukasz on a Central European Windows (code page 1250): the reports hold
  // the code page's byte, the page the letter itself.
  write("registry.reg", utf16_export(read("registry.reg"), "\xC5\x81ukasz"));
  const std::string on_disk = windows_target() ? "\xC5\x81ukasz" : "\xA3ukasz";
  for (const char* folder : {"Docs/Aerlon/Pilots/", "Docs/Aerlon3/Pilots/"}) {
    write(folder + on_disk + "/controls.ini", read(std::string(folder) + "Ann/controls.ini"));
  }
  extra_env_ = {{"MALVET_CODEPAGE", "1250"}};
  ASSERT_EQ(run("pl_PL.UTF-8"), 0) << console_;
  EXPECT_NE(
      read("work/Controls.txt").find("\r\n..\\Docs\\Aerlon\\Pilots\\\xA3ukasz\\controls.ini\r\n"),
      std::string::npos);
  std::string page = read("work/Controls.html");
  EXPECT_NE(page.find(">..\\Docs\\Aerlon3\\Pilots\\\xC5\x81ukasz\\controls.ini</p>"),
            std::string::npos);
  EXPECT_EQ(page.find("\xC2\xA3ukasz"), std::string::npos);  // never "£ukasz"
}

TEST_F(Tavlet, ANameWithLettersTheCodePageLacksSaysSo) {
  // Jiří on a Western European Windows: "ř" is not in its code page.
  write("registry.reg", utf16_export(read("registry.reg"), "Ji\xC5\x99\xC3\xAD"));
  write("work/SCN_AZERTY_FR.txt", read("work/SCN_QWERTY.txt"));
  for (const char* lang : {"en_US.UTF-8", "fr_FR.UTF-8"}) EXPECT_EQ(run(lang), 1) << lang;
  EXPECT_EQ(
      read("dialogs.log"),
      "box|error|Tavlet (beta)|..\\Docs\\Aerlon\\Pilots\\Ji?\xED\\controls.ini\\nnot found\\n"
      "A file or folder name has letters that this Windows' code page can't hold: see the "
      "guide.\r\n"
      "box|error|Tavlet (beta)|..\\Docs\\Aerlon\\Pilots\\Ji?\xED\\controls.ini\\npas trouv\xE9"
      "\\nUn nom de fichier ou de dossier a des lettres que la page de code de ce Windows "
      "ne peut pas repr\xE9senter : voir le guide.\r\n");
}

TEST_F(Tavlet, AGermanSpreadsheetSplitsOnItsOwnSeparator) {
  // The stand-in's region; Wine takes Germany's from the locale.
  extra_env_ = {{"MALVET_LIST_SEPARATOR", ";"}};
  write("joysticks.txt", "");
  ASSERT_EQ(run("de_DE.UTF-8"), 0) << console_;
  std::string csv = read("work/Controls.csv");
  EXPECT_NE(csv.find("\r\n\"Control\";\"Button/Axis/Key\";\"Device\";\r\n"), std::string::npos);
  EXPECT_NE(csv.find("\r\n\"Pause\";\"Space\";\"Keyboard\";\r\n"), std::string::npos);
  EXPECT_NE(csv.find("\r\n\"Aerlon 2 and 3 assignment differences\";;\r\n"), std::string::npos);
  EXPECT_EQ(csv.find("\",\""), std::string::npos);
}

TEST_F(Tavlet, StartedFromAPromptInAnotherFolder) {
  // The program and its tables in their folder; the prompt elsewhere, where
  // the reports and the log go.
  for (const char* table : {"CMD.txt", "CMD_A3.txt", "SCN_QWERTY.txt"}) {
    write(std::string("Tools/Malvet/") + table, read(std::string("work/") + table));
  }
  std::string tavlet = copy_program("Tavlet", dir_.file("Tools/Malvet"));
  fs::create_directories(dir_.file("prompt"));
  write("answers.txt", "no\n");
  ASSERT_EQ(run_malvet("Tavlet", {}, dir_.file("prompt"), dir_.file("registry.reg"),
                       {{"MALVET_JOYSTICKS", dir_.file("joysticks.txt")},
                        {"MALVET_DIALOGS", dir_.file("answers.txt")},
                        {"MALVET_DIALOG_LOG", dir_.file("dialogs.log")},
                        {"LC_ALL", "en_US.UTF-8"}},
                       &console_, {}, tavlet),
            0)
      << console_;
  EXPECT_NE(read("prompt/Controls.txt").find(txt("Pause", "Space", "Keyboard")), std::string::npos);
  EXPECT_EQ(files_starting_with(dir_.file("prompt"), "Tavlet_").size(), 1u);
  EXPECT_FALSE(fs::exists(dir_.file("Tools/Malvet/Controls.txt")));
  EXPECT_NE(console_.find("\\Tools\\Malvet\\CMD.txt\n"), std::string::npos) << console_;
  EXPECT_EQ(read("dialogs.log"), question_en);
}
